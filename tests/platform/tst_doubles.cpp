#include "support/support.h"

#include <QPainter>
#include <QTest>

using namespace testsupport;

// The scripted doubles are what every other test stands on; these check
// that they behave as documented.
class TestDoubles : public QObject
{
    Q_OBJECT

private slots:
    void clockAdvance_data();
    void clockAdvance();
    void pumpSteps_data();
    void pumpSteps();
    void pumpHooksAndEvents();
    void pumpStopsEndlessLoop();
    void portQueuesAndRecords();
    void portClosedCarriesNothing();
    void portOpenFailure();
    void dialogsAnswerFromQueues();
    void dialogsUnexpectedQuestion();
    void printerRecordsPagesAndTexts();
    void printerRefusesBegin();
    void platformKeepsPrintJobs();
};

void TestDoubles::clockAdvance_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("advance");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("days");

    QTest::newRow("within the day") << 100.0 << 2.5 << 102.5 << 0;
    QTest::newRow("across midnight") << 86399.9 << 0.2 << 0.1 << 1;
    QTest::newRow("to midnight exactly") << 86399.0 << 1.0 << 0.0 << 1;
    QTest::newRow("two days and a bit") << 0.0 << 2 * 86400.0 + 5 << 5.0 << 2;
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
    QVERIFY2(qAbs(clock.secondsSinceMidnight() - expected) < 1e-9,
             qPrintable(QString::number(clock.secondsSinceMidnight(), 'f', 6)));
    QCOMPARE(clock.date(), date.addDays(days));
    QCOMPARE(clock.now().date(), date.addDays(days));
    QCOMPARE(clock.now().time().msecsSinceStartOfDay(), qRound(expected * 1000));
}

void TestDoubles::pumpSteps_data()
{
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("asked");
    QTest::addColumn<double>("advanced");

    QTest::newRow("longer than a step") << 0.01 << 0.5 << 0.01;
    QTest::newRow("shorter than a step") << 0.01 << 0.003 << 0.003;
    QTest::newRow("zero handles events only") << 0.01 << 0.0 << 0.0;
    QTest::newRow("large step") << 1.0 << 0.5 << 0.5;
}

void TestDoubles::pumpSteps()
{
    QFETCH(double, step);
    QFETCH(double, asked);
    QFETCH(double, advanced);

    ScriptedClock clock(1000.0);
    ScriptedPump pump(clock);
    pump.setStep(step);
    pump.runFor(asked);
    QCOMPARE(clock.secondsSinceMidnight(), 1000.0 + advanced);
    QCOMPARE(pump.advanced(), advanced);
    QCOMPARE(pump.steps(), 1);
}

void TestDoubles::pumpHooksAndEvents()
{
    ScriptedClock clock(10.0);
    ScriptedPump pump(clock);
    pump.setStep(0.1);

    QList<double> seen;
    pump.onStep([&](double now) { seen.append(now); });
    int atFired = 0;
    int afterFired = 0;
    pump.at(10.25, [&] { ++atFired; });
    pump.after(0.35, [&] { ++afterFired; });
    bool queuedRan = false;
    QMetaObject::invokeMethod(this, [&] { queuedRan = true; }, Qt::QueuedConnection);

    for (int i = 0; i < 5; ++i)
        pump.runFor(1.0);

    QVERIFY(queuedRan);
    QCOMPARE(seen.size(), 5);
    QVERIFY(qAbs(seen.first() - 10.1) < 1e-9);
    QVERIFY(qAbs(seen.last() - 10.5) < 1e-9);
    QCOMPARE(atFired, 1);
    QCOMPARE(afterFired, 1);

    pump.setEnding(true);
    QVERIFY(pump.ending());
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

void TestDoubles::portQueuesAndRecords()
{
    ScriptedPort port;
    port.setCommPort(2);
    port.setSettings("2400,N,8,1");
    QVERIFY(port.open());
    QCOMPARE(port.commPort(), 2);
    QCOMPARE(port.settings(), QString("2400,N,8,1"));

    port.feed("\x02\x41");
    port.feed("xyz");
    QCOMPARE(port.bytesWaiting(), 5);
    QCOMPARE(port.read(1), QByteArray("\x02"));
    QCOMPARE(port.read(10), QByteArray("\x41xyz"));
    QCOMPARE(port.read(0), QByteArray());
    QCOMPARE(port.readLengths(), (QList<int>{1, 10, 0}));

    port.setResponder([&](const QByteArray &sent) {
        if (sent == "A")
            port.feed("reply");
    });
    port.send(" ");
    port.send("A");
    QCOMPARE(port.sent(), (QByteArrayList{" ", "A"}));
    QCOMPARE(port.sentBytes(), QByteArray(" A"));
    QCOMPARE(port.read(0), QByteArray("reply"));

    QVERIFY(!port.deviceLost());
    port.setDeviceLost(true);
    QVERIFY(port.deviceLost());
}

void TestDoubles::portClosedCarriesNothing()
{
    ScriptedPort port;
    port.feed("abc");
    QCOMPARE(port.bytesWaiting(), 0);
    QCOMPARE(port.read(0), QByteArray());
    port.send(" ");
    QVERIFY(port.sent().isEmpty());
    QCOMPARE(port.droppedSends(), 1);

    QVERIFY(port.open());
    QCOMPARE(port.bytesWaiting(), 3); // fed bytes wait for the open
    port.close();
    QVERIFY(!port.isOpen());
    QCOMPARE(port.pending(), QByteArray("abc"));
}

void TestDoubles::portOpenFailure()
{
    ScriptedPort port;
    port.failOpenWith("Cannot open serial port /dev/ttyS0: Permission denied.");
    QVERIFY(!port.open());
    QVERIFY(!port.isOpen());
    QCOMPARE(port.errorText(), QString("Cannot open serial port /dev/ttyS0: Permission denied."));
    port.failOpenWith({});
    QVERIFY(port.open());
    QVERIFY(port.errorText().isEmpty());
    QCOMPARE(port.openCalls(), 2);
}

void TestDoubles::dialogsAnswerFromQueues()
{
    ScriptedDialogs dialogs;
    dialogs.queueInput("5");
    dialogs.queueInput({});
    dialogs.queueOpenFile("/data/run1.dat");
    dialogs.queueSaveCancel();

    dialogs.message("Invalid", {}, platform::MessageIcon::Critical);
    QCOMPARE(dialogs.input("Sampling time", "INPUT", "2"), QString("5"));
    QCOMPARE(dialogs.input("Again"), QString());
    const auto opened = dialogs.openFile("*.dat", "Data files (*.dat)");
    QVERIFY(!opened.cancelled);
    QCOMPARE(opened.fullName, QString("/data/run1.dat"));
    QCOMPARE(opened.fileTitle, QString("run1.dat"));
    QVERIFY(dialogs.saveFile("x.dat", {}).cancelled);

    QCOMPARE(dialogs.messages().size(), 1);
    QCOMPARE(dialogs.messages().first().icon, platform::MessageIcon::Critical);
    QCOMPARE(dialogs.messageTexts(), QStringList{"Invalid"});
    QCOMPARE(dialogs.prompts().size(), 2);
    QCOMPARE(dialogs.prompts().first().defaultAnswer, QString("2"));
    QCOMPARE(dialogs.fileRequests().size(), 2);
    QCOMPARE(dialogs.fileRequests().first().filter, QString("Data files (*.dat)"));
    QCOMPARE(dialogs.unusedAnswers(), 0);
    QVERIFY(!dialogs.unexpectedQuestion());
}

void TestDoubles::dialogsUnexpectedQuestion()
{
    ScriptedDialogs dialogs;
    QEXPECT_FAIL("", "a question nobody scripted fails the test", Continue);
    const QString answer = dialogs.input("Who asked?");
    QVERIFY(answer.isEmpty());
    QVERIFY(dialogs.unexpectedQuestion());
    QCOMPARE(dialogs.prompts().size(), 1);
}

void TestDoubles::printerRecordsPagesAndTexts()
{
    RecordingPrinter printer;
    QCOMPARE(printer.pageCount(), 0);
    QPainter *painter = printer.begin("LIST");
    QVERIFY(painter);
    QCOMPARE(printer.resolution(), 100);
    QCOMPARE(printer.pageRect(), QRectF(0, 0, 827, 1169));

    painter->setFont(QFont("Courier", 10));
    painter->drawText(QPointF(50, 100), "REC    DATE");
    painter->translate(0, 20);
    painter->drawText(QPointF(50, 100), "1      01-15-2024");
    QVERIFY(printer.newPage());
    painter->drawText(QPointF(50, 100), "2      01-15-2024");
    QVERIFY(printer.end());
    QVERIFY(printer.ended());

    QCOMPARE(printer.pageCount(), 2);
    QCOMPARE(printer.pageTexts(0), (QStringList{"REC    DATE", "1      01-15-2024"}));
    QCOMPARE(printer.pageTexts(1), QStringList{"2      01-15-2024"});
    QCOMPARE(printer.texts().at(1).position, QPointF(50, 120)); // transform applied
    QCOMPARE(printer.texts().at(0).font.family(), QString("Courier"));

    // The text is on the image too, and only where it was drawn.
    const QImage first = printer.pages().at(0);
    QCOMPARE(first.size(), QSize(827, 1169));
    auto inkIn = [](const QImage &image, QRect area) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    return true;
        return false;
    };
    QVERIFY(inkIn(first, QRect(50, 85, 120, 40)));
    QVERIFY(!inkIn(first, QRect(400, 600, 100, 100)));
    // The new page starts blank: the first page's top line is not on it.
    QVERIFY(!inkIn(printer.pages().at(1), QRect(50, 80, 120, 22)));
    QVERIFY(inkIn(printer.pages().at(1), QRect(50, 105, 120, 20)));
}

void TestDoubles::printerRefusesBegin()
{
    RecordingPrinter printer;
    printer.refuseBegin("Printer out of paper");
    QVERIFY(!printer.begin("LIST"));
    QCOMPARE(printer.errorText(), QString("Printer out of paper"));
    QCOMPARE(printer.beginCalls(), 1);
    QVERIFY(!printer.end());
    QCOMPARE(printer.pageCount(), 0);
}

void TestDoubles::platformKeepsPrintJobs()
{
    TestPlatform test;
    const platform::Platform p = test.platform();
    QCOMPARE(p.port, &test.port);
    QCOMPARE(p.pump, &test.pump);
    {
        auto job = p.makePrinter();
        QPainter *painter = job->begin("GRAPH");
        QVERIFY(painter);
        painter->drawText(QPointF(10, 10), "MAX");
        QVERIFY(job->end());
    }
    test.refuseNextPrintJob();
    QVERIFY(!p.makePrinter()->begin("GRAPH"));

    QCOMPARE(test.printJobs().size(), 2u);
    QCOMPARE(test.printJobs().front()->allTexts(), QStringList{"MAX"});
    QCOMPARE(test.lastPrintJob()->beginCalls(), 1);
    QVERIFY(test.lastPrintJob()->errorText().isEmpty()); // a cancel has no reason
}

QTEST_MAIN(TestDoubles)
#include "tst_doubles.moc"
