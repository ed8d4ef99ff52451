#include "featurerig.h"
#include "link/ui/clickablelabel.h"
#include "support/filesizelimit.h"
#include "support/frames.h"

#include <QLabel>
#include <QTest>

#include <optional>

using testsupport::ScriptedDialogs;

namespace {

constexpr unsigned char voltsCode = 0x42;
constexpr unsigned char millivoltsCode = 0x80;

struct Rig : FeatureRig
{
    Rig()
    {
        test.clock.setDate(QDate(2024, 1, 15));
        test.clock.setSecondsSinceMidnight(12 * 3600);
    }

    void startRecordingInto(const QString &name)
    {
        test.dialogs.queueSaveFile(name);
        panel->CMDSAVE->click();
        panel->CMDSTART->click();
    }

    // A frame makes the reading live; the labels then show the texts given.
    void showReading(const QString &value, const QString &battery = {})
    {
        receive(voltsCode);
        panel->LBLVALUE->setText(value);
        panel->LBLFUN->setText(QStringLiteral("V"));
        panel->LBLRAN->setText(QStringLiteral("5 V"));
        panel->LBLAD->setText(QStringLiteral("DC"));
        panel->LBLBAT->setText(battery);
    }

    void tick()
    {
        panel->Timer4->fire();
        test.clock.advance(2);
    }

    // A frame of the given function, decoded by the panel's polling tick.
    void receive(unsigned char code)
    {
        test.port.feed(testsupport::liveFrame(code, 0, 0, 0, 0x08));
        panel->Timer6->fire();
    }

    // START, STOP, SAVE AS, OPEN FILE enabled; Timer4 on.
    QList<bool> states() const
    {
        return {panel->CMDSTART->isEnabled(), panel->CMDSTOP->isEnabled(), panel->CMDSAVE->isEnabled(),
                panel->CMDOPEN->isEnabled(), panel->Timer4->isEnabled()};
    }
};

const QList<bool> recordingStates{false, true, false, false, true};
const QList<bool> stoppedStates{true, false, true, true, false};
const QList<bool> cancelledStates{false, false, true, true, false}; // no file to start with

} // namespace

class RecordingControllerTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void saveAsChoosesTheFile();
    void startWithoutAFileAsksForOne_data();
    void startWithoutAFileAsksForOne();
    void ticksWriteLinesUntilStop();
    void samplingTimeQuestion();
    void samplingTimeChangesTheRunningTick();
    void functionChangeStopsARecording_data();
    void functionChangeStopsARecording();
    void failureStopsTheRecordingAndIsTold_data();
    void failureStopsTheRecordingAndIsTold();
    void appendsOnlyAfterAWholeLine_data();
    void appendsOnlyAfterAWholeLine();
    void noLineWithoutALiveReading_data();
    void noLineWithoutALiveReading();
};

void RecordingControllerTest::saveAsChoosesTheFile()
{
    Rig rig;
    rig.panel->LBLFILE->setText(QStringLiteral("earlier.dat"));
    rig.test.dialogs.queueSaveCancel();
    rig.panel->CMDSAVE->click();
    QCOMPARE(rig.test.dialogs.fileRequests().first().kind, ScriptedDialogs::FileKind::Save);
    QCOMPARE(rig.test.dialogs.fileRequests().first().initialName, QStringLiteral("*.dat"));
    QCOMPARE(rig.panel->LBLFILE->text(), QString());
    QVERIFY(!rig.panel->CMDSTART->isEnabled());
    rig.test.dialogs.queueSaveFile(rig.path("rec.dat"));
    rig.panel->CMDSAVE->click();
    QCOMPARE(rig.panel->LBLFILE->text(), rig.path("rec.dat"));
    QVERIFY(rig.panel->CMDSTART->isEnabled());
    QVERIFY(!QFile::exists(rig.path("rec.dat"))); // choosing creates nothing
}

void RecordingControllerTest::startWithoutAFileAsksForOne_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("file chosen") << false;
    QTest::newRow("dialog cancelled") << true;
}

void RecordingControllerTest::startWithoutAFileAsksForOne()
{
    QFETCH(bool, cancel);
    Rig rig;
    if (cancel)
        rig.test.dialogs.queueSaveCancel();
    else
        rig.test.dialogs.queueSaveFile(rig.path("rec.dat"));
    rig.panel->CMDSTART->click();
    QCOMPARE(rig.test.dialogs.messageTexts(), QStringList{"You have to open a file first ."});
    QCOMPARE(rig.panel->recordingOn, !cancel);
    QCOMPARE(rig.panel->Label1->isHidden(), cancel);
    QCOMPARE(rig.states(), cancel ? cancelledStates : recordingStates);
    QCOMPARE(QFile::exists(rig.path("rec.dat")), !cancel);
}

void RecordingControllerTest::ticksWriteLinesUntilStop()
{
    Rig rig;
    rig.startRecordingInto(rig.path("rec.dat"));
    rig.shared.listFeedOn = 1;
    QCOMPARE(rig.panel->Timer4->interval(), 2000);
    QVERIFY(rig.panel->Label5->isHidden());
    rig.showReading(QStringLiteral("1.234"));
    rig.tick();
    QVERIFY(!rig.panel->Label5->isHidden());
    QCOMPARE(rig.panel->Label1->text(), QStringLiteral(" 1"));
    rig.showReading(QStringLiteral("-0.012"), QStringLiteral("LOW BATTERY"));
    rig.tick();
    QCOMPARE(rig.panel->Label1->text(), QStringLiteral(" 2"));

    rig.panel->CMDSTOP->click();
    QCOMPARE(rig.states(), stoppedStates);
    QVERIFY(rig.panel->Label1->isHidden() && rig.panel->Label5->isHidden());
    QCOMPARE(rig.panel->Label1->text(), QStringLiteral("0"));
    QCOMPARE(rig.shared.listFeedOn, qint16(0));
    rig.feature->recording().onTimer4Tick(); // a late tick writes nothing
    QCOMPARE(rig.contents("rec.dat"), QByteArray("1\t24-01-15\t12:00:00\t 1.234\tV\t5 V\tDC\t\r\n"
                                                 "2\t24-01-15\t12:00:02\t-0.012\tV\t5 V\tDC\tLow\r\n"));
}

void RecordingControllerTest::samplingTimeQuestion()
{
    Rig rig;
    rig.shared.pcSampling = 0;
    rig.test.dialogs.queueInput(QStringLiteral("75"));
    Q_EMIT rig.panel->Label8->clicked();
    QCOMPARE(rig.test.dialogs.prompts().size(), 1);
    const ScriptedDialogs::Prompt prompt = rig.test.dialogs.prompts().first();
    QCOMPARE(prompt.title, QStringLiteral("Input Sampling Time"));
    QCOMPARE(prompt.prompt, QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 60) "));
    QCOMPARE(prompt.defaultAnswer, QStringLiteral("2."));
    QCOMPARE(rig.test.dialogs.messageTexts(), QStringList{"Number Too Large ! Set Value to 60 !"});
    QCOMPARE(rig.panel->LBLSAMPLE->text(), QStringLiteral("60.0 Sec"));
    QCOMPARE(rig.shared.sampleTick, qint16(59));
    QCOMPARE(rig.shared.pcSampling, qint16(1));
    QVERIFY(!rig.panel->Timer4->isEnabled());
}

void RecordingControllerTest::samplingTimeChangesTheRunningTick()
{
    Rig rig;
    rig.startRecordingInto(rig.path("rec.dat"));
    rig.test.dialogs.queueInput(QStringLiteral("7.25"));
    rig.feature->recording().askSamplingTime();
    QCOMPARE(rig.panel->Timer4->interval(), 7250);
    QCOMPARE(rig.panel->LBLSAMPLE->text(), QStringLiteral("7.3 Sec"));
    rig.panel->CMDSTOP->click();
    rig.panel->CMDSTART->click();
    QCOMPARE(rig.panel->Timer4->interval(), 7300); // a later start takes the label
}

void RecordingControllerTest::functionChangeStopsARecording_data()
{
    QTest::addColumn<bool>("linkLost");
    QTest::newRow("function switch turned") << false;
    QTest::newRow("link lost") << true;
}

void RecordingControllerTest::functionChangeStopsARecording()
{
    QFETCH(bool, linkLost);
    Rig rig;
    rig.receive(voltsCode);
    rig.startRecordingInto(rig.path("rec.dat"));
    rig.receive(millivoltsCode); // before the first line: recording goes on
    rig.tick();
    rig.tick();
    QVERIFY(rig.panel->recordingOn);
    if (linkLost) {
        rig.test.pump.after(0.1, [&] { rig.test.port.feed("x"); });
        for (int i = 0; i < 41 && rig.panel->recordingOn; ++i)
            rig.panel->Timer6->fire();
    } else {
        rig.receive(voltsCode);
    }
    QVERIFY(!rig.panel->recordingOn);
    QCOMPARE(rig.states(), stoppedStates);
    QVERIFY(rig.panel->Label5->isHidden());
    QCOMPARE(rig.contents("rec.dat").count('\n'), 2);
    QVERIFY(rig.contents("rec.dat").contains("\tmV\t"));
}

namespace {

const QByteArray oldLines("1\t24-01-14\t11:00:00\t 5\tV\t5 V\tDC\t\r\n"
                          "2\t24-01-14\t11:00:02\t 6\tV\t5 V\tDC\t\r\n");
const QByteArray firstLine("1\t24-01-15\t12:00:00\t 1.0\tV\t5 V\tDC\t\r\n");

} // namespace

void RecordingControllerTest::failureStopsTheRecordingAndIsTold_data()
{
    QTest::addColumn<QString>("file"); // in the test's folder unless absolute
    QTest::addColumn<int>("roomForLines"); // the disk is full after the old lines and this many bytes; -1: no limit
    QTest::addColumn<QByteArray>("kept");
    QTest::addColumn<QString>("told");
    QTest::newRow("file cannot be opened") << "missing/folder/rec.dat" << -1 << QByteArray() << "No such file";
    QTest::newRow("a folder") << "" << -1 << QByteArray() << "cannot be opened";
    QTest::newRow("no space at all") << "/dev/full" << -1 << QByteArray() << "Recording stopped";
    QTest::newRow("disk full inside the first line") << "rec.dat" << 12 << oldLines << "Recording stopped";
    QTest::newRow("disk full inside the second line")
        << "rec.dat" << int(firstLine.size()) + 5 << oldLines + firstLine << "Recording stopped";
}

void RecordingControllerTest::failureStopsTheRecordingAndIsTold()
{
    QFETCH(QString, file);
    QFETCH(int, roomForLines);
    QFETCH(QByteArray, kept);
    QFETCH(QString, told);
    if (file.startsWith(QLatin1Char('/')) && !QFile::exists(file))
        QSKIP("no such device on this system");
    Rig rig;
    const QString name = file.startsWith(QLatin1Char('/')) ? file : rig.path(file);
    if (roomForLines >= 0)
        rig.write(file, oldLines);
    rig.startRecordingInto(name);
    {
        std::optional<testsupport::FileSizeLimit> full;
        if (roomForLines >= 0)
            full.emplace(oldLines.size() + roomForLines);
        for (int i = 0; i < 3 && rig.panel->recordingOn; ++i) {
            rig.showReading(QStringLiteral("1.0"));
            rig.tick();
        }
    }
    QVERIFY(!rig.panel->recordingOn);
    QCOMPARE(rig.states(), stoppedStates);
    QVERIFY(rig.panel->Label5->isHidden());
    QCOMPARE(rig.test.dialogs.messages().size(), 1);
    const ScriptedDialogs::Message message = rig.test.dialogs.messages().first();
    QVERIFY2(message.text.contains(name) && message.text.contains(told), qPrintable(message.text));
    QCOMPARE(message.icon, platform::MessageIcon::Critical);
    if (roomForLines >= 0)
        QCOMPARE(rig.contents(file), kept); // whole lines only: the cut one is taken back
}

// A file that ends inside a line (a full disk or a crash in an earlier
// recording) is cut back to its last line end before anything is appended.
void RecordingControllerTest::appendsOnlyAfterAWholeLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after"); // "<refused>": left as it was, no recording
    QTest::addColumn<QString>("told");
    QTest::newRow("new file") << QByteArray() << firstLine << "";
    QTest::newRow("whole lines") << oldLines << oldLines + firstLine << "";
    QTest::newRow("ends inside a line") << oldLines + "3\t24-01-14\t11:0" << oldLines + firstLine
                                        << "(15 bytes) was removed";
    QTest::newRow("ends after the carriage return") << oldLines + oldLines.left(30) + '\r'
                                                    << oldLines + firstLine << "(31 bytes) was removed";
    QTest::newRow("only a broken line") << QByteArray("1\t24-01-1") << firstLine << "(9 bytes) was removed";
    QTest::newRow("not a data file") << QByteArray(3000, 'x') << QByteArray("<refused>")
                                     << "not a data file";
}

void RecordingControllerTest::appendsOnlyAfterAWholeLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, told);
    Rig rig;
    if (!before.isEmpty())
        rig.write("rec.dat", before);
    rig.startRecordingInto(rig.path("rec.dat"));
    rig.showReading(QStringLiteral("1.0"));
    rig.tick();
    rig.panel->CMDSTOP->click();

    const QStringList messages = rig.test.dialogs.messageTexts();
    if (told.isEmpty()) {
        QCOMPARE(messages, QStringList());
    } else {
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains(told) && messages.first().contains(rig.path("rec.dat")),
                 qPrintable(messages.first()));
    }
    QCOMPARE(rig.contents("rec.dat"), after == "<refused>" ? before : after);
}

// While the polling is paused (a logger exchange) or the link is lost, the
// panel holds an old reading: the ticks then write nothing, and the lines
// go on, numbered without a gap, with the next live reading.
void RecordingControllerTest::noLineWithoutALiveReading_data()
{
    QTest::addColumn<bool>("linkLost");
    QTest::newRow("polling paused") << false;
    QTest::newRow("link lost before the first line") << true;
}

void RecordingControllerTest::noLineWithoutALiveReading()
{
    QFETCH(bool, linkLost);
    Rig rig;
    rig.startRecordingInto(rig.path("rec.dat"));
    int ticksWhileFrozen = 0;
    if (linkLost) {
        // The meter falls silent: the link counts as lost, and the
        // recording's ticks come while the panel waits for the meter.
        for (int i = 0; i < 41; ++i)
            rig.panel->Timer6->fire();
        rig.tick();
        rig.tick();
        ticksWhileFrozen = 2;
        rig.test.port.feed(testsupport::liveFrame(voltsCode, 0, 0, 0, 0x08));
        for (int i = 0; i < 100 && !rig.panel->showsLiveReading(); ++i) {
            rig.test.pump.runFor(0.01);
            rig.panel->Timer6->fire();
        }
    } else {
        rig.showReading(QStringLiteral("1.0"));
        rig.tick();
        rig.panel->Timer6->setEnabled(false);
        rig.tick();
        rig.tick();
        ticksWhileFrozen = 2;
        rig.panel->Timer6->setEnabled(true);
    }
    QCOMPARE(ticksWhileFrozen, 2);
    QVERIFY(rig.panel->recordingOn);
    rig.showReading(QStringLiteral("2.0"));
    rig.tick();

    const QList<QByteArray> lines = rig.contents("rec.dat").split('\n');
    QStringList numberAndValue;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() > 3)
            numberAndValue << QString::fromLatin1(fields[0] + '\t' + fields[3]);
    }
    const QStringList expected = linkLost ? QStringList{"1\t 2.0"} : QStringList{"1\t 1.0", "2\t 2.0"};
    QCOMPARE(numberAndValue, expected);
    QCOMPARE(rig.panel->Label1->text(), linkLost ? QStringLiteral(" 1") : QStringLiteral(" 2"));
}

QTEST_MAIN(RecordingControllerTest)
#include "tst_recordingcontroller.moc"
