// The platform adapters at their seams, and the emulator's refusals and its
// stream across clock steps.

#include "emulator/emulatorport.h"
#include "platform/appsettings.h"
#include "platform/devices.h"
#include "platform/qt/openfailure.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/qtprinter.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/serialsettings.h"
#include "platform/qt/systemclock.h"
#include "platform/wait.h"
#include "support/scriptedclock.h"
#include "support/scriptedpump.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using platform::DetectedPort;
using Settings = platform::SerialSettings;
using S = QSerialPort;
using emulator::MeterEmulator;

namespace {

// A pseudo-terminal pair in raw mode: the port under test opens the slave by
// its path, the test plays the meter on the master and keeps its own slave
// descriptor open (so the device stays) without reading it.
class Pty
{
public:
    Pty()
    {
        termios raw{};
        cfmakeraw(&raw);
        char name[256] = {};
        if (openpty(&master_, &slave_, name, &raw, nullptr) == 0)
            path_ = QString::fromLocal8Bit(name);
    }
    ~Pty() { ::close(master_), ::close(slave_); }
    bool ok() const { return !path_.isEmpty(); }
    QString path() const { return path_; }
    int slave() const { return slave_; }
    bool write(const QByteArray &bytes) const { return ::write(master_, bytes.constData(), size_t(bytes.size())) == bytes.size(); }
    QByteArray readMaster(qsizetype count) const
    {
        QByteArray got;
        char buffer[256];
        for (pollfd p{master_, POLLIN, 0}; got.size() < count && ::poll(&p, 1, 5000) > 0;) {
            const auto n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            got.append(buffer, n);
        }
        return got;
    }
    // Waits (about 5 s at most) until `count` bytes are readable on the slave, without taking them.
    bool waitArrived(int count) const
    {
        int queued = 0;
        for (int round = 0; round < 500 && (::ioctl(slave_, FIONREAD, &queued) != 0 || queued < count); ++round)
            ::usleep(10'000);
        return queued >= count;
    }

private:
    int master_ = -1, slave_ = -1;
    QString path_;
};

struct PortOn : platform::QtSerialPort
{
    explicit PortOn(const QString &path, const QString &settings = "2400,N,8,1") : QtSerialPort({{1, path}})
    {
        setCommPort(1);
        setSettings(settings);
    }
};

struct ChoiceRow { QString argument, remembered; QList<DetectedPort> detected; QString com1, com2; };
// An open that fails says mustSay ("pty": the pseudo-terminal's path, "!text":
// not said); one that works shows speed and stop bits on the device (a pty
// keeps 8 data bits without parity) and carries the bytes both ways.
struct PortRow { QString settings, changedTo; int commPort; bool holdOpenFirst; QStringList mustSay; int speed = 0; bool twoStops = false; QByteArray bytes = {}; };
// waitUntil when readyAfter is set (< 0: never ready), else waitSeconds; the
// wall clock stepped 0.1 s into the wait; the pump ending after (0: before, < 0: never).
struct WaitRow { double start, seconds; std::optional<double> readyAfter; double wallStep, endingAfter; bool completed; double minElapsed, maxElapsed; };
// bytesAtStep: what the line carries in the time stepped over.
struct StreamRow { double rate, start, stepTo; int bytesAtStep; };

const DetectedPort builtIn{"/dev/ttyS0", {}, {}, {}, {}};
const DetectedPort ftdi{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "0403:6001", "A50285BI"};
const DetectedPort acm{"/dev/ttyACM3", "USB CDC", "Meter Co", "1a86:7523", {}};

bool says(const QString &text, const QString &part, const QString &pty = {})
{
    const bool absent = part.startsWith(u'!');
    const QString said = part == QLatin1String("pty") ? pty : part.mid(absent ? 1 : 0);
    return text.contains(said) != absent;
}

} // namespace

Q_DECLARE_METATYPE(ChoiceRow)
Q_DECLARE_METATYPE(PortRow)
Q_DECLARE_METATYPE(WaitRow)
Q_DECLARE_METATYPE(StreamRow)
Q_DECLARE_METATYPE(std::optional<platform::SerialSettings>)

class PlatformTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir_;
private Q_SLOTS:
    // What SELECTION shows for an adapter, nothing detected and a remembered
    // device unplugged is tst_application's table; these are the remaining rules.
    void portChoice_data()
    {
        QTest::addColumn<ChoiceRow>("r");
        const auto row = [](const char *name, ChoiceRow r) { QTest::newRow(name) << r; };
        const QList<DetectedPort> two{builtIn, ftdi, acm};
        row("built-in port is no adapter", {"", "", {builtIn}, "/dev/ttyS0", "/dev/ttyS1"});
        row("two adapters in list order", {"", "", two, "/dev/ttyUSB0", "/dev/ttyACM3"});
        row("remembered and present", {"", "/dev/ttyACM3", two, "/dev/ttyACM3", "/dev/ttyACM3"});
        row("remembered emulator", {"", "emulator", {}, "emulator", "emulator"});
        row("argument beats remembered", {"/dev/pts/9", "/dev/ttyACM3", two, "/dev/pts/9", "/dev/pts/9"});
    }

    void portChoice()
    {
        QFETCH(ChoiceRow, r);
        const platform::DeviceSources sources{r.argument, r.remembered, r.detected};
        QCOMPARE((QStringList{platform::chooseDevice(1, sources), platform::chooseDevice(2, sources), platform::chooseDeviceFor(1, sources).missingRemembered}),
                 (QStringList{r.com1, r.com2, QString()}));
    }

    void settingsFile_data()
    {
        QTest::addColumn<QByteArray>("contents"); // "dir": a folder stands where the file should be
        QTest::newRow("none yet") << QByteArray();
        QTest::newRow("unclosed section") << QByteArray("[devices\ncom1=/dev/ttyUSB0\n");
        QTest::newRow("unreadable") << QByteArray("dir");
    }

    void settingsFile()
    {
        QFETCH(QByteArray, contents);
        const QString path = dir_.filePath(QStringLiteral("%1/meterlink.conf").arg(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(contents == "dir" ? path : QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(contents.isEmpty() || contents == "dir" || (file.open(QIODevice::WriteOnly) && file.write(contents) > 0));
        file.close();
        {
            platform::AppSettings settings(path);
            QVERIFY(settings.resetNotice().contains(path) == !contents.isEmpty() && settings.device(1).isEmpty());
            settings.setDevice(1, "/dev/ttyUSB0");
            settings.setDevice(2, "emulator");
            settings.setFolder("save-1", "/home/me/data files");
        }
        QCOMPARE(QFileInfo::exists(path + ".broken"), !contents.isEmpty());
        platform::AppSettings next(path); // said once: the next start finds a clean file with the new choices
        QCOMPARE(next.resetNotice(), QString());
        QCOMPARE((QStringList{next.device(1), next.device(2), next.folder("save-1"), next.folder("open-1")}),
                 (QStringList{"/dev/ttyUSB0", "emulator", "/home/me/data files", QString()}));
    }

    void fileDialogs()
    {
        using D = platform::QtDialogs;
        const QString data = "Data Files (*.dat);;All Files (*)", folder = dir_.path();
        QVERIFY(D::fileKind(true, data) != D::fileKind(false, data));
        QVERIFY(D::fileKind(true, data) != D::fileKind(true, "Data Files (*.dat);;All Files (*.*)"));
        QCOMPARE(D::startName("*.dat", folder), folder + "/*.dat");
        QCOMPARE(D::startName("", folder), folder);
        QCOMPARE(D::startName("/elsewhere/a.dat", folder), QStringLiteral("/elsewhere/a.dat"));
        QCOMPARE(D::startName("*.dat", folder + "/gone"), QStringLiteral("*.dat"));
        for (const auto &[answer, title] : {std::pair{"", ""}, {"/home/user/my data/run 2.dat", "run 2.dat"}, {"run3.dat", "run3.dat"}}) {
            const auto choice = D::choiceFor(answer);
            QCOMPARE((QStringList{choice.cancelled ? "cancelled" : "", choice.fullName, choice.fileTitle}),
                     (QStringList{*answer ? "" : "cancelled", answer, title}));
        }
    }

    void permissionMessageNamesTheDevicesGroup()
    {
        if (geteuid() != 0)
            QSKIP("Giving a file to another group takes root (CI runs as root).");
        // With no supplementary groups at all the process is in neither group.
        QCOMPARE(::setgroups(0, nullptr), 0);
        for (const QString group : {"dialout", "tty"}) {
            const struct group *entry = getgrnam(qPrintable(group));
            if (!entry)
                continue;
            const QString node = dir_.filePath("ttyMeter-" + group);
            QFile file(node);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup));
            QCOMPARE(::chown(QFile::encodeName(node).constData(), 0, entry->gr_gid), 0);
            QVERIFY(!platform::deviceGroup(node).processIsMember);
            const QString text = platform::describeOpenFailure({node, QSerialPort::PermissionError, "Permission denied", false});
            for (const QString &part : {node, QStringLiteral("Permission denied"), "group " + group, QStringLiteral("not in it"),
                                        "sudo usermod -aG " + group + " $USER", QStringLiteral("log out and log in again")})
                QVERIFY2(text.contains(part), qPrintable(part + ": " + text));
        }
    }

    void parseSettings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<Settings>>("parsed");
        QTest::newRow("meter line") << "2400,N,8,1" << std::optional(Settings{2400, S::NoParity, S::Data8, S::OneStop});
        QTest::newRow("even 7 2, lower case") << "9600,e,7,2" << std::optional(Settings{9600, S::EvenParity, S::Data7, S::TwoStop});
        QTest::newRow("odd 5 1.5") << "1200,O,5,1.5" << std::optional(Settings{1200, S::OddParity, S::Data5, S::OneAndHalfStop});
        QTest::newRow("mark, blanks") << " 300 , M , 6 , 1 " << std::optional(Settings{300, S::MarkParity, S::Data6, S::OneStop});
        for (const char *text : {"", "2400,N,8", "2400,N,8,1,X", "2400,X,8,1", "2400,N,9,1", "2400,N,8,3", "0,N,8,1", "2400,,8,1"})
            QTest::addRow("invalid \"%s\"", text) << text << std::optional<Settings>();
    }

    void parseSettings()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<Settings>, parsed);
        QVERIFY(platform::parseSerialSettings(text) == parsed);
    }

    void serialPort_data()
    {
        QTest::addColumn<PortRow>("r");
        const auto row = [](const char *name, PortRow r) { QTest::newRow(name) << r; };
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        row("9600,N,8,2, a live frame", {"9600,N,8,2", "", 1, false, {}, int(B9600), true, QByteArray::fromHex("02411234050003")});
        row("changed while open, every byte value", {"9600,N,8,2", "1200,N,8,1", 1, false, {}, int(B1200), false, all});
        row("invalid change ignored", {"4800,N,8,1", "1200,N,9,1", 1, false, {}, int(B4800), false, "A"});
        row("second open is busy", {"2400,N,8,1", "", 1, true, {"pty", "busy", "!dialout"}});
        row("unmapped port number", {"2400,N,8,1", "", 3, false, {"COM3"}});
        row("invalid settings", {"2400,Q,8,1", "", 1, false, {"2400,Q,8,1"}});
    }

    void serialPort()
    {
        QFETCH(PortRow, r);
        Pty pty;
        QVERIFY(pty.ok());
        PortOn first(pty.path());
        QVERIFY(!r.holdOpenFirst || first.open());
        PortOn port(pty.path(), r.settings);
        port.setCommPort(r.commPort);
        if (!r.mustSay.isEmpty()) {
            QVERIFY(!port.open() && !port.isOpen());
            for (const QString &part : r.mustSay)
                QVERIFY2(says(port.errorText(), part, pty.path()), qPrintable(part + ": " + port.errorText()));
            QVERIFY(port.bytesWaiting() == 0 && port.read(0).isEmpty());
            port.send(" "); // harmless on a closed port
            QCOMPARE(first.isOpen(), r.holdOpenFirst);
            return;
        }
        QVERIFY2(port.open() && port.deviceName() == pty.path(), qPrintable(port.errorText()));
        if (!r.changedTo.isEmpty())
            port.setSettings(r.changedTo);
        termios t{};
        QCOMPARE(tcgetattr(pty.slave(), &t), 0);
        QCOMPARE((QList<int>{int(cfgetospeed(&t)), int(t.c_cflag & CSIZE), bool(t.c_cflag & CSTOPB)}), (QList<int>{r.speed, int(CS8), r.twoStops}));
        QVERIFY(!(t.c_cflag & CRTSCTS) && !(t.c_iflag & (IXON | IXOFF)));
        const auto size = int(r.bytes.size());
        port.send(r.bytes);
        QCOMPARE(pty.readMaster(size), r.bytes);
        // No event is handled between the bytes arriving and the question.
        QVERIFY(pty.write(r.bytes) && pty.waitArrived(size));
        QCOMPARE(port.bytesWaiting(), size);
        QCOMPARE(port.read(1), r.bytes.left(1));
        // More while some are buffered: the next read gets them all, and no more than is there.
        QVERIFY(pty.write("xyz") && pty.waitArrived(3));
        QCOMPARE(port.read(size + 10), r.bytes.mid(1) + "xyz");
        QCOMPARE(port.read(0), QByteArray());
        port.close(); // closing releases the device: another port object may take it
        PortOn other(pty.path());
        QVERIFY2(!port.isOpen() && other.open(), qPrintable(other.errorText()));
    }

    void waits_data()
    {
        // Max elapsed: within one pump step of the end. Setting the time of day
        // mid-wait neither ends a wait nor stretches it.
        QTest::addColumn<WaitRow>("r");
        const auto row = [](const char *name, WaitRow r) { QTest::newRow(name) << r; };
        const std::optional<double> seconds;
        row("half second at noon", {43200.0, 0.5, seconds, 0.0, -1.0, true, 0.5, 0.51});
        row("zero seconds: one short step", {1000.0, 0.0, seconds, 0.0, -1.0, true, 0.001, 0.001});
        row("across midnight", {86399.9, 0.5, seconds, 0.0, -1.0, true, 0.5, 0.51});
        row("clock set back an hour", {1800.0, 0.5, seconds, -3600.0, -1.0, true, 0.5, 0.51});
        row("clock set forward an hour", {43200.0, 0.5, seconds, 3600.0, -1.0, true, 0.5, 0.51});
        row("program ending stops it", {1000.0, 0.5, seconds, 0.0, 0.2, false, 0.2, 0.21});
        row("already ending: no step", {1000.0, 10.0, seconds, 0.0, 0.0, false, 0.0, 0.0});
        row("ready at once", {1000.0, 1.0, 0.0, 0.0, -1.0, true, 0.0, 0.0});
        row("ready after 0.3 s", {1000.0, 1.0, 0.3, 0.0, -1.0, true, 0.3, 0.31});
        row("ready too late", {1000.0, 0.5, 0.8, 0.0, -1.0, false, 0.5, 0.51});
        row("summer time begins: no early time-out", {7199.9, 1.0, 0.5, 3600.0, -1.0, true, 0.5, 0.51});
        row("clock set back: time-out on time", {43200.0, 0.5, -1.0, -60.0, -1.0, false, 0.5, 0.51});
        row("program ending stops the condition", {1000.0, 5.0, -1.0, 0.0, 0.1, false, 0.1, 0.11});
    }

    void waits()
    {
        QFETCH(WaitRow, r);
        testsupport::ScriptedClock clock(r.start);
        testsupport::ScriptedPump pump(clock);
        bool ready = r.readyAfter == 0.0;
        if (r.readyAfter > 0)
            pump.after(*r.readyAfter, [&] { ready = true; });
        if (r.endingAfter == 0)
            pump.setEnding(true);
        else if (r.endingAfter > 0)
            pump.after(r.endingAfter, [&pump] { pump.setEnding(true); });
        if (r.wallStep != 0)
            pump.after(0.1, [&clock, &r] { clock.stepWallClock(r.wallStep); });
        const bool completed = r.readyAfter ? platform::waitUntil([&] { return ready; }, r.seconds, clock, pump)
                                            : platform::waitSeconds(float(r.seconds), clock, pump);
        QCOMPARE(completed, r.completed);
        QVERIFY2(pump.advanced() >= r.minElapsed - 1e-9 && pump.advanced() <= r.maxElapsed + 1e-9, qPrintable(QString::number(pump.advanced(), 'f', 4)));
    }

    // On the real clock: only order, early ends and lower bounds. A pump that ignored
    // requestEnd() would sit in an hour-long wait until the test time-out.
    void qtEventPump()
    {
        platform::QtEventPump pump;
        bool innerReturned = false, ranAfterEnd = false;
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
        QVERIFY(innerReturned && pump.ending());
        QCOMPARE(ticks, 3);
        QTimer later; // a wait after the end returns without running the loop at all
        later.setSingleShot(true);
        connect(&later, &QTimer::timeout, this, [&] { ranAfterEnd = true; });
        later.start(0);
        pump.runFor(3600);
        QVERIFY(!ranAfterEnd);
        platform::SystemClock clock; // a wait never ends early
        platform::QtEventPump fresh;
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(platform::waitSeconds(0.05f, clock, fresh));
        QVERIFY2(elapsed.elapsed() >= 48, qPrintable(QString::number(elapsed.elapsed()))); // whole milliseconds
    }

    // Three pages ended, or a job stopped part way: a stopped job leaves no PDF,
    // and an older file as it was; a file that cannot be written is named.
    void pdfJob_data()
    {
        QTest::addColumn<QByteArray>("before"); // empty: no file
        QTest::addColumn<int>("ending");        // 0 end(), 1 abort(), 2 dropped, 3 unwritable
        for (const auto &[name, before, ending] : {std::tuple{"three pages ended", "", 0}, {"aborted", "", 1}, {"dropped", "", 2}, {"aborted over an older PDF", "%PDF older", 1}, {"unwritable", "", 3}})
            QTest::newRow(name) << QByteArray(before) << ending;
    }

    void pdfJob()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, ending);
        QTemporaryDir dir;
        const QString file = ending == 3 ? "/nonexistent-meterlink-folder/list.pdf" : dir.filePath("list.pdf");
        QFile old(file);
        QVERIFY(before.isEmpty() || (old.open(QIODevice::WriteOnly) && old.write(before) == before.size()));
        old.close();
        auto job = platform::QtPrinter::toPdf(file);
        QPainter *painter = job->begin("RECORDS");
        if (ending == 3) {
            QVERIFY2(!painter && !job->newPage() && !job->end() && job->errorText().contains(file), qPrintable(job->errorText()));
            return;
        }
        QVERIFY2(painter, qPrintable(job->errorText()));
        for (int page = 0; page < 3; ++page) {
            QVERIFY(page == 0 || job->newPage());
            painter->drawText(QPointF(100, 200), QStringLiteral("REC     DATE"));
        }
        QVERIFY(!job->begin("B") && !job->errorText().isEmpty()); // one document at a time
        if (ending == 0)
            QVERIFY(job->end());
        else if (ending == 1)
            job->abort();
        else
            job.reset();
        QFile pdf(file);
        const QByteArray content = pdf.open(QIODevice::ReadOnly) ? pdf.readAll() : QByteArray();
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-z])"));
        QVERIFY(ending == 0 ? content.startsWith("%PDF") && QString::fromLatin1(content).count(page) == 3 : content == before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), ending == 0 || !before.isEmpty() ? QStringList{"list.pdf"} : QStringList{});
    }
    void emulatorRefuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("faster than the line") << QStringList{"--rate", "35"} << "at most 34.28";
        QTest::newRow("no rate") << QStringList{"--rate", "0"} << "at most 34.28";
        QTest::newRow("an unknown fault lists the names") << QStringList{"--fault", "sparks"}
            << "--fault wants one of: none, silence, stray, wrong-end, truncated, garbage, silent-mid-reply, no-reply, short-reply, long-status";
        QTest::newRow("a file where the link goes") << QStringList{"--link", dir_.filePath("meter")} << "exists and is not a link; not replaced";
    }

    void emulatorRefuses()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QFile file(dir_.filePath("meter")); // kept whatever the refusal
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("mine") == 4);
        file.close();
        QProcess emulator;
        emulator.start(QStringLiteral(METER_EMULATOR), args);
        QVERIFY(emulator.waitForFinished(5000) && emulator.exitStatus() == QProcess::NormalExit && emulator.exitCode() != 0);
        const QString err = QString::fromLocal8Bit(emulator.readAllStandardError());
        QVERIFY2(err.contains(message), qPrintable(err));
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == "mine");
    }

    // The built-in meter read every 0.05 s for 20 s after the clock steps (or
    // not): no burst at the step, bytes at every read, a new reading and a
    // logger reply on the line within a second and a few bytes.
    void emulatorStream_data()
    {
        QTest::addColumn<StreamRow>("r");
        const double most = MeterEmulator::maxFramesPerSecond;
        QTest::newRow("the line's rate") << StreamRow{most, 43200.0, 43200.05, 0};
        QTest::newRow("more than the line carries") << StreamRow{100.0, 43200.0, 43200.05, 0};
        QTest::newRow("across midnight") << StreamRow{most, 86399.9, 0.05, 24};
        QTest::newRow("clock set back an hour") << StreamRow{most, 36000.0, 32400.1, 0};
    }

    void emulatorStream()
    {
        QFETCH(StreamRow, r);
        testsupport::ScriptedClock clock(r.start);
        emulator::EmulatorPort port(clock);
        emulator::LiveSettings live;
        live.framesPerSecond = r.rate;
        live.fixedDigits = 111110;
        port.emulator().setLive(live);
        port.open();
        port.send(" ");
        clock.advance(0.05);
        QVERIFY(!port.read(0).isEmpty());
        clock.setSecondsSinceMidnight(r.stepTo);
        QCOMPARE(port.read(0).size(), r.bytesAtStep);
        int emptyReads = 0;
        for (int tick = 0; tick < 400; ++tick, clock.advance(0.05))
            emptyReads += port.read(0).isEmpty();
        QCOMPARE(emptyReads, 1); // only the read right after the step
        live.fixedDigits = 222220;
        port.emulator().setLive(live);
        clock.advance(MeterEmulator::maxQueuedSeconds + 7 * MeterEmulator::byteSeconds);
        QVERIFY(port.read(0).contains(QByteArray::fromHex("222220")));
        port.send("A");
        clock.advance(0.01);
        port.send("Y");
        clock.advance(MeterEmulator::maxQueuedSeconds + 10 * MeterEmulator::byteSeconds);
        QVERIFY(port.read(0).size() >= 10 && port.emulator().queuedBytes() == 0);
    }
};

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
