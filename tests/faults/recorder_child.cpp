// recorder_child: the program recording from the built-in emulated meter,
// for the test that kills it. Usage:
//
//   recorder_child FILE
//
// Starts the program on the "emulator" device, waits for the first
// reading, chooses FILE with SAVE AS and starts the recording with a tick
// every 20 ms. After each tick that wrote a line it prints "tick N" on
// standard output (N lines written, from 1). Runs until it is killed (or 60 s have passed).

#include "app/application.h"
#include "link/ui/panel.h"
#include "platform/timer.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int tickMs = 20;
constexpr int lifeMs = 60000;
} // namespace

int main(int argc, char **argv)
{
    QApplication qapp(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: recorder_child FILE\n");
        return 2;
    }
    const QString fileName = QString::fromLocal8Bit(argv[1]);
    testsupport::ScriptedDialogs dialogs;
    app::Options options;
    options.com1Device = app::emulatorDevice;
    options.select = 1;
    app::Application program(options, &dialogs);
    program.start();
    live::PANEL *panel = program.panel();
    if (!panel) {
        std::fprintf(stderr, "recorder_child: the panel did not open\n");
        return 1;
    }

    int lines = 0;
    QObject::connect(panel->Timer4, &platform::Timer::tick, panel, [&] {
        // After the recording's own handler, Label1 counts the lines in the
        // file (a tick without a live reading writes none).
        const int shown = panel->Label1->text().trimmed().toInt();
        if (panel->recordingOn && shown != lines) {
            lines = shown;
            std::printf("tick %d\n", lines);
            std::fflush(stdout);
        }
    });
    QTimer waitForReading;
    QObject::connect(&waitForReading, &QTimer::timeout, panel, [&] {
        if (panel->LBLVALUE->text().isEmpty())
            return;
        waitForReading.stop();
        dialogs.queueSaveFile(fileName);
        panel->CMDSAVE->click();
        panel->CMDSTART->click();
        if (!panel->recordingOn) {
            std::fprintf(stderr, "recorder_child: recording did not start: %s\n",
                         qPrintable(dialogs.messageTexts().join(u'|')));
            QCoreApplication::exit(1);
            return;
        }
        panel->Timer4->setInterval(tickMs);
    });
    waitForReading.start(10);
    QTimer::singleShot(lifeMs, &qapp, [] { QCoreApplication::exit(3); });
    return qapp.exec();
}
