#pragma once

// The whole program against the emulated meter over a pseudo-terminal,
// with a LineTap on the cable, for the fault-injection tests. Usage:
//
//   faulttest::FaultRig rig;                       // meter shows 01.234 V
//   QVERIFY2(rig.start(), qPrintable(rig.error()));
//   rig.tap.pull(); ...  rig.tap.plugIn();
//   const QString problem = faulttest::checkRecovered(rig);
//   QVERIFY2(problem.isEmpty(), qPrintable(problem));
//
// Every wait is bounded (QTest::qWaitFor); nothing sleeps for a fixed time.

#include "app/application.h"
#include "emulator/meteremulator.h"
#include "emulator/ptyserver.h"
#include "faults/linetap.h"
#include "support/scripteddialogs.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace live {
class PANEL;
}
namespace logger {
class LOGGER;
}

namespace faulttest {

// The event loop's longest pause while the test runs: a program that
// blocks (instead of letting events run while it waits) shows as a long
// gap between two ticks of a 20 ms timer.
class Heartbeat : public QObject
{
public:
    Heartbeat();
    double longestGapSeconds() const { return double(longestMs_) / 1000.0; }

private:
    QTimer timer_;
    QElapsedTimer sinceLast_;
    qint64 longestMs_ = 0;
};

// What the panel showed while the test waited: the link state may come and
// go while the test is inside a handler that lets events run (a logger
// exchange), so the captions are sampled by a timer, and what is to happen
// once the link counts as lost (the cable plugged back in) is done from
// that timer too.
class PanelWatch : public QObject
{
public:
    explicit PanelWatch(const live::PANEL &panel);
    bool sawNoCom() const { return sawNoCom_; }
    bool memoryEnabledWhileLost() const { return memoryEnabledWhileLost_; }
    // Runs `action` once, as soon as " NO COM " shows.
    void onNoCom(std::function<void()> action) { onNoCom_ = std::move(action); }

private:
    QTimer timer_;
    bool sawNoCom_ = false;
    bool memoryEnabledWhileLost_ = false;
    std::function<void()> onNoCom_;
};

class FaultRig
{
public:
    // The meter's live display at start: "50 V" DC auto, 01.234.
    static emulator::LiveSettings defaultLive();

    explicit FaultRig(const emulator::LiveSettings &live = defaultLive());
    ~FaultRig();

    // Serves the meter, puts the tap on the line and starts the program on
    // COM1; false with error(). Returns once the first reading is shown.
    bool start();
    QString error() const { return error_; }

    live::PANEL &panel() const;
    // The logger window, once the logger feature has made it.
    logger::LOGGER *loggerWindow() const;
    QString tempPath(const QString &name) const { return dir_.filePath(name); }

    emulator::MeterEmulator meter;
    emulator::PtyServer server{meter};
    LineTap tap;
    testsupport::ScriptedDialogs dialogs;
    Heartbeat heartbeat;
    std::unique_ptr<app::Application> program;

private:
    QTemporaryDir dir_;
    QString error_;
};

// Waits (bounded) until `ready` holds; false on time-out.
bool waitFor(const std::function<bool()> &ready, int timeoutMs);

// How much of the program checkRecovered() puts to work.
enum class Recovery {
    Live,    // the live reading and the panel's buttons
    Logger,  // and an exchange with the meter's logger too
};

// The program is back to normal after a fault: the link shows "Com1",
// the meter's next reading (set here to a new value) is shown, Timer6 runs,
// the view and memory buttons are enabled and work (RESET takes the
// reading; with Recovery::Logger, MEMORY opens the logger window, whose
// status read over the line succeeds, and closing it gives the line back
// to the live reading), and the event loop never stopped for long.
// Returns what is wrong.
QString checkRecovered(FaultRig &rig, Recovery recovery = Recovery::Logger);

} // namespace faulttest
