#pragma once

#include "cli/options.h"
#include "cli/stderrdialogs.h"
#include "common/sharedvalues.h"
#include "logger/commandbuffer.h"
#include "logger/exchange.h"
#include "logger/loggerrequests.h"

#include <QByteArray>
#include <QStringList>

namespace cli {

// The logger actions, each through the shared exchange with the bounds and
// messages of the logger window. Each returns the exit status; results go
// to standard output (or the file of --download), failures to standard
// error through the dialogs.
class LoggerCommands
{
public:
    struct Parts
    {
        platform::SerialPort &port;
        const platform::Clock &clock;
        platform::EventPump &pump;
    };

    explicit LoggerCommands(const Parts &parts);

    int run(const Options &options);

private:
    int status();
    int listSets();
    int download(const Options &options);
    int getClock();
    int setClock();
    int writeSetting(bool idCode, int value);
    int setMemoryIcs(int ics);

    // Number of sets and their directory, as TIME OF RECORDING reads them.
    std::optional<QByteArray> readDirectory(int &setCount);
    int endOfWrite();

    Parts parts_;
    StderrDialogs dialogs_;
    NoPolling polling_;
    logger::Exchange exchange_;
    logger::LoggerCommandBuffer buffer_;
    logger::LoggerRequests requests_;
    common::SharedValues shared_;
};

// Writes the downloaded rows in `format` to standard output, or whole to
// `fileName` (nothing when any of it fails). False with the reason.
bool writeDownload(const QStringList &rows, Format format, const QString &fileName,
                   QString *errorText);

} // namespace cli
