#pragma once

#include "platform/devices.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace app {

// What the command line asks for.
struct Options
{
    // The devices behind COM1 and COM2 for this run; empty: the remembered
    // choice or the detected port.
    QString com1Device;
    QString com2Device;
    // Choose this port at once instead of waiting for a click in SELECTION.
    std::optional<int> select;
};

struct ParsedOptions
{
    Options options;
    QString error;   // set when the command line is wrong
    bool exitNow = false; // --help or --version was answered
};

// Parses the program's arguments (arguments[0] is the program). --help
// prints the usage on stdout.
ParsedOptions parseOptions(const QStringList &arguments);

// The word that maps a port button to the built-in meter emulator.
inline const QString emulatorDevice = platform::emulatorDeviceName;

} // namespace app
