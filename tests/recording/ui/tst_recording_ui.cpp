// The recording controller and OPEN FILE through the panel's buttons: clicks,
// frames and answers in, the data file, list, graph and messages out.

#include "graphs/ui/memorygraph.h"
#include "link/ui/clickablelabel.h"
#include "link/ui/panel.h"
#include "recording/ui/memorylist.h"
#include "recording/ui/openfilecontroller.h"
#include "recording/ui/rangewindow.h"
#include "recording/ui/recordingfeature.h"
#include "support/filesizelimit.h"
#include "support/frames.h"
#include "support/testplatform.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using recording::RangeBoxes;
using testsupport::ScriptedDialogs;

namespace {

constexpr unsigned char voltsCode = 0x42, millivoltsCode = 0x80;
const QByteArray oldLines("1\t24-01-14\t11:00:00\t 5\tV\t5 V\tDC\t\r\n2\t24-01-14\t11:00:02\t 6\tV\t5 V\tDC\t\r\n");
const QByteArray firstLine("1\t24-01-15\t12:00:00\t 1.0\tV\t5 V\tDC\t\r\n");
// START, STOP, SAVE AS, OPEN FILE enabled; Timer4 on.
const QList<bool> recordingStates{false, true, false, false, true};
const QList<bool> stoppedStates{true, false, true, true, false};

QByteArray recordedLines(int count)
{
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += QByteArray::number(i) + "\t24-01-15\t12:00:" + QByteArray::number(10 + i) + "\t " + QByteArray::number(i * 10) + "\tV\t5 V\tDC\t\r\n";
    return text;
}

// The panel on the scripted platform with the recording feature attached.
struct Rig
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform = test.platform();
    std::unique_ptr<live::PANEL> panel;
    std::unique_ptr<recording::RecordingFeature> feature;
    QTemporaryDir dir;

    Rig()
    {
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
        if (!panel->load())
            qFatal("the panel did not load");
        feature = std::make_unique<recording::RecordingFeature>(*panel);
        test.clock.setDate(QDate(2024, 1, 15));
        test.clock.setSecondsSinceMidnight(12 * 3600);
    }
    QString path(const QString &name) const { return name.startsWith(u'/') ? name : dir.filePath(name); }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return file.fileName();
    }
    QByteArray contents(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList messages() const { return test.dialogs.messageTexts(); }

    void startRecordingInto(const QString &name)
    {
        test.dialogs.queueSaveFile(path(name));
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
    void receive(unsigned char code) // decoded by the panel's polling tick
    {
        test.port.feed(testsupport::liveFrame(code, 0, 0, 0, 0x08));
        panel->Timer6->fire();
    }
    QList<bool> states() const
    {
        return {panel->CMDSTART->isEnabled(), panel->CMDSTOP->isEnabled(), panel->CMDSAVE->isEnabled(),
                panel->CMDOPEN->isEnabled(), panel->Timer4->isEnabled()};
    }

    recording::OpenFileController &files() { return feature->openFile(); }
    recording::MEMORYLIST &list() { return files().memoryList(); }
    recording::RecordListModel &rows() { return list().list(); }
    graphs::MEMORY_GRAPH &graph() { return files().memoryGraph(); }
    recording::MRANGE &range() { return files().memoryRange(); }
    void open(const QString &name)
    {
        test.dialogs.queueOpenFile(name);
        panel->CMDOPEN->click();
    }
    void openRangeOf(int records) // a file, its graph and the range window
    {
        open(write(QStringLiteral("g.dat"), recordedLines(records)));
        list().MNUGRAPH->trigger();
        graph().MnuLimit->trigger();
    }
    void apply(const RangeBoxes &boxes)
    {
        range().setBoxes(boxes);
        range().SSCommand1->click();
    }
};

} // namespace

class RecordingUiTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fileChoice();
    void startWithoutAFileAsksForOne_data();
    void startWithoutAFileAsksForOne();
    void ticksWriteLinesUntilStop();
    void samplingTime();
    void functionChangeStopsARecording_data();
    void functionChangeStopsARecording();
    void failureStopsTheRecordingAndIsTold_data();
    void failureStopsTheRecordingAndIsTold();
    void appendsOnlyAfterAWholeLine_data();
    void appendsOnlyAfterAWholeLine();
    void noLineWithoutALiveReading_data();
    void noLineWithoutALiveReading();
    void openFile_data();
    void openFile();
    void fileBeingRecordedIsCopied_data();
    void fileBeingRecordedIsCopied();
    void memoryGraphAndRange();
    void printsTheListOrTellsWhyNot();
};

void RecordingUiTest::fileChoice()
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
    rig.test.dialogs.queueOpenCancel(); // OPEN FILE offers the last name used
    rig.panel->CMDOPEN->click();
    QCOMPARE(rig.test.dialogs.fileRequests().last().initialName, rig.path("rec.dat"));
    QVERIFY(rig.test.dialogs.fileRequests().last().filter.contains(QLatin1String("*.dat")));
    QVERIFY(rig.messages().isEmpty());
}

void RecordingUiTest::startWithoutAFileAsksForOne_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("file chosen") << false;
    QTest::newRow("dialog cancelled") << true;
}

void RecordingUiTest::startWithoutAFileAsksForOne()
{
    QFETCH(bool, cancel);
    Rig rig;
    if (cancel)
        rig.test.dialogs.queueSaveCancel();
    else
        rig.test.dialogs.queueSaveFile(rig.path("rec.dat"));
    rig.panel->CMDSTART->click();
    QCOMPARE(rig.messages(), QStringList{"You have to open a file first ."});
    QCOMPARE(rig.panel->recordingOn, !cancel);
    QCOMPARE(rig.panel->Label1->isHidden(), cancel);
    QCOMPARE(rig.states(), cancel ? (QList<bool>{false, false, true, true, false}) : recordingStates);
    QCOMPARE(QFile::exists(rig.path("rec.dat")), !cancel);
}

void RecordingUiTest::ticksWriteLinesUntilStop()
{
    Rig rig;
    rig.startRecordingInto("rec.dat");
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

void RecordingUiTest::samplingTime()
{
    Rig rig;
    rig.test.dialogs.queueInput(QStringLiteral("75"));
    Q_EMIT rig.panel->Label8->clicked();
    const ScriptedDialogs::Prompt prompt = rig.test.dialogs.prompts().first();
    QCOMPARE((QStringList{prompt.title, prompt.defaultAnswer}), (QStringList{"Input Sampling Time", "2."}));
    QCOMPARE(rig.messages(), QStringList{"Number Too Large ! Set Value to 60 !"});
    QCOMPARE((QList<qint16>{rig.shared.sampleTick, rig.shared.pcSampling}), (QList<qint16>{59, 1}));
    // While recording the running tick changes at once; a later start takes the label.
    rig.startRecordingInto("rec.dat");
    rig.test.dialogs.queueInput(QStringLiteral("7.25"));
    rig.feature->recording().askSamplingTime();
    QCOMPARE(rig.panel->Timer4->interval(), 7250);
    QCOMPARE(rig.panel->LBLSAMPLE->text(), QStringLiteral("7.3 Sec"));
    rig.panel->CMDSTOP->click();
    rig.panel->CMDSTART->click();
    QCOMPARE(rig.panel->Timer4->interval(), 7300);
}

void RecordingUiTest::functionChangeStopsARecording_data()
{
    QTest::addColumn<bool>("linkLost");
    QTest::newRow("function switch turned") << false;
    QTest::newRow("link lost") << true;
}

void RecordingUiTest::functionChangeStopsARecording()
{
    QFETCH(bool, linkLost);
    Rig rig;
    rig.receive(voltsCode);
    rig.startRecordingInto("rec.dat");
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

void RecordingUiTest::failureStopsTheRecordingAndIsTold_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("roomForLines"); // the disk is full after the old lines and this many bytes; -1: no limit
    QTest::addColumn<QByteArray>("kept");
    QTest::addColumn<QString>("told");
    QTest::newRow("file cannot be opened") << "missing/folder/rec.dat" << -1 << QByteArray() << "No such file";
    QTest::newRow("no space at all") << "/dev/full" << -1 << QByteArray() << "Recording stopped";
    QTest::newRow("disk full inside the first line") << "rec.dat" << 12 << oldLines << "Recording stopped";
    QTest::newRow("disk full inside the second line") << "rec.dat" << int(firstLine.size()) + 5 << oldLines + firstLine << "Recording stopped";
}

void RecordingUiTest::failureStopsTheRecordingAndIsTold()
{
    QFETCH(QString, file);
    QFETCH(int, roomForLines);
    QFETCH(QString, told);
    if (file.startsWith(u'/') && !QFile::exists(file))
        QSKIP("no such device on this system");
    Rig rig;
    if (roomForLines >= 0)
        rig.write(file, oldLines);
    rig.startRecordingInto(file);
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
    QVERIFY2(message.text.contains(rig.path(file)) && message.text.contains(told), qPrintable(message.text));
    QCOMPARE(message.icon, platform::MessageIcon::Critical);
    if (roomForLines >= 0)
        QTEST(rig.contents(file), "kept"); // whole lines only: the cut one is taken back
}

// A file that ends inside a line (a full disk or a crash in an earlier
// recording) is cut back to its last line end before anything is appended.
void RecordingUiTest::appendsOnlyAfterAWholeLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after"); // empty: left as it was, no recording
    QTest::addColumn<QString>("told");
    QTest::newRow("whole lines") << oldLines << oldLines + firstLine << "";
    QTest::newRow("ends inside a line") << oldLines + "3\t24-01-14\t11:0" << oldLines + firstLine << "(15 bytes) was removed";
    QTest::newRow("ends after the carriage return") << oldLines + oldLines.left(30) + '\r' << oldLines + firstLine << "(31 bytes) was removed";
    QTest::newRow("only a broken line") << QByteArray("1\t24-01-1") << firstLine << "(9 bytes) was removed";
    QTest::newRow("not a data file") << QByteArray(3000, 'x') << QByteArray() << "not a data file";
}

void RecordingUiTest::appendsOnlyAfterAWholeLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, told);
    Rig rig;
    if (!before.isEmpty())
        rig.write("rec.dat", before);
    rig.startRecordingInto("rec.dat");
    rig.showReading(QStringLiteral("1.0"));
    rig.tick();
    rig.panel->CMDSTOP->click();
    QCOMPARE(rig.messages().size(), told.isEmpty() ? 0 : 1);
    if (!told.isEmpty())
        QVERIFY2(rig.messages().first().contains(told) && rig.messages().first().contains(rig.path("rec.dat")),
                 qPrintable(rig.messages().first()));
    QCOMPARE(rig.contents("rec.dat"), after.isEmpty() ? before : after);
}

// While the polling is paused (a logger exchange) or the link is lost, the
// panel holds an old reading: the ticks write nothing, and the lines go on,
// numbered without a gap, with the next live reading.
void RecordingUiTest::noLineWithoutALiveReading_data()
{
    QTest::addColumn<bool>("linkLost");
    QTest::addColumn<QByteArrayList>("lines"); // number and value
    QTest::newRow("polling paused") << false << QByteArrayList{"1\t 1.0", "2\t 2.0"};
    QTest::newRow("link lost before the first line") << true << QByteArrayList{"1\t 2.0"};
}

void RecordingUiTest::noLineWithoutALiveReading()
{
    QFETCH(bool, linkLost);
    QFETCH(QByteArrayList, lines);
    Rig rig;
    rig.startRecordingInto("rec.dat");
    if (linkLost) {
        for (int i = 0; i < 41; ++i)
            rig.panel->Timer6->fire();
        rig.tick();
        rig.tick();
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
        rig.panel->Timer6->setEnabled(true);
    }
    QVERIFY(rig.panel->recordingOn);
    rig.showReading(QStringLiteral("2.0"));
    rig.tick();
    QByteArrayList got;
    for (const QByteArray &line : rig.contents("rec.dat").split('\n'))
        if (const QList<QByteArray> fields = line.split('\t'); fields.size() > 3)
            got << fields[0] + '\t' + fields[3];
    QCOMPARE(got, lines);
    QCOMPARE(rig.panel->Label1->text(), " " + QString::number(lines.size()));
}

void RecordingUiTest::openFile_data()
{
    // Files opened one after the other; "" cancels, "-" closes the list.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("told"); // the start of the one message, or none
    QTest::newRow("cancelled") << QStringList{""} << -1 << "";
    QTest::newRow("missing") << QStringList{"typed.dat"} << -1 << "File %1typed.dat not exist !";
    QTest::newRow("three lines") << QStringList{"3"} << 3 << "";
    QTest::newRow("a second file appends") << QStringList{"3", "1"} << 4 << "";
    QTest::newRow("a new list once closed") << QStringList{"3", "-", "0"} << 0 << "";
    QTest::newRow("read failure keeps the rows") << QStringList{"2", "/proc/self/mem"} << 2 << "File /proc/self/mem could not be read";
}

void RecordingUiTest::openFile()
{
    QFETCH(QStringList, files);
    QFETCH(int, records);
    QFETCH(QString, told);
    Rig rig;
    rig.shared.listFeedOn = 1;
    for (const QString &file : files) {
        bool isNumber = false;
        const int lines = file.toInt(&isNumber);
        if (file.isEmpty()) {
            rig.test.dialogs.queueOpenCancel();
            rig.panel->CMDOPEN->click();
        } else if (file == QLatin1String("-")) {
            rig.list().close();
            QVERIFY(!rig.files().listIsOpen());
        } else {
            if (file.startsWith(u'/') && !QFile::exists(file))
                QSKIP("no such file on this system");
            rig.open(isNumber ? rig.write(file + ".dat", recordedLines(lines)) : rig.path(file));
        }
    }
    QCOMPARE(rig.messages().size(), told.isEmpty() ? 0 : 1);
    if (!told.isEmpty())
        QVERIFY2(rig.messages().first().startsWith(QString(told).replace("%1", rig.dir.path() + '/')), qPrintable(rig.messages().first()));
    QCOMPARE(rig.files().listIsOpen(), records >= 0);
    QCOMPARE(rig.shared.listFeedOn, qint16(records >= 0 ? 0 : 1));
    if (records < 0)
        return;
    QVERIFY(rig.list().isVisible());
    QCOMPARE(rig.rows().recordCount(), records);
    if (records > 0)
        QCOMPARE(rig.rows().cell(records, 3), QStringLiteral(" %1").arg(records > 3 ? 10 : records * 10));
}

void RecordingUiTest::fileBeingRecordedIsCopied_data()
{
    QTest::addColumn<bool>("recording");
    QTest::newRow("being recorded: copied, every row stays") << true;
    QTest::newRow("not recorded: mapped, the rows cut off read empty") << false;
}

void RecordingUiTest::fileBeingRecordedIsCopied()
{
    QFETCH(bool, recording);
    Rig rig;
    const QString name = rig.write(QStringLiteral("rec.dat"), recordedLines(3000));
    rig.panel->recordingOn = recording;
    rig.panel->LBLFILE->setText(name);
    rig.open(name);
    QCOMPARE(rig.rows().recordCount(), 3000);
    QVERIFY(QFile::resize(name, 10)); // cut short under the open list
    rig.list().Grid1->scrollToBottom();
    QCoreApplication::processEvents();
    QCOMPARE(rig.rows().cell(3000, 0), recording ? QStringLiteral("3000") : QString());
    rig.panel->recordingOn = false;
}

void RecordingUiTest::memoryGraphAndRange()
{
    Rig rig;
    rig.openRangeOf(10);
    QVERIFY(rig.graph().isOpen() && rig.range().isVisible());
    QCOMPARE(rig.range().boxes(), (RangeBoxes{"1", "10", "0", "1000"}));
    rig.apply({"5", "12", "0", "500"});
    QCOMPARE(rig.messages(), QStringList{" Invalid No.s,  please try again !"});
    QVERIFY(!rig.graph().isOpen() && rig.files().rangeIsOpen());
    rig.apply({"2", "6", "10", "100"});
    QVERIFY(rig.graph().isOpen());
    const graphs::StoredGraphSelection &s = rig.graph().scene().selection;
    QCOMPARE((QList<double>{double(s.first), double(s.last), s.count, s.minimum, s.maximum}), (QList<double>{2, 6, 5, 10, 100}));
    QCOMPARE((QStringList{s.timeFirst, s.timeMid, s.timeLast}), (QStringList{"12:00:12", "12:00:14", "12:00:16"}));
    rig.list().close(); // closes its windows
    QVERIFY(!rig.graph().isOpen() && !rig.files().rangeIsOpen() && rig.range().isHidden());
}

void RecordingUiTest::printsTheListOrTellsWhyNot()
{
    Rig rig;
    rig.open(rig.write(QStringLiteral("a.dat"), recordedLines(2)));
    rig.list().MnuPrint->trigger();
    const testsupport::RecordingPrinter *job = rig.test.lastPrintJob();
    QVERIFY(job && job->ended());
    QCOMPARE(job->allTexts().size(), 4);
    QVERIFY(rig.panel->Timer1->isEnabled());
    QVERIFY(rig.messages().isEmpty());
    rig.test.refuseNextPrintJob(QStringLiteral("The printer is out of paper."));
    rig.list().MnuPrint->trigger();
    QCOMPARE(rig.messages().size(), 1);
    QVERIFY(rig.messages().first().contains(QLatin1String("out of paper")));
    QVERIFY(rig.panel->Timer1->isEnabled());
}

QTEST_MAIN(RecordingUiTest)
#include "tst_recording_ui.moc"
