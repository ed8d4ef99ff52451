#include "support/testplatform.h"

#include <QPainter>
#include <QTest>

using namespace testsupport;

// The scripted doubles every other test stands on: the behaviour those
// tests cannot see for themselves (midnight, runaway loops, surprises).
class TestDoubles : public QObject
{
    Q_OBJECT

private slots:
    void clockAdvance_data();
    void clockAdvance();
    void pumpHooksAndEvents();
    void pumpStopsEndlessLoop();
    void portCarriesOnlyWhileOpen();
    void dialogsUnexpectedQuestion();
    void printJobsRecordPagesAndTexts();
};

void TestDoubles::clockAdvance_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("advance");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("days");

    QTest::newRow("to midnight exactly") << 86399.0 << 1.0 << 0.0 << 1;
    QTest::newRow("two days and a bit") << 100.0 << 2 * 86400.0 + 5 << 105.0 << 2;
    QTest::newRow("negative ignored") << 500.0 << -3.0 << 500.0 << 0;
}

void TestDoubles::clockAdvance()
{
    QFETCH(double, start);
    QFETCH(double, advance);
    QFETCH(double, expected);
    QFETCH(int, days);

    const QDate date(2023, 12, 31);
    ScriptedClock clock(start, date);
    clock.advance(advance);
    QVERIFY(qAbs(clock.secondsSinceMidnight() - expected) < 1e-9);
    QCOMPARE(clock.now().date(), date.addDays(days));
    QCOMPARE(clock.now().time().msecsSinceStartOfDay(), qRound(expected * 1000));
}

void TestDoubles::pumpHooksAndEvents()
{
    ScriptedClock clock(10.0);
    ScriptedPump pump(clock);
    pump.setStep(0.1);
    QList<double> seen;
    pump.onStep([&](double now) { seen.append(now); });
    int atFired = 0, afterFired = 0;
    pump.at(10.25, [&] { ++atFired; });
    pump.after(0.35, [&] { ++afterFired; });
    bool queuedRan = false;
    QMetaObject::invokeMethod(this, [&] { queuedRan = true; }, Qt::QueuedConnection);

    for (int i = 0; i < 5; ++i)
        pump.runFor(1.0); // one step each
    QVERIFY(queuedRan);
    QCOMPARE(seen.size(), 5);
    QCOMPARE(atFired + afterFired, 2); // each once

    pump.setEnding(true);
    pump.runFor(1.0);
    QVERIFY(qAbs(clock.secondsSinceMidnight() - 10.5) < 1e-9); // ending: time stands
}

void TestDoubles::pumpStopsEndlessLoop()
{
    ScriptedClock clock;
    ScriptedPump pump(clock);
    pump.setStepLimit(100);
    QEXPECT_FAIL("", "the pump fails a test whose loop never ends", Continue);
    while (!pump.ending())
        pump.runFor(0);
    QVERIFY(pump.limitHit());
    QCOMPARE(pump.steps(), 101);
}

void TestDoubles::portCarriesOnlyWhileOpen()
{
    ScriptedPort port;
    port.feed("abc");
    QCOMPARE(port.bytesWaiting(), 0);
    port.send(" ");
    QVERIFY(port.sent().isEmpty());

    QVERIFY(port.open());
    QCOMPARE(port.read(1), QByteArray("a")); // fed bytes wait for the open
    port.setResponder([&](const QByteArray &sent) {
        if (sent == "A")
            port.feed("reply");
    });
    port.send("A");
    QCOMPARE(port.read(0), QByteArray("bcreply"));
    port.close();
    QCOMPARE(port.read(0), QByteArray());
}

void TestDoubles::dialogsUnexpectedQuestion()
{
    ScriptedDialogs dialogs;
    QEXPECT_FAIL("", "a question nobody scripted fails the test", Continue);
    const QString answer = dialogs.input("Who asked?");
    QVERIFY(answer.isEmpty());
    QCOMPARE(dialogs.prompts().size(), 1);
}

void TestDoubles::printJobsRecordPagesAndTexts()
{
    TestPlatform test;
    auto job = test.platform().makePrinter();
    QPainter *painter = job->begin("LIST");
    QVERIFY(painter);
    painter->drawText(QPointF(50, 100), "REC    DATE");
    painter->translate(0, 20);
    QVERIFY(job->newPage());
    painter->drawText(QPointF(50, 100), "2      01-15-2024");
    QVERIFY(job->end());

    const RecordingPrinter &printer = *test.lastPrintJob();
    QCOMPARE(printer.pageTexts(1), QStringList{"2      01-15-2024"});
    QCOMPARE(printer.texts().at(1).position, QPointF(50, 120)); // transform applied
    // The text is on the image too, and only where it was drawn; the new
    // page starts blank.
    auto inkIn = [](const QImage &image, QRect area) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    return true;
        return false;
    };
    QVERIFY(inkIn(printer.pages().at(0), QRect(50, 85, 120, 20)));
    QVERIFY(!inkIn(printer.pages().at(1), QRect(50, 80, 120, 22)));
    QVERIFY(inkIn(printer.pages().at(1), QRect(50, 105, 120, 20)));
}

QTEST_MAIN(TestDoubles)
#include "tst_doubles.moc"
