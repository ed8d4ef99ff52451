// meter-emulator: serves an emulated meter on a pseudo-terminal and prints
// the device path to open, e.g.
//
//   meter-emulator --link /tmp/meter --code 42 --status 19
//
// Stops on SIGINT or SIGTERM, removing the link.

#include "emulator/commandline.h"
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("meter-emulator"));
    QCommandLineParser parser;
    emulator::addOptions(parser);
    parser.process(app);

    QTextStream err(stderr);
    emulator::MeterEmulator meter;
    if (const QString problem = emulator::configure(parser, meter); !problem.isEmpty()) {
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
    // Before the path is printed: whoever reads it may stop us at once.
    quitOnSignals(app);
    std::printf("%s\n", qPrintable(server.slavePath()));
    std::fflush(stdout);
    return app.exec();
}
