#include "platform/wait.h"
#include "support/scriptedclock.h"
#include "support/scriptedpump.h"

#include <QTest>

using testsupport::ScriptedClock;
using testsupport::ScriptedPump;

namespace {

// Ends the pump `endingAfter` seconds into the wait (0: before it starts,
// below 0: never).
void endPumpAfter(ScriptedPump &pump, double endingAfter)
{
    if (endingAfter == 0)
        pump.setEnding(true);
    else if (endingAfter > 0)
        pump.after(endingAfter, [&pump] { pump.setEnding(true); });
}

// Steps the time of day by `seconds` 0.1 s into the wait (0: never).
void stepWallClockDuringWait(ScriptedPump &pump, ScriptedClock &clock, double seconds)
{
    if (seconds != 0)
        pump.after(0.1, [&clock, seconds] { clock.stepWallClock(seconds); });
}

void verifyElapsed(const ScriptedPump &pump, double minElapsed, double maxElapsed)
{
    QVERIFY2(pump.advanced() >= minElapsed - 1e-9 && pump.advanced() <= maxElapsed + 1e-9,
             qPrintable(QString::number(pump.advanced(), 'f', 4)));
}

} // namespace

class TestWait : public QObject
{
    Q_OBJECT

private slots:
    void waitSeconds_data();
    void waitSeconds();
    void waitUntil_data();
    void waitUntil();
};

void TestWait::waitSeconds_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<float>("seconds");
    QTest::addColumn<double>("wallStep");
    QTest::addColumn<double>("endingAfter");
    QTest::addColumn<bool>("completed");
    QTest::addColumn<double>("minElapsed");
    QTest::addColumn<double>("maxElapsed"); // within one pump step of its end

    QTest::newRow("half second at noon") << 43200.0 << 0.5f << 0.0 << -1.0 << true << 0.5 << 0.51;
    QTest::newRow("zero seconds: one short step") << 1000.0 << 0.0f << 0.0 << -1.0 << true << 0.001 << 0.001;
    QTest::newRow("across midnight") << 86399.9 << 0.5f << 0.0 << -1.0 << true << 0.5 << 0.51;
    // Setting the time of day mid-wait neither ends the wait nor stretches it.
    QTest::newRow("clock set back an hour") << 1800.0 << 0.5f << -3600.0 << -1.0 << true << 0.5 << 0.51;
    QTest::newRow("clock set forward an hour") << 43200.0 << 0.5f << 3600.0 << -1.0 << true << 0.5 << 0.51;
    QTest::newRow("program ending stops it") << 1000.0 << 0.5f << 0.0 << 0.2 << false << 0.2 << 0.21;
    QTest::newRow("already ending: no step") << 1000.0 << 10.0f << 0.0 << 0.0 << false << 0.0 << 0.0;
}

void TestWait::waitSeconds()
{
    QFETCH(double, start);
    QFETCH(float, seconds);
    QFETCH(double, wallStep);
    QFETCH(double, endingAfter);
    QFETCH(double, minElapsed);
    QFETCH(double, maxElapsed);

    ScriptedClock clock(start);
    ScriptedPump pump(clock);
    endPumpAfter(pump, endingAfter);
    stepWallClockDuringWait(pump, clock, wallStep);

    QTEST(platform::waitSeconds(seconds, clock, pump), "completed");
    verifyElapsed(pump, minElapsed, maxElapsed);
}

void TestWait::waitUntil_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("readyAfter"); // < 0: never ready
    QTest::addColumn<double>("limit");
    QTest::addColumn<double>("wallStep");
    QTest::addColumn<double>("endingAfter");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<double>("minElapsed");
    QTest::addColumn<double>("maxElapsed");

    QTest::newRow("ready at once") << 1000.0 << 0.0 << 1.0 << 0.0 << -1.0 << true << 0.0 << 0.0;
    QTest::newRow("ready after 0.3 s") << 1000.0 << 0.3 << 1.0 << 0.0 << -1.0 << true << 0.3 << 0.31;
    QTest::newRow("ready too late") << 1000.0 << 0.8 << 0.5 << 0.0 << -1.0 << false << 0.5 << 0.51;
    QTest::newRow("summer time begins: no early time-out")
        << 7199.9 << 0.5 << 1.0 << 3600.0 << -1.0 << true << 0.5 << 0.51;
    QTest::newRow("clock set back: time-out on time")
        << 43200.0 << -1.0 << 0.5 << -60.0 << -1.0 << false << 0.5 << 0.51;
    QTest::newRow("program ending stops it") << 1000.0 << -1.0 << 5.0 << 0.0 << 0.1 << false << 0.1 << 0.11;
}

void TestWait::waitUntil()
{
    QFETCH(double, start);
    QFETCH(double, readyAfter);
    QFETCH(double, limit);
    QFETCH(double, wallStep);
    QFETCH(double, endingAfter);
    QFETCH(double, minElapsed);
    QFETCH(double, maxElapsed);

    ScriptedClock clock(start);
    ScriptedPump pump(clock);
    bool ready = readyAfter == 0.0;
    if (readyAfter > 0)
        pump.after(readyAfter, [&] { ready = true; });
    endPumpAfter(pump, endingAfter);
    stepWallClockDuringWait(pump, clock, wallStep);

    QTEST(platform::waitUntil([&] { return ready; }, limit, clock, pump), "expected");
    verifyElapsed(pump, minElapsed, maxElapsed);
}

QTEST_GUILESS_MAIN(TestWait)
#include "tst_wait.moc"
