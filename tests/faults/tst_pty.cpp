// The whole program against the emulated meter over a pseudo-terminal: what
// only a real device shows (a device gone and back, the line at full rate,
// device files that are no data file, a kill while recording). Run as
// `tst_pty --record FILE` it is the program recording, for the rows that kill it.

#include "app/application.h"
#include "emulator/meteremulator.h"
#include "emulator/ptyserver.h"
#include "link/framereceiver.h"
#include "link/ui/panel.h"
#include "logger/ui/logger.h"
#include "platform/timer.h"
#include "reclist/ui/reclistwindow.h"
#include "recording/recordlistmodel.h"
#include "recording/ui/memorylist.h"
#include "support/recordedfile.h"
#include "support/scripteddialogs.h"

#include <QApplication>
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
#include <sys/stat.h>

namespace {

using testsupport::verifyRecordedFile;

enum class Work { Live, Recording, Logger, OpenFile };
enum class Inject { Nothing, Pull, ClockWhileLost, Garbage, FullRate };

struct Row { Work work; Inject inject = Inject::Nothing; QString file = {}; }; // file: a path, "fifo" or "folder"

const QString first = QStringLiteral("01.234"), recovered = QStringLiteral("04.321");

app::Options optionsFor(const QString &device)
{
    app::Options options;
    options.com1Device = device;
    options.select = 1;
    return options;
}

// Records as the user does, a tick every `tickMs`.
bool startRecording(live::PANEL &panel, testsupport::ScriptedDialogs &dialogs, const QString &fileName, int tickMs)
{
    dialogs.queueSaveFile(fileName);
    panel.CMDSAVE->click();
    panel.CMDSTART->click();
    panel.Timer4->setInterval(tickMs);
    return panel.recordingOn;
}

template <typename Window>
Window *topLevel()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *found = qobject_cast<Window *>(window))
            return found;
    return nullptr;
}

struct Rig
{
    explicit Rig(bool fullRate) // "50 V" DC, its logger the emulator's sample
    {
        meter.setLive({.code = 0x42, .fixedDigits = 12340, .framesPerSecond = fullRate ? 2400.0 / 10 / live::FrameReceiver::frameLength : 10});
    }
    ~Rig()
    {
        if (program && program->panel())
            program->panel()->close();
    }

    void start()
    {
        QVERIFY2(plugIn(), qPrintable(server.errorText()));
        program = std::make_unique<app::Application>(optionsFor(device), &dialogs);
        program->start();
        QVERIFY2(program->panel() && QTest::qWaitFor([this] { return !panel().LBLVALUE->text().isEmpty(); }, 5000),
                 qPrintable(dialogs.messageTexts().join(u'|')));
        QVERIFY(window = topLevel<logger::LOGGER>());
    }
    bool plugIn() { return server.open() && server.makeLink(device); }

    // What the program shows, sampled by a timer (the test may be inside a
    // handler): every reading, the link lost, MEMORY enabled while lost; what
    // is to happen once the link counts as lost is done from here.
    void startWatching()
    {
        QObject::connect(&watch, &QTimer::timeout, &watch, [this] {
            values.insert(panel().LBLVALUE->text());
            if (panel().LBLCOMM->text() != QLatin1String(" NO COM "))
                return;
            sawNoCom = true;
            memoryEnabledWhileLost = memoryEnabledWhileLost || panel().CMDMEMORY->isEnabled();
            if (onNoCom)
                std::exchange(onNoCom, {})();
        });
        watch.start(10);
    }
    live::PANEL &panel() const { return *program->panel(); }

    bool openLogger() // MEMORY: the status read over the line
    {
        window->Label4->clear();
        panel().CMDMEMORY->click();
        return QTest::qWaitFor([&] { return !window->Label4->text().isEmpty() && panel().Timer6->isEnabled(); }, 8000);
    }

    bool startRecording() { return ::startRecording(panel(), dialogs, recorded, 100); }

    // Back to normal: "Com1", the meter's next reading shown, the buttons on,
    // RESET takes the reading and, after a lost link, MEMORY's status read
    // succeeds and closing the logger window gives the line back.
    void checkRecovery(bool lost)
    {
        emulator::LiveSettings live = meter.live();
        live.fixedDigits = 43210;
        meter.setLive(live);
        QVERIFY2(QTest::qWaitFor([&] { return panel().LBLVALUE->text() == recovered; }, 10000), qPrintable(panel().LBLVALUE->text()));
        for (QWidget *button : {panel().CMDGRAPH, panel().CMDLIST, panel().CMDANALOG, panel().CMDMEMORY})
            QVERIFY(button->isEnabled() && panel().Timer6->isEnabled() && panel().LBLCOMM->text() == QLatin1String("Com1"));
        panel().CMDRESET->click();
        QVERIFY2(panel().LBLMAX->text() == recovered && panel().LBLMIN->text() == recovered, "RESET did not take the reading");
        const qsizetype told = dialogs.messages().size();
        QVERIFY2(!lost || (openLogger() && dialogs.messages().size() == told), qPrintable(dialogs.messageTexts().join(u'|')));
        window->close();
        panel().LBLVALUE->clear();
        QVERIFY2(panel().CMDMEMORY->isEnabled() && QTest::qWaitFor([&] { return panel().LBLVALUE->text() == recovered; }, 5000),
                 "no live reading after the logger window closed");
    }

    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("ttyUSB0"));
    const QString recorded = dir.filePath(QStringLiteral("rec.dat"));
    emulator::MeterEmulator meter;
    emulator::PtyServer server{meter};
    testsupport::ScriptedDialogs dialogs;
    std::unique_ptr<app::Application> program;
    logger::LOGGER *window = nullptr;
    QTimer watch;
    QSet<QString> values;
    bool sawNoCom = false, memoryEnabledWhileLost = false;
    std::function<void()> onNoCom;
};

// The program recording from the built-in emulated meter, a tick every 20 ms,
// printing "tick N" once line N is written, until it is killed.
int recordUntilKilled(const QString &fileName)
{
    testsupport::ScriptedDialogs dialogs;
    app::Application program(optionsFor(app::emulatorDevice), &dialogs);
    program.start();
    live::PANEL *panel = program.panel();
    if (!panel)
        return 1;
    bool started = false;
    QObject::connect(panel->Timer4, &platform::Timer::tick, panel, [&] {
        std::printf("tick %d\n", panel->Label1->text().trimmed().toInt());
        std::fflush(stdout);
    });
    QObject::connect(panel, &live::PANEL::frameShown, panel, [&] {
        if (!std::exchange(started, true) && !startRecording(*panel, dialogs, fileName, 20))
            QCoreApplication::exit(1);
    });
    QTimer::singleShot(60000, [] { QCoreApplication::exit(3); });
    return QCoreApplication::exec();
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
    void scenario_data()
    {
        QTest::addColumn<Row>("row");
        const auto row = [](const char *name, const Row &r) { QTest::newRow(name) << r; };
        row("pulled: recording", {Work::Recording, Inject::Pull});
        // Reading the meter's clock tries to open the gone port; the link-lost
        // routine must still reopen it once the device is back.
        row("pulled: meter clock read while lost", {Work::Logger, Inject::ClockWhileLost});
        row("noise instead of frames", {Work::Live, Inject::Garbage});
        // Frames back to back at 2400 baud: more than one a polling tick.
        row("full line rate, recording", {Work::Recording, Inject::FullRate});
        row("status read and download", {Work::Logger});
        row("OPEN FILE: endless device", {Work::OpenFile, Inject::Nothing, "/dev/zero"});
        row("OPEN FILE: named pipe nobody writes to", {Work::OpenFile, Inject::Nothing, "fifo"});
        row("OPEN FILE: a folder", {Work::OpenFile, Inject::Nothing, "folder"});
    }

    void scenario()
    {
        QFETCH(Row, row);
        Rig rig(row.inject == Inject::FullRate);
        rig.start();
        if (QTest::currentTestFailed())
            return;
        live::PANEL &panel = rig.panel();
        QCOMPARE((QStringList{panel.LBLFUN->text(), panel.LBLRAN->text(), panel.LBLAD->text(), panel.LBLAUTO->text(), panel.LBLVALUE->text(), panel.LBLMAX->text()}),
                 (QStringList{"V", "50 V", "DC", "Auto", first, first}));
        rig.startWatching();
        int ticked = 0; // lines recorded, read after the recording's handler
        QObject::connect(panel.Timer4, &platform::Timer::tick, &rig.watch, [&] { ticked = panel.recordingOn ? panel.Label1->text().trimmed().toInt() : ticked; });
        QVERIFY(row.work != Work::Recording || (rig.startRecording() && QTest::qWaitFor([&] { return ticked >= 3; }, 5000)));
        QVERIFY(row.work != Work::Logger || rig.openLogger());
        QList<int> leftAfterTick; // bytes unread after each polling tick
        QObject::connect(panel.Timer6, &platform::Timer::tick, &rig.watch, [&] { leftAfterTick.append(rig.program->port()->bytesWaiting()); });
        bool restored = false;
        if (row.inject == Inject::Pull || row.inject == Inject::ClockWhileLost) {
            rig.onNoCom = [&] {
                if (row.inject == Inject::ClockWhileLost)
                    rig.window->SSCommand6->click(); // TIME OF METER
                restored = rig.plugIn();
            };
            rig.server.close();
        }
        if (row.inject == Inject::Garbage)
            rig.meter.setFault({emulator::FaultKind::Garbage, 10, 40});
        if (row.work == Work::OpenFile) {
            const QString fifo = rig.dir.filePath(QStringLiteral("fifo.dat"));
            QVERIFY(row.file != QLatin1String("fifo") || ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
            const QString name = row.file == QLatin1String("fifo") ? fifo : row.file == QLatin1String("folder") ? rig.dir.path() : row.file;
            rig.dialogs.queueOpenFile(name);
            panel.CMDOPEN->click(); // reads the whole file inside the click
            QCOMPARE(rig.dialogs.messageTexts(), QStringList{"File " + name + " not exist !"});
            QVERIFY(!topLevel<recording::MEMORYLIST>() || !topLevel<recording::MEMORYLIST>()->isVisible());
        } else {
            QTest::qWait(row.inject == Inject::FullRate ? 3000 : 1500);
        }

        const bool lost = row.inject == Inject::Pull || row.inject == Inject::ClockWhileLost;
        QVERIFY2(QTest::qWaitFor([&] { return (restored || !lost) && panel.LBLCOMM->text() == QLatin1String("Com1"); }, 15000),
                 qPrintable(panel.LBLCOMM->text()));
        QCOMPARE(rig.sawNoCom, lost);
        QVERIFY(!rig.memoryEnabledWhileLost);
        if (row.work != Work::OpenFile)
            QCOMPARE(rig.dialogs.messageTexts().isEmpty(), row.inject != Inject::ClockWhileLost);
        if (row.inject == Inject::FullRate) {
            // A program taking one frame a tick would fall ~100 bytes behind a second.
            QVERIFY(leftAfterTick.size() >= 20 && panel.recordingOn);
            const QList<int> lastSecond = leftAfterTick.mid(leftAfterTick.size() - 20);
            QVERIFY(*std::min_element(lastSecond.begin(), lastSecond.end()) < 2 * live::FrameReceiver::frameLength);
        }
        if (rig.window->isLoaded()) { // the logger window's own buttons work (again)
            rig.window->SSCommand1->click();
            QCOMPARE(rig.window->setList().cell(2, 1), QStringLiteral("00-02-28----23:59:55"));
        }
        if (row.work == Work::Logger && !lost) { // a whole download
            rig.window->Text1->clear();
            rig.window->Text1->setText(QStringLiteral("2"));
            rig.window->SSCommand3->click();
            auto *list = topLevel<reclist::REC_LIST>();
            QVERIFY(list && list->isVisible());
            QCOMPARE(list->SSPANEL1->text(), QStringLiteral("50  RECORDS IN NO. 2  SET"));
            QCOMPARE(list->list().record(34).fields,
                     (std::array<QString, 8>{"34", "24-03-14", "12:35:45", " 15.663", "V", "50 V", "DC", " Low "}));
            QCOMPARE((QStringList{rig.window->Label4->text(), rig.window->Text3->text(), rig.window->Text2->text()}),
                     (QStringList{"128 K", "1234", "2  sec"}));
        }
        rig.checkRecovery(lost);
        if (QTest::currentTestFailed())
            return;
        // No reading shown that the meter did not send.
        QVERIFY2(rig.values.subtract({first, QString(), recovered}).isEmpty(), qPrintable(QStringList(rig.values.values()).join(u'|')));
        if (row.work == Work::Recording && lost) {
            // The lost link stopped the recording, every line ticked is whole, and
            // recording starts again into the same file.
            QVERIFY(!panel.recordingOn);
            verifyRecordedFile(rig.recorded, ticked);
            const QByteArray before = testsupport::fileBytes(rig.recorded);
            ticked = 0;
            QVERIFY(rig.startRecording() && QTest::qWaitFor([&] { return ticked >= 1; }, 5000));
            panel.CMDSTOP->click();
            verifyRecordedFile(rig.recorded, ticked, before);
        }
    }

    // Killed (SIGKILL) while recording: every line whose tick ran is in the
    // file, whole; there may be one more (killed before it was told), none cut short.
    void killedWhileRecording_data()
    {
        QTest::addColumn<int>("ticksBeforeKill");
        QTest::addColumn<QByteArray>("old"); // the file before
        QTest::newRow("after some lines") << 12 << QByteArray();
        QTest::newRow("appending to one killed inside a line") << 5 << QByteArray("1\t26-05-31\t14:03:07\t 123.45\tmV\t500 mV\tDC\t\r\n3\t26-05-31\t14:0");
    }

    void killedWhileRecording()
    {
        QFETCH(int, ticksBeforeKill);
        QFETCH(QByteArray, old);
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("killed.dat"));
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--record"), fileName});
        QByteArray output;
        bool killed = false;
        QObject::connect(&child, &QProcess::readyReadStandardOutput, &child, [&] {
            output += child.readAllStandardOutput();
            if (!killed && lastTick(output) >= ticksBeforeKill)
                killed = ::kill(pid_t(child.processId()), SIGKILL) == 0;
        });
        QVERIFY2(child.waitForStarted(10000) && QTest::qWaitFor([&] { return child.state() == QProcess::NotRunning; }, 20000),
                 qPrintable(child.errorString()));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        // The line cut short in the old file is taken back.
        const QByteArray kept = old.left(old.lastIndexOf('\n') + 1);
        const int recorded = int(testsupport::fileBytes(fileName).mid(kept.size()).count('\n'));
        QVERIFY2(recorded == lastTick(output) || recorded == lastTick(output) + 1, qPrintable(QString::number(recorded)));
        verifyRecordedFile(fileName, recorded, kept);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--record") == 0)
        return recordUntilKilled(QString::fromLocal8Bit(argv[2]));
    PtyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pty.moc"
