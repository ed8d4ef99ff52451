// meter-emulator: serves an emulated meter on a pseudo-terminal and prints
// the device path to open, e.g.
//
//   meter-emulator --link /tmp/meter --code 42 --status 19
//
// Stops on SIGINT or SIGTERM, removing the link.

#include "emulator/meteremulator.h"
#include "emulator/ptyserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}

// Quits the event loop on SIGINT/SIGTERM, so that the server cleans up.
void quitOnSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}

bool parseByte(const QString &text, quint8 &byte)
{
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    if (!ok || value > 255)
        return false;
    byte = quint8(value);
    return true;
}

// Applies the options to the meter; on a bad value returns the message.
QString configure(const QCommandLineParser &parser, emulator::MeterEmulator &meter)
{
    emulator::LiveSettings live;
    meter.setFast(parser.isSet("fast"));
    if (parser.isSet("rate")) {
        bool ok = false;
        live.framesPerSecond = parser.value("rate").toDouble(&ok);
        if (!ok || live.framesPerSecond <= 0 || live.framesPerSecond > 100)
            return QStringLiteral("--rate wants a number of frames per second from 0 to 100");
    }
    if (parser.isSet("code") && !parseByte(parser.value("code"), live.code))
        return QStringLiteral("--code wants a hexadecimal byte, e.g. 80");
    if (parser.isSet("status") && !parseByte(parser.value("status"), live.status))
        return QStringLiteral("--status wants a hexadecimal byte, e.g. 18");
    if (parser.isSet("value")) {
        bool ok = false;
        const uint digits = parser.value("value").toUInt(&ok);
        if (!ok || digits > 999999)
            return QStringLiteral("--value wants six decimal digits, 0 to 999999");
        live.fixedDigits = digits;
    }
    meter.setLive(live);
    if (parser.isSet("fault")) {
        const auto kind = emulator::faultFromName(parser.value("fault"));
        if (!kind)
            return QStringLiteral("--fault wants one of: ") + emulator::faultNames().join(", ");
        meter.setFault({*kind});
    }
    if (parser.isSet("memory-code")) {
        bool ok = false;
        const uint code = parser.value("memory-code").toUInt(&ok);
        if (!ok || code > 255)
            return QStringLiteral("--memory-code wants a number 0 to 255");
        emulator::LoggerContent content = emulator::LoggerContent::sample();
        content.memorySizeCode = quint8(code);
        meter.setLogger(content);
    }
    return {};
}

void addOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Emulates the multimeter on a pseudo-terminal and prints the device to open."));
    parser.addHelpOption();
    parser.addOptions({
        {"fast", "Send without 2400-baud pacing."},
        {"rate", "Live frames per second (default 4).", "N"},
        {"code", "Function/range code, hexadecimal (default 80, 500 mV).", "HEX"},
        {"status", "Status byte, hexadecimal (default 18, DC and auto).", "HEX"},
        {"value", "Fixed six-digit reading instead of a slow sine.", "DIGITS"},
        {"fault", "Permanent fault: " + emulator::faultNames().join(", ") + ".", "NAME"},
        {"memory-code", "Memory-size code the logger reports (default 2).", "N"},
        {"link", "Also make PATH a symbolic link to the device.", "PATH"},
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("meter-emulator"));
    QCommandLineParser parser;
    addOptions(parser);
    parser.process(app);

    QTextStream err(stderr);
    emulator::MeterEmulator meter;
    if (const QString problem = configure(parser, meter); !problem.isEmpty()) {
        err << "meter-emulator: " << problem << Qt::endl;
        return 2;
    }
    emulator::PtyServer server(meter);
    if (!server.open()) {
        err << "meter-emulator: " << server.errorText() << Qt::endl;
        return 1;
    }
    if (parser.isSet("link") && !server.makeLink(parser.value("link"))) {
        err << "meter-emulator: " << server.errorText() << Qt::endl;
        return 1;
    }
    std::printf("%s\n", qPrintable(server.slavePath()));
    std::fflush(stdout);
    quitOnSignals(app);
    return app.exec();
}
