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
#include "support/panelrig.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using testsupport::ScriptedDialogs;

namespace {

constexpr unsigned char voltsCode = 0x42, millivoltsCode = 0x80;
const QByteArray oldLines("1\t24-01-14\t11:00:00\t 5\tV\t5 V\tDC\t\r\n2\t24-01-14\t11:00:02\t 6\tV\t5 V\tDC\t\r\n");
const QByteArray firstLine("1\t24-01-15\t12:00:00\t 1.0\tV\t5 V\tDC\t\r\n");
const QByteArray mvLines("1\t24-01-15\t12:00:00\t 000.00\tmV\t500 mV\tDC\t\r\n2\t24-01-15\t12:00:02\t 000.00\tmV\t500 mV\tDC\t\r\n");
// START, STOP, SAVE AS, OPEN FILE enabled; Timer4 on.
const QList<bool> recordingStates{false, true, false, false, true}, stoppedStates{true, false, true, true, false},
    neverStarted{false, false, true, true, false};

QByteArray recordedLines(int count)
{
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += QByteArray::number(i) + "\t24-01-15\t12:00:" + QByteArray::number(10 + i) + "\t " + QByteArray::number(i * 10) + "\tV\t5 V\tDC\t\r\n";
    return text;
}

// The panel with the recording feature attached, at noon.
struct Rig : testsupport::PanelRig
{
    std::unique_ptr<recording::RecordingFeature> feature;
    QTemporaryDir dir;

    Rig()
    {
        feature = std::make_unique<recording::RecordingFeature>(*panel);
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
    QStringList messages() const { return test.dialogs.messageTexts(); }
    void receive(unsigned char code) // decoded by the panel's polling tick
    {
        test.port.feed(testsupport::liveFrame(code, 0, 0, 0, 0x08));
        panel->Timer6->fire();
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
};

// told: the pieces of the one message, '*' between them, %1 the file; after:
// the file at the end (null: not read); records: in the list OPEN FILE shows (-1: none).
struct StepRow { QString file; QByteArray before; QString steps; QByteArray after; QString told; bool recording = false; int records = -1; };
struct SamplingRow { QString answer, message, label, next; int sampleTick, intervalMs, restartMs; };

} // namespace

Q_DECLARE_METATYPE(StepRow)
Q_DECLARE_METATYPE(SamplingRow)

class RecordingUiTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void recording_data();
    void recording();
    void samplingTime_data();
    void samplingTime();
    void fileBeingRecordedIsCopied();
    void memoryGraphAndRange();
};

// Steps: "save" (SAVE AS chooses the file), "ask"/"cancel" (the next file
// dialog chooses it / is cancelled), "saveas" (SAVE AS pressed), "asked:X" (the
// last file dialog offered X), "start", "stop", "r:X" / "low:X" (a live
// reading X, with LOW BATTERY), "tick" (Timer4), "late" (a tick after STOP),
// "V"/"mV" (a frame of that function), "lost" (the link lost), "back" (frames
// again until the reading is live), "pause"/"resume" (the polling),
// "full:N" (the disk full N bytes after the file's old bytes), "open" /
// "open:N" (OPEN FILE of the file / of N new lines), "opencancel", "close"
// (the list), "refuse" (the next print job), "print", "printed:N" (the job
// ended with N lines), "#T" (the counter shows T, '_' a blank).
void RecordingUiTest::recording_data()
{
    QTest::addColumn<StepRow>("r");
    const auto row = [](const char *name, StepRow r) { QTest::newRow(name) << r; };
    const QByteArray two = "1\t24-01-15\t12:00:00\t 1.234\tV\t5 V\tDC\t\r\n2\t24-01-15\t12:00:02\t-0.012\tV\t5 V\tDC\tLow\r\n";
    const QByteArray missing = "<missing>", atSix = "2\t24-01-15\t12:00:06\t 2.0\tV\t5 V\tDC\t\r\n";
    const char *stopped = "written to %1 (*). The lines written before it are kept";
    row("START without a file: one chosen", {"rec.dat", {}, "ask start r:1.0 tick #_1", firstLine, "You have to open a file first .", true});
    row("START without a file: cancelled", {"rec.dat", {}, "cancel start", missing, "You have to open a file first ."});
    row("ticks write lines until STOP", {"rec.dat", {}, "save start r:1.234 tick #_1 low:-0.012 tick #_2 stop #0 late", two, ""});
    row("function switch turned", {"rec.dat", {}, "V save start mV tick tick V", mvLines, ""});
    row("link lost", {"rec.dat", {}, "V save start mV tick tick lost", mvLines, ""});
    row("file cannot be opened", {"missing/folder/rec.dat", {}, "save start r:1.0 tick", missing, "The file %1 cannot be opened*No such file"});
    row("no space at all", {"/dev/full", {}, "save start r:1.0 tick", {}, stopped});
    row("disk full inside the first line", {"rec.dat", oldLines, "save start full:12 r:1.0 tick", oldLines, stopped});
    row("disk full inside the second line", {"rec.dat", oldLines, "save start full:" + QString::number(firstLine.size() + 5) + " r:1.0 tick r:1.0 tick",
        oldLines + firstLine, stopped});
    row("appended after whole lines", {"rec.dat", oldLines, "save start r:1.0 tick stop", oldLines + firstLine, ""});
    row("ends inside a line", {"rec.dat", oldLines + "3\t24-01-14\t11:0", "save start r:1.0 tick stop", oldLines + firstLine,
        "The file %1 ended inside a line*(15 bytes) was removed"});
    row("ends after the carriage return", {"rec.dat", oldLines + oldLines.left(30) + '\r', "save start r:1.0 tick stop", oldLines + firstLine, "(31 bytes) was removed"});
    row("only a broken line", {"rec.dat", "1\t24-01-1", "save start r:1.0 tick stop", firstLine, "%1 ended inside a line*(9 bytes) was removed"});
    row("not a data file", {"rec.dat", QByteArray(3000, 'x'), "save start", QByteArray(3000, 'x'), "The file %1 cannot be opened*not a data file"});
    row("SAVE AS cancelled: no file", {"rec.dat", {}, "save cancel saveas asked:*.dat", {}, ""});
    row("a file chosen: nothing created, OPEN FILE offers it", {"rec.dat", {}, "save opencancel asked:%1", missing, ""});
    row("OPEN FILE cancelled", {"typed.dat", {}, "opencancel", missing, ""});
    row("OPEN FILE of a missing file", {"typed.dat", {}, "open", missing, "File %1 not exist !"});
    row("OPEN FILE of three lines", {"typed.dat", {}, "open:3", missing, "", false, 3});
    row("a second file appends", {"typed.dat", {}, "open:3 open:1", missing, "", false, 4});
    row("a new list once closed", {"typed.dat", {}, "open:3 close open:0", missing, "", false, 0});
    row("a read failure keeps the rows", {"/proc/self/mem", {}, "open:2 open", {}, "File %1 could not be read", false, 2});
    row("list printed", {"typed.dat", {}, "open:2 print printed:4", missing, "", false, 2});
    row("printer out of paper", {"typed.dat", {}, "open:2 print refuse print", missing, "out of paper", false, 2});
    // While the polling is paused or the link is lost the panel holds an old
    // reading: no line, and the next live reading goes on without a gap.
    row("polling paused", {"rec.dat", {}, "save start r:1.0 tick pause tick tick resume r:2.0 tick #_2", firstLine + atSix, "", true});
    row("link lost before the first line", {"rec.dat", {}, "save start lost tick tick back r:2.0 tick #_1",
        "1\t24-01-15\t12:00:04\t 2.0\tV\t5 V\tDC\t\r\n", "", true});
}

void RecordingUiTest::recording()
{
    QFETCH(StepRow, r);
    const auto &[file, before, steps, after, told, recording, records] = r;
    if (file.startsWith(u'/') && !QFile::exists(file))
        QSKIP("no such device on this system");
    Rig rig;
    rig.shared.listFeedOn = 1;
    if (!before.isEmpty())
        rig.write(file, before);
    std::optional<testsupport::FileSizeLimit> full;
    bool started = false;
    for (const QString &step : steps.split(u' ')) {
        const QString arg = step.section(u':', 1);
        if (step == "save" || step == "ask")
            rig.test.dialogs.queueSaveFile(rig.path(file));
        if (step == "save" || step == "saveas")
            rig.panel->CMDSAVE->click();
        else if (step == "cancel")
            rig.test.dialogs.queueSaveCancel();
        else if (step.startsWith("asked:"))
            QCOMPARE(rig.test.dialogs.fileRequests().last().initialName, QString(arg).replace("%1", rig.path(file)));
        else if (step == "start")
            rig.panel->CMDSTART->click();
        else if (step == "stop")
            rig.panel->CMDSTOP->click();
        else if (step.startsWith("r:") || step.startsWith("low:")) { // a frame makes the reading live; the labels then show it
            rig.receive(voltsCode);
            for (const auto &[label, text] : {std::pair{rig.panel->LBLVALUE, arg}, {rig.panel->LBLFUN, "V"}, {rig.panel->LBLRAN, "5 V"},
                                              {rig.panel->LBLAD, "DC"}, {rig.panel->LBLBAT, step.startsWith("low:") ? "LOW BATTERY" : ""}})
                label->setText(text);
        } else if (step == "tick") {
            rig.panel->Timer4->fire();
            rig.test.clock.advance(2);
        }
        else if (step == "late")
            rig.feature->recording().onTimer4Tick();
        else if (step == "V" || step == "mV")
            rig.receive(step == "V" ? voltsCode : millivoltsCode);
        else if (step == "lost")
            for (int i = 0; i < 41; ++i)
                rig.panel->Timer6->fire();
        else if (step == "back") {
            rig.test.port.feed(testsupport::liveFrame(voltsCode, 0, 0, 0, 0x08));
            for (int i = 0; i < 100 && !rig.panel->showsLiveReading(); ++i) {
                rig.test.pump.runFor(0.01);
                rig.panel->Timer6->fire();
            }
        }
        else if (step == "pause" || step == "resume")
            rig.panel->Timer6->setEnabled(step == "resume");
        else if (step.startsWith("full:"))
            full.emplace(before.size() + arg.toInt());
        else if (step == "open" || step.startsWith("open:"))
            rig.open(step == "open" ? rig.path(file) : rig.write(arg + ".dat", recordedLines(arg.toInt())));
        else if (step == "opencancel") {
            rig.test.dialogs.queueOpenCancel();
            rig.panel->CMDOPEN->click();
        } else if (step == "close")
            rig.list().close();
        else if (step == "refuse")
            rig.test.refuseNextPrintJob(QStringLiteral("The printer is out of paper."));
        else if (step == "print")
            rig.list().MnuPrint->trigger();
        else if (step.startsWith("printed:"))
            QVERIFY(rig.test.lastPrintJob()->ended() && rig.test.lastPrintJob()->allTexts().size() == arg.toInt());
        else if (step.startsWith(u'#'))
            QCOMPARE(rig.panel->Label1->text(), step.mid(1).replace(u'_', u' '));
        if (rig.panel->recordingOn && !started)
            QCOMPARE(rig.panel->Timer4->interval(), 2000);
        started = started || rig.panel->recordingOn;
    }
    full.reset();
    QVERIFY(!steps.contains("print") || rig.panel->Timer1->isEnabled()); // a printout turns it off for its time only
    QCOMPARE(rig.panel->recordingOn, recording);
    if (!steps.contains("open"))
        QCOMPARE((QList<bool>{rig.panel->CMDSTART->isEnabled(), rig.panel->CMDSTOP->isEnabled(), rig.panel->CMDSAVE->isEnabled(),
                              rig.panel->CMDOPEN->isEnabled(), rig.panel->Timer4->isEnabled()}), recording ? recordingStates : rig.panel->LBLFILE->text().isEmpty() ? neverStarted : stoppedStates);
    QCOMPARE(rig.files().listIsOpen(), records >= 0);
    QCOMPARE(rig.shared.listFeedOn, qint16((started && !recording) || records >= 0 ? 0 : 1));
    if (records >= 0)
        QCOMPARE((QList<QVariant>{rig.list().isVisible(), rig.rows().recordCount(), records > 0 ? rig.rows().cell(records, 3) : QString()}),
                 (QList<QVariant>{true, records, records > 0 ? QStringLiteral(" %1").arg(records > 3 ? 10 : records * 10) : QString()}));
    QVERIFY(recording || (rig.panel->Label1->isHidden() && rig.panel->Label5->isHidden()));
    const QList<ScriptedDialogs::Message> messages = rig.test.dialogs.messages();
    QCOMPARE(messages.size(), told.isEmpty() ? 0 : 1);
    for (const QString &piece : told.split(u'*', Qt::SkipEmptyParts))
        QVERIFY2(messages.first().text.contains(QString(piece).replace("%1", rig.path(file))), qPrintable(messages.first().text));
    if (told.contains("written to") || told.contains("opened"))
        QCOMPARE(messages.first().icon, platform::MessageIcon::Critical);
    QFile written(rig.path(file));
    if (!after.isNull())
        QCOMPARE(written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray("<missing>"), after);
}

// The answer while recording: the running tick changes at once, a later
// START takes the label (restart: its interval); next: the next default answer.
void RecordingUiTest::samplingTime_data()
{
    QTest::addColumn<SamplingRow>("r");
    const QString small = QStringLiteral("Number Too Small ! Set Value to 1 !"), large = QStringLiteral("Number Too Large ! Set Value to 60 !");
    QTest::newRow("just above 60") << SamplingRow{"60.01", large, "60.0 Sec", "60.", 59, 60000, 60000};
    QTest::newRow("0.5 too small") << SamplingRow{"0.5", small, "1.0 Sec", "1.", 0, 1000, 1000};
    QTest::newRow("decimal comma 2,5") << SamplingRow{"2,5", "", "2.5 Sec", "2.5", 2, 2500, 2500};
    QTest::newRow("3.5 ticks round to even") << SamplingRow{"3.5", "", "3.5 Sec", "3.5", 2, 3500, 3500};
    QTest::newRow("label rounds half away") << SamplingRow{"2.25", "", "2.3 Sec", "2.3", 1, 2250, 2300};
    QTest::newRow("interval to whole ms") << SamplingRow{"1.0005", "", "1.0 Sec", "1.", 0, 1000, 1000};
    QTest::newRow("leading blanks") << SamplingRow{"  7 s", "", "7.0 Sec", "7.", 6, 7000, 7000};
    QTest::newRow("empty: nothing changes") << SamplingRow{"", "", "2.0 Sec", "2.", 1, 2000, 2000};
}

void RecordingUiTest::samplingTime()
{
    QFETCH(SamplingRow, r);
    Rig rig;
    rig.test.dialogs.queueSaveFile(rig.path("rec.dat"));
    rig.panel->CMDSAVE->click();
    rig.panel->CMDSTART->click();
    std::tie(rig.shared.sampleTick, rig.shared.pcSampling) = std::pair(1, 0);
    rig.test.dialogs.queueInput(r.answer);
    Q_EMIT rig.panel->Label8->clicked();
    rig.test.dialogs.queueInput(QString());
    rig.feature->recording().askSamplingTime();
    const QList<ScriptedDialogs::Prompt> prompts = rig.test.dialogs.prompts();
    QCOMPARE((QStringList{prompts[0].title, prompts[0].defaultAnswer, prompts[1].defaultAnswer, rig.messages().join(u'|'), rig.panel->LBLSAMPLE->text()}),
             (QStringList{"Input Sampling Time", "2.", r.next, r.message, r.label}));
    QCOMPARE((QList<int>{rig.shared.sampleTick, rig.shared.pcSampling, rig.panel->Timer4->interval()}),
             (QList<int>{r.sampleTick, r.answer.isEmpty() ? 0 : 1, r.intervalMs}));
    rig.panel->CMDSTOP->click();
    rig.panel->CMDSTART->click();
    QCOMPARE(rig.panel->Timer4->interval(), r.restartMs);
}

// Being recorded: copied, every row stays; not recorded: mapped, the rows cut off read empty.
void RecordingUiTest::fileBeingRecordedIsCopied()
{
    for (const bool recording : {true, false}) {
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
}

void RecordingUiTest::memoryGraphAndRange()
{
    Rig rig;
    rig.open(rig.write(QStringLiteral("g.dat"), recordedLines(10)));
    rig.list().MNUGRAPH->trigger();
    rig.graph().MnuLimit->trigger();
    QVERIFY(rig.graph().isOpen() && rig.range().isVisible());
    QCOMPARE(rig.range().boxes(), (recording::RangeBoxes{"1", "10", "0", "1000"}));
    rig.range().setBoxes({"5", "12", "0", "500"});
    rig.range().SSCommand1->click();
    QCOMPARE(rig.messages(), QStringList{" Invalid No.s,  please try again !"});
    QVERIFY(!rig.graph().isOpen() && rig.files().rangeIsOpen());
    rig.range().setBoxes({"2", "6", "10", "100"});
    rig.range().SSCommand1->click();
    QVERIFY(rig.graph().isOpen());
    const graphs::StoredGraphSelection &s = rig.graph().scene().selection;
    QCOMPARE((QList<double>{double(s.first), double(s.last), s.count, s.minimum, s.maximum}), (QList<double>{2, 6, 5, 10, 100}));
    rig.list().close(); // closes its windows
    QVERIFY(!rig.graph().isOpen() && !rig.files().rangeIsOpen() && rig.range().isHidden());
}

QTEST_MAIN(RecordingUiTest)
#include "tst_recording_ui.moc"
