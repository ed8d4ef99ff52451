// The whole program against the emulated meter over a pseudo-terminal, with a
// hand on the cable (LineTap): one table of what is injected, during which
// work, and what must hold after. Every wait is bounded. Run as
// `tst_pty --record FILE` the executable is the program recording from its
// built-in emulated meter, for the rows that kill it.

#include "app/application.h"
#include "emulator/meteremulator.h"
#include "emulator/ptyserver.h"
#include "faults/linetap.h"
#include "graphs/ui/memorygraph.h"
#include "link/framereceiver.h"
#include "link/ui/panel.h"
#include "logger/ui/logger.h"
#include "platform/timer.h"
#include "reclist/ui/reclistwindow.h"
#include "recording/recordlistmodel.h"
#include "recording/ui/memorylist.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <numeric>
#include <sys/stat.h>

namespace {

enum class Work { Live, Recording, StatusRead, SetList, Download, MeterClock, OpenFile };
enum class Inject { Nothing, Pull, Fault, Noise, FullRate, ClockWhileLost };

struct Row
{
    Work work;
    Inject inject = Inject::Nothing;
    char after = 0;           // Pull: once the program sends this request (0: at once)
    int delayMs = 0;          //   and this much later, while the reply is on its way
    emulator::Fault fault{};  // Fault: spoiled frames or replies; Silence until " NO COM "
    int noisePerTick = 0;     // Noise: random bytes every 10 ms for a second
    bool userTold = false;    // a message says the exchange failed
    bool onlyTrue = true;     // no reading shown that the meter did not send
    QByteArray file = {};     // OpenFile: the bytes, or "/dev/zero", "fifo", "folder"
};

using emulator::FaultKind;
const QString recovered = QStringLiteral("04.321");

template <typename Window>
Window *topLevel()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<Window *>(window))
            return found;
    }
    return nullptr;
}

bool waitFor(const std::function<bool()> &ready, int timeoutMs)
{
    return QTest::qWaitFor(ready, timeoutMs);
}

// What the program showed while the test waited, sampled by a timer (the
// test may be inside a handler that lets events run): every reading, the
// link lost, and the event loop's longest pause (a program that blocks
// shows as a long gap between two ticks). What is to happen once the link
// counts as lost (the cable plugged back in) is done from here too.
class Watch : public QObject
{
public:
    explicit Watch(const live::PANEL &panel)
    {
        sinceLast_.start();
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this, &panel] {
            longestMs = std::max(longestMs, sinceLast_.restart());
            values.insert(panel.LBLVALUE->text());
            if (panel.LBLCOMM->text() != QLatin1String(" NO COM "))
                return;
            sawNoCom = true;
            memoryEnabledWhileLost = memoryEnabledWhileLost || panel.CMDMEMORY->isEnabled();
            if (onNoCom)
                std::exchange(onNoCom, {})();
        });
        timer_.start();
    }
    QSet<QString> values;
    bool sawNoCom = false;
    bool memoryEnabledWhileLost = false;
    qint64 longestMs = 0;
    std::function<void()> onNoCom;

private:
    QTimer timer_;
    QElapsedTimer sinceLast_;
};

// The file holds exactly linesPerStart[i] recorded lines for the i-th START
// RECORDING, numbered from 1 each time, each whole (eight fields, CR LF) with
// the function `unit`. Returns what is wrong.
QString recordedFileProblem(const QString &fileName, const QList<int> &linesPerStart, const QString &unit)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + fileName;
    const QByteArray text = file.readAll();
    const int expected = std::accumulate(linesPerStart.begin(), linesPerStart.end(), 0);
    if (expected == 0)
        return text.isEmpty() ? QString() : QStringLiteral("lines in a file nothing was recorded into");
    if (!text.endsWith("\r\n"))
        return QStringLiteral("the file ends inside a line: ...") + QString::fromLatin1(text.right(30));
    const QList<QByteArray> lines = text.chopped(2).split('\n');
    if (lines.size() != expected)
        return QStringLiteral("%1 lines in the file, %2 ticks recorded").arg(lines.size()).arg(expected);
    int at = 0;
    for (int count : linesPerStart) {
        for (int number = 1; number <= count; ++number, ++at) {
            const QList<QByteArray> fields = lines[at].chopped(lines[at].endsWith('\r') ? 1 : 0).split('\t');
            if (fields.size() != 8 || (at + 1 < lines.size() && !lines[at].endsWith('\r'))
                || fields[0] != QByteArray::number(number) || QString::fromLatin1(fields[4]) != unit)
                return QStringLiteral("line %1 is wrong: %2").arg(at + 1).arg(QString::fromLatin1(lines[at]));
        }
    }
    return {};
}

struct Rig
{
    explicit Rig(emulator::LiveSettings live)
    {
        meter.setLive(live);
        emulator::LoggerContent content = emulator::LoggerContent::sample();
        content.idCode = 4711;
        content.samplingTime = 3;
        content.memorySizeCode = 4;
        meter.setLogger(content);
    }
    ~Rig()
    {
        if (program && program->panel())
            program->panel()->close();
    }

    // Serves the meter behind the tap and starts the program on COM1;
    // returns what went wrong, once the first reading is shown.
    QString start()
    {
        const QString device = dir.filePath(QStringLiteral("ttyUSB0"));
        if (!server.open() || !tap.connect(server.slavePath(), device))
            return server.errorText() + tap.errorText();
        app::Options options;
        options.com1Device = device;
        options.select = 1;
        program = std::make_unique<app::Application>(options, &dialogs);
        program->start();
        if (!program->panel())
            return QStringLiteral("the panel did not open: ") + dialogs.messageTexts().join(u'|');
        if (!waitFor([this] { return !panel().LBLVALUE->text().isEmpty(); }, 5000))
            return QStringLiteral("no reading within 5 s");
        return {};
    }
    live::PANEL &panel() const { return *program->panel(); }
    QString path(const QString &name) const { return dir.filePath(name); }

    // MEMORY: the logger window's status read over the line.
    bool openLogger(logger::LOGGER &window)
    {
        window.Label4->clear();
        panel().CMDMEMORY->click();
        return waitFor([&] { return !window.Label4->text().isEmpty() && panel().Timer6->isEnabled(); }, 8000);
    }

    // Records as the user does, with a tick every 100 ms; linesPerStart
    // counts the lines written (Label1, read after the recording's handler).
    QString startRecording(const QString &fileName)
    {
        dialogs.queueSaveFile(fileName);
        panel().CMDSAVE->click();
        panel().CMDSTART->click();
        if (!panel().recordingOn)
            return QStringLiteral("START RECORDING did not start: ") + dialogs.messageTexts().join(u'|');
        panel().Timer4->setInterval(100);
        linesPerStart.append(0);
        return {};
    }

    QTemporaryDir dir;
    emulator::MeterEmulator meter;
    emulator::PtyServer server{meter};
    faulttest::LineTap tap;
    testsupport::ScriptedDialogs dialogs;
    std::unique_ptr<app::Application> program;
    QList<int> linesPerStart;
};

// The program is back to normal: "Com1", the meter's next reading shown,
// the buttons enabled, RESET takes the reading and, with the logger, MEMORY
// opens the logger window whose status read succeeds and whose closing gives
// the line back to the live reading. Returns what is wrong.
QString recoveryProblem(Rig &rig, logger::LOGGER &window, bool logger)
{
    live::PANEL &panel = rig.panel();
    emulator::LiveSettings live = rig.meter.live();
    live.fixedDigits = 43210;
    rig.meter.setLive(live);
    if (!waitFor([&] { return panel.LBLCOMM->text() == QLatin1String("Com1"); }, 10000))
        return QStringLiteral("the link shows ") + panel.LBLCOMM->text();
    if (!waitFor([&] { return panel.LBLVALUE->text() == recovered; }, 5000))
        return QStringLiteral("the reading shows ") + panel.LBLVALUE->text();
    if (!panel.Timer6->isEnabled())
        return QStringLiteral("Timer6 is off");
    for (QPushButton *button : {panel.CMDGRAPH, panel.CMDLIST, panel.CMDANALOG, panel.CMDMEMORY}) {
        if (!button->isEnabled())
            return button->text() + QStringLiteral(" is disabled");
    }
    panel.CMDRESET->click();
    if (panel.LBLMAX->text() != recovered || panel.LBLMIN->text() != recovered)
        return QStringLiteral("RESET did not take the reading");
    if (!logger)
        return {};
    const qsizetype told = rig.dialogs.messages().size();
    if (!rig.openLogger(window) || rig.dialogs.messages().size() != told)
        return QStringLiteral("the status read failed: ") + rig.dialogs.messageTexts().join(u'|');
    window.close();
    panel.LBLVALUE->clear();
    if (!panel.CMDMEMORY->isEnabled() || !waitFor([&] { return panel.LBLVALUE->text() == recovered; }, 5000))
        return QStringLiteral("no live reading after the logger window closed");
    return {};
}

QString badFile(Rig &rig, const QByteArray &file)
{
    if (file == "/dev/zero" || file == "folder")
        return file == "folder" ? rig.path(QString()) : QStringLiteral("/dev/zero");
    const QString name = rig.path(QStringLiteral("bad.dat"));
    if (file == "fifo")
        return ::mkfifo(QFile::encodeName(name).constData(), 0600) == 0 ? name : QString();
    QFile out(name);
    return out.open(QIODevice::WriteOnly) && out.write(file) == file.size() ? name : QString();
}

// The program recording from the built-in emulated meter, a tick every
// 20 ms, printing "tick N" once line N is written, until it is killed.
int recordUntilKilled(const QString &fileName)
{
    testsupport::ScriptedDialogs dialogs;
    app::Options options;
    options.com1Device = app::emulatorDevice;
    options.select = 1;
    app::Application program(options, &dialogs);
    program.start();
    live::PANEL *panel = program.panel();
    if (!panel)
        return 1;
    int lines = 0;
    QObject::connect(panel->Timer4, &platform::Timer::tick, panel, [&] {
        const int shown = panel->Label1->text().trimmed().toInt();
        if (panel->recordingOn && shown != lines) {
            lines = shown;
            std::printf("tick %d\n", lines);
            std::fflush(stdout);
        }
    });
    QTimer waitForReading;
    QObject::connect(&waitForReading, &QTimer::timeout, panel, [&] {
        if (panel->LBLVALUE->text().isEmpty())
            return;
        waitForReading.stop();
        dialogs.queueSaveFile(fileName);
        panel->CMDSAVE->click();
        panel->CMDSTART->click();
        panel->Timer4->setInterval(20);
        if (!panel->recordingOn)
            QCoreApplication::exit(1);
    });
    waitForReading.start(10);
    QTimer::singleShot(60000, [] { QCoreApplication::exit(3); });
    return QCoreApplication::exec();
}

QElapsedTimer startedNow()
{
    QElapsedTimer timer;
    timer.start();
    return timer;
}

int lastTick(const QByteArray &output)
{
    const qsizetype at = output.lastIndexOf("tick ");
    return at < 0 ? 0 : output.mid(at + 5).split('\n').first().toInt();
}

} // namespace

class PtyTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void scenario_data();
    void scenario();
    void killedWhileRecording_data();
    void killedWhileRecording();
};

void PtyTest::scenario_data()
{
    QTest::addColumn<Row>("row");
    const auto row = [](const char *name, const Row &r) { QTest::newRow(name) << r; };
    // The work itself, nothing injected (every row below checks the live
    // reading after it, the pulled download the whole download).
    row("logger status read", {Work::StatusRead});
    row("silent meter, then back", {Work::Live, Inject::Fault, 0, 0, {FaultKind::Silence}});
    // The cable pulled, plugged back in once " NO COM " shows.
    row("pulled: live reading", {Work::Live, Inject::Pull});
    row("pulled: recording", {Work::Recording, Inject::Pull});
    row("pulled: status read", {Work::StatusRead, Inject::Pull, 'Y', 5, {}, 0, true});
    row("pulled: set directory", {Work::SetList, Inject::Pull, 'I', 30, {}, 0, true});
    row("pulled: download", {Work::Download, Inject::Pull, 'K', 300, {}, 0, true});
    // Reading the meter's clock tries to open the gone port; the link-lost
    // routine must still reopen it once the cable is back.
    row("pulled: meter clock read while lost", {Work::MeterClock, Inject::ClockWhileLost, 0, 0, {}, 0, true});
    // Bad bytes on the line (each kind of broken frame is a row of the frame
    // receiver's table in tst_link; here the noise reaches the whole program).
    row("random bytes among the frames", {Work::Live, Inject::Noise, 0, 0, {}, 2, false, false});
    row("random bytes beyond the line rate", {Work::Live, Inject::Noise, 0, 0, {}, 8, false, false});
    row("status block a byte long", {Work::StatusRead, Inject::Fault, 0, 0, {FaultKind::LongStatusReply, 1}});
    row("status block a byte short", {Work::StatusRead, Inject::Fault, 0, 0, {FaultKind::ShortReply, 1}});
    row("random bytes during the status read", {Work::StatusRead, Inject::Noise, 0, 0, {}, 1, false, false});
    row("half a clock reply", {Work::MeterClock, Inject::Fault, 0, 0, {FaultKind::SilentMidReply, 1}, 0, true});
    // Frames back to back at 2400 baud: more than the polling ticks.
    row("full line rate", {Work::Live, Inject::FullRate});
    row("full line rate, recording", {Work::Recording, Inject::FullRate});
    // OPEN FILE: what is no data file is refused, the rest listed and drawn
    // (any bytes as a file: the datafile fuzz target and tst_regressions).
    const auto file = [&row](const char *name, const QByteArray &bytes, bool refused) {
        row(name, {.work = Work::OpenFile, .userTold = refused, .file = bytes});
    };
    file("endless device", "/dev/zero", true);
    file("named pipe nobody writes to", "fifo", true);
    file("a folder", "folder", true);
    file("one long line without a line end", QByteArray(1 << 20, 'x'), false);
}

void PtyTest::scenario()
{
    QFETCH(Row, row);
    emulator::LiveSettings live;
    live.code = 0x42; // "50 V"
    live.status = emulator::status::Dc | emulator::status::Auto;
    live.fixedDigits = 12340;
    live.framesPerSecond = row.inject == Inject::FullRate ? 2400.0 / 10 / live::FrameReceiver::frameLength : 10;
    Rig rig(live);
    const QString startProblem = rig.start();
    QVERIFY2(startProblem.isEmpty(), qPrintable(startProblem));
    live::PANEL &panel = rig.panel();
    const QStringList shown{panel.LBLFUN->text(), panel.LBLRAN->text(), panel.LBLAD->text(),
                            panel.LBLAUTO->text(), panel.LBLVALUE->text(), panel.LBLMAX->text()};
    QCOMPARE(shown, (QStringList{"V", "50 V", "DC", "Auto", "01.234", "01.234"}));
    auto *window = topLevel<logger::LOGGER>();
    QVERIFY(window);
    Watch watch(panel);
    bool restored = false; // the cable back in, the meter talking again
    const QString recordedFile = rig.path(QStringLiteral("rec.dat"));
    QObject::connect(panel.Timer4, &platform::Timer::tick, &watch, [&] {
        if (panel.recordingOn)
            rig.linesPerStart.last() = panel.Label1->text().trimmed().toInt();
    });
    if (row.work == Work::Recording) {
        const QString problem = rig.startRecording(recordedFile);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(waitFor([&] { return rig.linesPerStart.last() >= 3; }, 5000));
    }
    if (row.work == Work::SetList || row.work == Work::Download || row.work == Work::MeterClock)
        QVERIFY(rig.openLogger(*window));
    if (row.work == Work::Download) {
        window->SSCommand1->click();
        QCOMPARE(window->Label2->text(), QStringLiteral("4"));
    }
    QList<int> leftAfterTick; // bytes unread after each polling tick
    QObject::connect(panel.Timer6, &platform::Timer::tick, &watch,
                     [&] { leftAfterTick.append(rig.program->port()->bytesWaiting()); });

    switch (row.inject) {
    case Inject::Nothing:
    case Inject::FullRate: break;
    case Inject::Pull:
        watch.onNoCom = [&] { restored = rig.tap.plugIn(); };
        if (!row.after) {
            rig.tap.pull();
            break;
        }
        rig.tap.setProgramBytesHook([&](const QByteArray &bytes) {
            if (!bytes.contains(row.after))
                return;
            rig.tap.setProgramBytesHook({});
            QTimer::singleShot(row.delayMs, &rig.tap, [&] { rig.tap.pull(); });
        });
        break;
    case Inject::ClockWhileLost:
        watch.onNoCom = [&] {
            window->SSCommand6->click(); // TIME OF METER
            restored = rig.tap.plugIn();
        };
        rig.tap.pull();
        break;
    case Inject::Fault:
        rig.meter.setFault(row.fault);
        if (row.fault.kind == FaultKind::Silence)
            watch.onNoCom = [&] {
                rig.meter.clearFault();
                restored = true;
            };
        break;
    case Inject::Noise: rig.tap.injectNoise(1.0, row.noisePerTick); break;
    }

    switch (row.work) {
    case Work::Live:
    case Work::Recording:
    case Work::MeterClock:
        if (row.work == Work::MeterClock && row.inject == Inject::Fault)
            window->SSCommand6->click(); // the exchange runs inside the click
        QVERIFY(waitFor([&, since = startedNow()] {
            return since.elapsed() > (row.inject == Inject::FullRate ? 3000 : 1000) && !rig.tap.injectingNoise();
        }, 10000));
        break;
    case Work::StatusRead:
        panel.CMDMEMORY->click();
        QVERIFY(row.inject == Inject::Pull || waitFor([&] { return (!window->Label4->text().isEmpty() || !window->isLoaded()) && panel.Timer6->isEnabled(); },
                        20000));
        if (row.inject == Inject::Nothing)
            QCOMPARE((QStringList{window->Label4->text(), window->Text3->text(), window->Text2->text()}),
                     (QStringList{"256 K", "4711", "3  sec"}));
        break;
    case Work::SetList: window->SSCommand1->click(); break;
    case Work::Download:
        window->Text1->clear();
        window->Text1->setText(QStringLiteral("2"));
        window->SSCommand3->click(); // the whole download runs inside the click
        if (row.inject == Inject::Pull) // no list of a cut download
            QVERIFY(!topLevel<reclist::REC_LIST>() || !topLevel<reclist::REC_LIST>()->isVisible());
        break;
    case Work::OpenFile: {
        const QString name = badFile(rig, row.file);
        QVERIFY(!name.isEmpty());
        rig.dialogs.queueOpenFile(name);
        panel.CMDOPEN->click(); // reads the whole file inside the click
        auto *list = topLevel<recording::MEMORYLIST>();
        if (row.userTold) {
            QCOMPARE(rig.dialogs.messageTexts(), QStringList{"File " + name + " not exist !"});
            QVERIFY(!list || !list->isVisible());
            break;
        }
        QVERIFY(list && list->isVisible() && list->list().recordCount() > 0 && rig.dialogs.messages().isEmpty());
        list->MNUGRAPH->trigger(); // draws whatever the rows hold (or says there is one record)
        auto *graph = topLevel<graphs::MEMORY_GRAPH>();
        QVERIFY(graph && (graph->isVisible() || (list->list().recordCount() == 1 && rig.dialogs.messages().size() == 1)));
        list->close();
        break;
    }
    }

    const bool lost = row.inject == Inject::Pull || row.inject == Inject::ClockWhileLost
                      || row.fault.kind == FaultKind::Silence;
    QVERIFY2(waitFor([&] { return (restored || !lost) && panel.LBLCOMM->text() == QLatin1String("Com1"); }, 15000),
             qPrintable(panel.LBLCOMM->text()));
    QCOMPARE(watch.sawNoCom, lost);
    QVERIFY(!watch.memoryEnabledWhileLost);
    rig.meter.clearFault();
    QVERIFY(waitFor([&] { return !rig.tap.injectingNoise(); }, 5000));
    if (row.work != Work::OpenFile)
        QCOMPARE(rig.dialogs.messageTexts().isEmpty(), !row.userTold);
    if (row.inject == Inject::FullRate) {
        // A program taking one frame a tick would fall ~100 bytes behind a second.
        QVERIFY(leftAfterTick.size() >= 20);
        const QList<int> lastSecond = leftAfterTick.mid(leftAfterTick.size() - 20);
        QVERIFY(*std::min_element(lastSecond.begin(), lastSecond.end()) < 2 * live::FrameReceiver::frameLength);
    }

    if (window->isLoaded()) {
        // The logger window's own buttons work (again).
        window->SSCommand1->click();
        QCOMPARE(window->setList().rowCount(), 4);
        QCOMPARE(window->setList().cell(2, 1), QStringLiteral("00-02-28----23:59:55"));
        if (row.work == Work::Download) {
            window->Text1->clear();
            window->Text1->setText(QStringLiteral("2"));
            QCOMPARE(window->Label5->text(), QStringLiteral("50"));
            window->SSCommand3->click();
            auto *list = topLevel<reclist::REC_LIST>();
            QVERIFY(list && list->isVisible());
            QCOMPARE(list->list().recordCount(), 50);
            QCOMPARE(list->SSPANEL1->text(), QStringLiteral("50  RECORDS IN NO. 2  SET"));
            QCOMPARE(list->list().record(8).fields,
                     (std::array<QString, 8>{"8", "24-03-14", "12:31:25", "-12.777", "V", "50 V", "DC", ""}));
            QCOMPARE(list->list().record(34).fields,
                     (std::array<QString, 8>{"34", "24-03-14", "12:35:45", " 15.663", "V", "50 V", "DC", " Low "}));
        }
        window->close();
    }
    // Faults on the line leave the port alone: the logger exchange is put
    // to work again after faults in an exchange or a lost port.
    const bool logger = row.inject == Inject::Pull || row.inject == Inject::ClockWhileLost
                        || ((row.inject == Inject::Fault || row.inject == Inject::Noise) && row.work != Work::Live);
    const QString problem = recoveryProblem(rig, *window, logger);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY2(watch.longestMs < 3000, qPrintable(QString::number(watch.longestMs)));
    if (row.onlyTrue)
        QVERIFY2(watch.values.subtract(QSet<QString>{QStringLiteral("01.234"), QString(), recovered}).isEmpty(),
                 qPrintable(QStringList(watch.values.values()).join(u'|')));

    if (row.work == Work::Recording && row.inject == Inject::Pull) {
        // The lost link stopped the recording, every line ticked is whole,
        // and recording starts again into the same file.
        QVERIFY(!panel.recordingOn);
        QString fileProblem = recordedFileProblem(recordedFile, rig.linesPerStart, QStringLiteral("V"));
        QVERIFY2(fileProblem.isEmpty(), qPrintable(fileProblem));
        fileProblem = rig.startRecording(recordedFile);
        QVERIFY2(fileProblem.isEmpty(), qPrintable(fileProblem));
        QVERIFY(waitFor([&] { return rig.linesPerStart.last() >= 1; }, 5000));
        panel.CMDSTOP->click();
        fileProblem = recordedFileProblem(recordedFile, rig.linesPerStart, QStringLiteral("V"));
        QVERIFY2(fileProblem.isEmpty(), qPrintable(fileProblem));
    }
    if (row.work == Work::Recording && row.inject == Inject::FullRate)
        QVERIFY(panel.recordingOn);
}

// Killed (SIGKILL, no clean-up) while recording: every line whose tick ran
// is in the file, whole; it may hold one line more (written, killed before
// it was told), never a line cut short.
void PtyTest::killedWhileRecording_data()
{
    const QByteArray older = "1\t26-05-31\t14:03:07\t 123.45\tmV\t500 mV\tDC\t\r\n"
                             "2\t26-05-31\t14:03:09\t 123.46\tmV\t500 mV\tDC\t\r\n";
    QTest::addColumn<int>("ticksBeforeKill");
    QTest::addColumn<QByteArray>("old"); // the file before: empty, or two lines and maybe a broken one
    QTest::newRow("after the first line") << 1 << QByteArray();
    QTest::newRow("after some lines") << 12 << QByteArray();
    QTest::newRow("appending to one killed inside a line") << 5 << older + "3\t26-05-31\t14:0";
}

void PtyTest::killedWhileRecording()
{
    QFETCH(int, ticksBeforeKill);
    QFETCH(QByteArray, old);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("killed.dat"));
    QList<int> linesPerStart;
    if (!old.isEmpty()) {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        linesPerStart.append(2);
    }
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--record"), fileName});
    QVERIFY2(child.waitForStarted(10000), qPrintable(child.errorString()));
    QByteArray output;
    bool killed = false;
    QObject::connect(&child, &QProcess::readyReadStandardOutput, &child, [&] {
        output += child.readAllStandardOutput();
        if (!killed && lastTick(output) >= ticksBeforeKill)
            killed = ::kill(pid_t(child.processId()), SIGKILL) == 0;
    });
    QVERIFY(waitFor([&] { return killed || child.state() == QProcess::NotRunning; }, 20000));
    QVERIFY2(killed, child.readAllStandardError().constData());
    QVERIFY(child.waitForFinished(10000));
    output += child.readAllStandardOutput();
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const int recorded = int(file.readAll().count('\n')) - (old.isEmpty() ? 0 : 2);
    const int reported = lastTick(output);
    QVERIFY2(recorded == reported || recorded == reported + 1, qPrintable(QString::number(recorded)));
    linesPerStart.append(recorded);
    const QString problem = recordedFileProblem(fileName, linesPerStart, QStringLiteral("mV"));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--record") == 0)
        return recordUntilKilled(QString::fromLocal8Bit(argv[2]));
    PtyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pty.moc"
