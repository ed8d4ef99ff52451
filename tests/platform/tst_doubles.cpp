#include "support/testplatform.h"

#include <QPainter>
#include <QTest>

using namespace testsupport;

// The scripted doubles every other test stands on: the behaviour those
// tests cannot see for themselves (runaway loops, surprises, a closed
// port). The scripted clock's midnight is covered by tst_wait.
class TestDoubles : public QObject
{
    Q_OBJECT

private slots:
    void pumpHooksAndEvents();
    void pumpStopsEndlessLoop();
    void portCarriesOnlyWhileOpen();
    void dialogsUnexpectedQuestion();
    void printJobsRecordPagesAndTexts();
};

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
