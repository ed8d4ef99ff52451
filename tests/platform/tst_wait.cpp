#include "platform/wait.h"
#include "support/scriptedclock.h"
#include "support/scriptedpump.h"

#include <QTest>

using testsupport::ScriptedClock;
using testsupport::ScriptedPump;

class TestWait : public QObject
{
    Q_OBJECT

private slots:
    void waitSecondsEnds_data();
    void waitSecondsEnds();
    void waitSecondsStopsWhenEnding();
    void waitSecondsReturnsAtOnceWhenAlreadyEnding();
    void waitUntil_data();
    void waitUntil();
    void waitUntilStopsWhenEnding();
    void elapsedSince_data();
    void elapsedSince();
};

void TestWait::waitSecondsEnds_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<float>("seconds");
    QTest::addColumn<double>("endsAfter"); // clock reading the wait must pass
    QTest::addColumn<int>("days");         // date change expected

    QTest::newRow("half second at noon") << 43200.0 << 0.5f << 43200.5 << 0;
    QTest::newRow("one polling wait") << 1000.0 << 0.05f << 1000.05 << 0;
    QTest::newRow("zero seconds") << 1000.0 << 0.0f << 1000.0 << 0;
    QTest::newRow("across midnight") << 86399.9 << 0.5f << 0.5 << 1;
    QTest::newRow("right after midnight") << 0.0 << 0.5f << 0.5 << 0;
    QTest::newRow("long wait") << 500.0 << 3.0f << 503.0 << 0;
}

void TestWait::waitSecondsEnds()
{
    QFETCH(double, start);
    QFETCH(float, seconds);
    QFETCH(double, endsAfter);
    QFETCH(int, days);

    ScriptedClock clock(start);
    const QDate startDate = clock.date();
    ScriptedPump pump(clock);
    pump.setStep(0.01);

    QVERIFY(platform::waitSeconds(seconds, clock, pump));
    const double now = clock.secondsSinceMidnight();
    QVERIFY2(now > endsAfter, qPrintable(QString::number(now, 'f', 4)));
    // Ends within one pump step of its end, not a whole wait later.
    QVERIFY2(now <= endsAfter + pump.step() + 1e-9, qPrintable(QString::number(now, 'f', 4)));
    QCOMPARE(clock.date(), startDate.addDays(days));
}

void TestWait::waitSecondsStopsWhenEnding()
{
    ScriptedClock clock(1000.0);
    ScriptedPump pump(clock);
    pump.at(1000.2, [&] { pump.setEnding(true); });

    QVERIFY(!platform::waitSeconds(0.5f, clock, pump));
    QVERIFY(clock.secondsSinceMidnight() < 1000.5);
    QVERIFY(clock.secondsSinceMidnight() >= 1000.2);
}

void TestWait::waitSecondsReturnsAtOnceWhenAlreadyEnding()
{
    ScriptedClock clock(1000.0);
    ScriptedPump pump(clock);
    pump.setEnding(true);

    QVERIFY(!platform::waitSeconds(10.0f, clock, pump));
    QCOMPARE(pump.steps(), 0);
    QCOMPARE(clock.secondsSinceMidnight(), 1000.0);
}

void TestWait::waitUntil_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("readyAfter"); // < 0: never ready
    QTest::addColumn<double>("limit");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<double>("minElapsed");
    QTest::addColumn<double>("maxElapsed");

    QTest::newRow("ready at once") << 1000.0 << 0.0 << 1.0 << true << 0.0 << 0.0;
    QTest::newRow("ready after 0.3 s") << 1000.0 << 0.3 << 1.0 << true << 0.3 << 0.31;
    QTest::newRow("never ready: time-out") << 1000.0 << -1.0 << 0.5 << false << 0.5 << 0.51;
    QTest::newRow("ready too late") << 1000.0 << 0.8 << 0.5 << false << 0.5 << 0.51;
    QTest::newRow("ready across midnight") << 86399.8 << 0.5 << 1.0 << true << 0.5 << 0.51;
    QTest::newRow("time-out across midnight") << 86399.8 << -1.0 << 0.5 << false << 0.5 << 0.51;
}

void TestWait::waitUntil()
{
    QFETCH(double, start);
    QFETCH(double, readyAfter);
    QFETCH(double, limit);
    QFETCH(bool, expected);
    QFETCH(double, minElapsed);
    QFETCH(double, maxElapsed);

    ScriptedClock clock(start);
    ScriptedPump pump(clock);
    bool ready = readyAfter == 0.0;
    if (readyAfter > 0)
        pump.after(readyAfter, [&] { ready = true; });

    const bool result = platform::waitUntil([&] { return ready; }, limit, clock, pump);
    QCOMPARE(result, expected);
    QVERIFY2(pump.advanced() >= minElapsed - 1e-9, qPrintable(QString::number(pump.advanced())));
    QVERIFY2(pump.advanced() <= maxElapsed + 1e-9, qPrintable(QString::number(pump.advanced())));
}

void TestWait::waitUntilStopsWhenEnding()
{
    ScriptedClock clock(1000.0);
    ScriptedPump pump(clock);
    pump.after(0.1, [&] { pump.setEnding(true); });

    QVERIFY(!platform::waitUntil([] { return false; }, 5.0, clock, pump));
    QVERIFY(pump.advanced() < 0.2);
}

void TestWait::elapsedSince_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("expected");

    QTest::newRow("same day") << 10.0 << 20.5 << 10.5;
    QTest::newRow("no time") << 300.0 << 300.0 << 0.0;
    QTest::newRow("across midnight") << 86399.0 << 1.0 << 2.0;
    QTest::newRow("from midnight") << 0.0 << 86399.5 << 86399.5;
}

void TestWait::elapsedSince()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, expected);
    QCOMPARE(platform::elapsedSince(from, to), expected);
}

QTEST_GUILESS_MAIN(TestWait)
#include "tst_wait.moc"
