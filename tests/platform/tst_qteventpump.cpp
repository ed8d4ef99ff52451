#include "platform/qt/qteventpump.h"
#include "platform/qt/systemclock.h"
#include "platform/wait.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

// These run on the real clock, so they check only what cannot depend on
// the machine's speed: order of events, early ends, and lower bounds.
// A pump that ignored requestEnd() would sit in an hour-long wait and be
// stopped by the test function time-out.
class TestQtEventPump : public QObject
{
    Q_OBJECT

private slots:
    void zeroHandlesPendingEvents();
    void requestEndStopsNestedWaits();
    void waitsAfterEndReturnAtOnce();
    void waitSecondsNeverEndsEarly();
    void systemClockAgreesWithNow();
};

void TestQtEventPump::zeroHandlesPendingEvents()
{
    platform::QtEventPump pump;
    bool ran = false;
    QMetaObject::invokeMethod(this, [&] { ran = true; }, Qt::QueuedConnection);
    pump.runFor(0);
    QVERIFY(ran);
    QVERIFY(!pump.ending());
}

void TestQtEventPump::requestEndStopsNestedWaits()
{
    platform::QtEventPump pump;
    bool innerReturned = false;
    int ticks = 0;
    QTimer timer; // timers fire during a wait
    timer.setInterval(1);
    connect(&timer, &QTimer::timeout, this, [&] {
        if (++ticks == 3)
            pump.requestEnd();
    });
    QTimer::singleShot(0, this, [&] {
        timer.start();
        pump.runFor(3600); // a handler that waits inside the outer wait
        innerReturned = true;
    });
    pump.runFor(3600);
    QVERIFY(innerReturned);
    QVERIFY(pump.ending());
    QCOMPARE(ticks, 3);
}

void TestQtEventPump::waitsAfterEndReturnAtOnce()
{
    platform::QtEventPump pump;
    pump.requestEnd();
    bool ran = false;
    QTimer timer; // local, so it cannot fire into a later test
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [&] { ran = true; });
    timer.start(0);
    pump.runFor(3600);
    QVERIFY(pump.ending());
    QVERIFY(!ran); // returned without running the loop at all
}

void TestQtEventPump::waitSecondsNeverEndsEarly()
{
    platform::SystemClock clock;
    platform::QtEventPump pump;
    QElapsedTimer elapsed;
    elapsed.start();
    QVERIFY(platform::waitSeconds(0.05f, clock, pump));
    // The clock counts whole milliseconds; allow for that rounding only.
    QVERIFY2(elapsed.elapsed() >= 48, qPrintable(QString::number(elapsed.elapsed())));
}

void TestQtEventPump::systemClockAgreesWithNow()
{
    platform::SystemClock clock;
    const QDateTime before = QDateTime::currentDateTime();
    const double seconds = clock.secondsSinceMidnight();
    const QDateTime now = clock.now();
    QVERIFY(now >= before);
    QVERIFY(seconds >= 0.0 && seconds < 86400.0);
    if (before.date() == now.date()) {
        const double lower = before.time().msecsSinceStartOfDay() / 1000.0;
        const double upper = now.time().msecsSinceStartOfDay() / 1000.0;
        QVERIFY(seconds >= lower && seconds <= upper);
    }
}

QTEST_GUILESS_MAIN(TestQtEventPump)
#include "tst_qteventpump.moc"
