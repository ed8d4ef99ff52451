#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace app {

// What the command line asks for.
struct Options
{
    QString com1Device = QStringLiteral("/dev/ttyS0");
    QString com2Device = QStringLiteral("/dev/ttyS1");
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
inline const QString emulatorDevice = QStringLiteral("emulator");

} // namespace app
