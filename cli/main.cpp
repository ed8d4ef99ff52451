// meterlink-cli: live readings and the meter's logger memory from the
// command line, on the logic libraries of the windowed program and without
// a display. `meterlink-cli --help` lists the options.

#include "cli/liverun.h"
#include "cli/livesource.h"
#include "cli/loggercommands.h"
#include "cli/mqttlink.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/ports.h"
#include "cli/signalwatcher.h"
#include "cli/statsreport.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/qtportlister.h"
#include "platform/qt/systemclock.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>

namespace {

void printOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

int runLive(const cli::Options &options, platform::SerialPort &port, const platform::Clock &clock,
            platform::QtEventPump &pump, cli::SignalWatcher &watcher)
{
    cli::LiveWriter writer;
    if (!writer.open(options.format, options.outputFile)) {
        cli::printError(writer.errorText());
        return 1;
    }
    cli::LiveSource source({port, clock, pump});
    cli::LiveRun run(source, writer, options.limits, port.deviceName());
    int status = 0;
    const auto end = [&](int exitStatus) {
        status = exitStatus;
        pump.requestEnd(); // a reception waiting for the rest of a frame returns at once
        QCoreApplication::exit(exitStatus);
    };
    std::unique_ptr<cli::MqttLink> mqtt;
    if (options.mqtt) {
        mqtt = std::make_unique<cli::MqttLink>(*options.mqtt, clock, run);
        QObject::connect(mqtt.get(), &cli::MqttLink::done, end);
    }
    QObject::connect(&run, &cli::LiveRun::finished, [&](int exitStatus) {
        if (mqtt)
            mqtt->finish(exitStatus);
        else
            end(exitStatus);
    });
    QObject::connect(&watcher, &cli::SignalWatcher::received, &run, &cli::LiveRun::stop);
    if (mqtt)
        mqtt->start();
    cli::LiveStatistics stats;
    if (options.stats)
        QObject::connect(&run, &cli::LiveRun::readingTaken, &run,
                         [&stats](const common::MeterReading &reading, const QDateTime &time) {
                             stats.take(reading, time);
                         });
    run.start();
    QCoreApplication::exec();
    if (options.stats)
        cli::printStatistics(stats.result());
    return status;
}

int runLogger(const cli::Options &options, platform::SerialPort &port, const platform::Clock &clock,
              platform::QtEventPump &pump, cli::SignalWatcher &watcher)
{
    bool interrupted = false;
    QObject::connect(&watcher, &cli::SignalWatcher::received, [&] {
        interrupted = true;
        pump.requestEnd();
    });
    // The meter streams from the start, as it does for the windows.
    port.read(0);
    port.send(QByteArrayLiteral(" "));
    const int status = cli::LoggerCommands({port, clock, pump}).run(options);
    if (interrupted) {
        cli::printError(QStringLiteral("interrupted"));
        return 1;
    }
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("meterlink-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(METERLINK_VERSION));

    const auto parsed = cli::parseOptions(QCoreApplication::arguments().mid(1));
    if (const auto *error = std::get_if<cli::UsageError>(&parsed)) {
        cli::printError(error->message);
        return 2;
    }
    const cli::Options &options = std::get<cli::Options>(parsed);
    if (options.help) {
        printOut(cli::helpText());
        return 0;
    }
    if (options.version) {
        printOut(QStringLiteral("meterlink-cli %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    if (options.action == cli::Action::ListPorts) {
        printOut(cli::portListing(platform::QtPortLister()));
        return 0;
    }

    cli::SignalWatcher watcher;
    platform::SystemClock clock;
    platform::QtEventPump pump;
    QString errorText;
    const auto port = cli::openPort(cli::deviceToUse(options.port), clock, &errorText);
    if (!port) {
        cli::printError(errorText);
        return 1;
    }
    const int status = options.action == cli::Action::Live
                           ? runLive(options, *port, clock, pump, watcher)
                           : runLogger(options, *port, clock, pump, watcher);
    port->close();
    return status;
}
