// The platform adapters at their seams: the device choice and settings file,
// the Qt serial port on a pseudo-terminal, the bounded waits on the scripted
// clock, the dialogs' file choice, the event pump's ends and the PDF printer.

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
using testsupport::ScriptedClock;
using testsupport::ScriptedPump;

Q_DECLARE_METATYPE(QList<DetectedPort>)

namespace {

// A pseudo-terminal pair in raw mode. The port under test opens the slave
// by its path; the test plays the meter on the master. The test keeps its
// own slave descriptor open (so the device stays) but never reads it.
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
    ~Pty()
    {
        closeMaster();
        if (slave_ >= 0)
            ::close(slave_);
    }
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    bool ok() const { return master_ >= 0 && !path_.isEmpty(); }
    QString path() const { return path_; }
    int slave() const { return slave_; }

    bool write(const QByteArray &bytes) const
    {
        return ::write(master_, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    }

    // Reads what the port sent, waiting at most 5 s for `count` bytes.
    QByteArray readMaster(qsizetype count) const
    {
        QByteArray got;
        while (got.size() < count) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0)
                break;
            char buffer[256];
            const auto n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            got.append(buffer, n);
        }
        return got;
    }

    // Waits (at most about 5 s) until `count` bytes are readable on the
    // slave side, without taking them.
    bool waitArrived(int count) const
    {
        for (int round = 0; round < 500; ++round) {
            int queued = 0;
            if (::ioctl(slave_, FIONREAD, &queued) == 0 && queued >= count)
                return true;
            pollfd p{slave_, POLLIN, 0};
            ::poll(&p, 1, 10);
        }
        return false;
    }

    void closeMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

// A port numbered 1 on `path`.
struct PortOn : platform::QtSerialPort
{
    explicit PortOn(const QString &path, const QString &settings = "2400,N,8,1")
        : QtSerialPort({{1, path}})
    {
        setCommPort(1);
        setSettings(settings);
    }
};


} // namespace

Q_DECLARE_METATYPE(std::optional<platform::SerialSettings>)

namespace {

// Ends the pump `endingAfter` seconds into the wait (0: before it starts,
// below 0: never).
void endPumpAfter(ScriptedPump &pump, double endingAfter)
{
    if (endingAfter == 0)
        pump.setEnding(true);
    else if (endingAfter > 0)
        pump.after(endingAfter, [&pump] { pump.setEnding(true); });
}

// Steps the time of day by `seconds` 0.1 s into the wait (0: never).
void stepWallClockDuringWait(ScriptedPump &pump, ScriptedClock &clock, double seconds)
{
    if (seconds != 0)
        pump.after(0.1, [&clock, seconds] { clock.stepWallClock(seconds); });
}

void verifyElapsed(const ScriptedPump &pump, double minElapsed, double maxElapsed)
{
    QVERIFY2(pump.advanced() >= minElapsed - 1e-9 && pump.advanced() <= maxElapsed + 1e-9,
             qPrintable(QString::number(pump.advanced(), 'f', 4)));
}

} // namespace

// These run on the real clock, so they check only what cannot depend on
// the machine's speed: order of events, early ends, and lower bounds.
// A pump that ignored requestEnd() would sit in an hour-long wait and be
// stopped by the test function time-out.

namespace {

// Page objects in a PDF file ("/Type /Page", not "/Type /Pages").
qsizetype pdfPageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-z])"));
    return QString::fromLatin1(pdf).count(page);
}

} // namespace

class PlatformTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void portChoice_data();
    void portChoice();
    void settingsRoundTrip();
    void brokenSettingsFile_data();
    void brokenSettingsFile();
    void fileDialogFolders();
    void permissionMessageNamesTheDevicesGroup_data();
    void permissionMessageNamesTheDevicesGroup();
    void parseSettings_data();
    void parseSettings();
    void describeFailure_data();
    void describeFailure();
    void settingsReachTheDevice_data();
    void settingsReachTheDevice();
    void bytesBothWays_data();
    void bytesBothWays();
    void openFailureIsNamed_data();
    void openFailureIsNamed();
    void closedMasterLosesDevice_data();
    void closedMasterLosesDevice();
    void waitSeconds_data();
    void waitSeconds();
    void waitUntil_data();
    void waitUntil();
    void choiceFor_data();
    void choiceFor();
    void requestEndStopsNestedWaits();
    void waitsAfterEndReturnAtOnce();
    void waitSecondsNeverEndsEarly();
    void pdfJob_data();
    void pdfJob();
    void unwritableFileIsReported();

private:
    QTemporaryDir dir_;
};

namespace {
const DetectedPort builtIn{"/dev/ttyS0", {}, {}, {}, {}};
const DetectedPort ftdi{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "0403:6001", "A50285BI"};
const DetectedPort acm{"/dev/ttyACM3", "USB CDC", "Meter Co", "1a86:7523", {}};
} // namespace

// What SELECTION shows for an adapter, nothing detected and a remembered
// device unplugged is tst_application's table; these are the remaining rules.
void PlatformTest::portChoice_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QList<DetectedPort>>("detected");
    QTest::addColumn<QString>("com1");
    QTest::addColumn<QString>("com2");

    const QList<DetectedPort> two{builtIn, ftdi, acm};
    QTest::newRow("built-in port is no adapter") << "" << "" << QList{builtIn} << "/dev/ttyS0" << "/dev/ttyS1";
    QTest::newRow("two adapters in list order") << "" << "" << two << "/dev/ttyUSB0" << "/dev/ttyACM3";
    QTest::newRow("remembered and present") << "" << "/dev/ttyACM3" << two << "/dev/ttyACM3" << "/dev/ttyACM3";
    QTest::newRow("remembered emulator") << "" << "emulator" << QList<DetectedPort>{} << "emulator" << "emulator";
    QTest::newRow("argument beats remembered") << "/dev/pts/9" << "/dev/ttyACM3" << two << "/dev/pts/9"
                                               << "/dev/pts/9";
}

void PlatformTest::portChoice()
{
    QFETCH(QString, argument);
    QFETCH(QString, remembered);
    QFETCH(QList<DetectedPort>, detected);
    QFETCH(QString, com1);
    QFETCH(QString, com2);

    const platform::DeviceSources sources{argument, remembered, detected};
    QCOMPARE(platform::chooseDevice(1, sources), com1);
    QCOMPARE(platform::chooseDevice(2, sources), com2);
    QCOMPARE(platform::chooseDeviceFor(1, sources).missingRemembered, QString());
}

void PlatformTest::settingsRoundTrip()
{
    const QString path = dir_.filePath("roundtrip/meterlink.conf");
    {
        platform::AppSettings settings(path);
        settings.setDevice(1, "/dev/ttyUSB0");
        settings.setDevice(2, "emulator");
        settings.setFolder("save-1", "/home/me/data files");
    }
    platform::AppSettings again(path);
    QCOMPARE(again.device(1), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(again.device(2), QStringLiteral("emulator"));
    QCOMPARE(again.folder("save-1"), QStringLiteral("/home/me/data files"));
    QCOMPARE(again.folder("open-1"), QString());
    QVERIFY(again.resetNotice().isEmpty());
}

void PlatformTest::brokenSettingsFile_data()
{
    QTest::addColumn<QByteArray>("contents"); // empty: a folder stands where the file should be
    QTest::newRow("unclosed section") << QByteArray("[devices\ncom1=/dev/ttyUSB0\n");
    QTest::newRow("unreadable") << QByteArray();
}

void PlatformTest::brokenSettingsFile()
{
    QFETCH(QByteArray, contents);
    const QString path = dir_.filePath(QStringLiteral("%1/meterlink.conf").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    if (contents.isEmpty()) {
        QVERIFY(QDir().mkpath(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    {
        platform::AppSettings settings(path);
        QVERIFY2(settings.resetNotice().contains(path), qPrintable(settings.resetNotice()));
        QCOMPARE(settings.device(1), QString());
        settings.setDevice(1, "/dev/ttyACM0");
    }
    QVERIFY(QFileInfo::exists(path + ".broken"));
    // Said once: the next start finds a clean file with the new choice.
    platform::AppSettings next(path);
    QCOMPARE(next.resetNotice(), QString());
    QCOMPARE(next.device(1), QStringLiteral("/dev/ttyACM0"));
}

void PlatformTest::fileDialogFolders()
{
    const QString data = "Data Files (*.dat);;All Files (*)";
    QVERIFY(platform::QtDialogs::fileKind(true, data) != platform::QtDialogs::fileKind(false, data));
    QVERIFY(platform::QtDialogs::fileKind(true, data)
            != platform::QtDialogs::fileKind(true, "Data Files (*.dat);;All Files (*.*)"));

    const QString folder = dir_.path();
    QCOMPARE(platform::QtDialogs::startName("*.dat", folder), folder + "/*.dat");
    QCOMPARE(platform::QtDialogs::startName("", folder), folder);
    QCOMPARE(platform::QtDialogs::startName("/elsewhere/a.dat", folder), QStringLiteral("/elsewhere/a.dat"));
    QCOMPARE(platform::QtDialogs::startName("*.dat", folder + "/gone"), QStringLiteral("*.dat"));
}

void PlatformTest::permissionMessageNamesTheDevicesGroup_data()
{
    QTest::addColumn<QString>("group");
    QTest::newRow("dialout") << "dialout";
    QTest::newRow("tty") << "tty";
}

void PlatformTest::permissionMessageNamesTheDevicesGroup()
{
    QFETCH(QString, group);
    if (geteuid() != 0)
        QSKIP("Giving a file to another group takes root (CI runs as root).");
    const struct group *entry = getgrnam(qPrintable(group));
    if (!entry)
        QSKIP("This system has no such group.");

    const QString node = dir_.filePath("ttyMeter-" + group);
    QFile file(node);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QCOMPARE(::chown(QFile::encodeName(node).constData(), 0, entry->gr_gid), 0);
    QCOMPARE(::chmod(QFile::encodeName(node).constData(), 0660), 0);
    // Root is normally in neither group, so it is told what a user outside the group is told.
    if (platform::deviceGroup(node).processIsMember)
        QSKIP("This test runs with the group's rights already.");

    const QString text = platform::describeOpenFailure(
        {node, QSerialPort::PermissionError, "Permission denied", false});
    const QStringList parts{node, "Permission denied", "group " + group, "not in it",
                            "sudo usermod -aG " + group + " $USER", "log out and log in again"};
    for (const QString &part : parts)
        QVERIFY2(text.contains(part), qPrintable(part + ": " + text));
}

void PlatformTest::parseSettings_data()
{
    using S = QSerialPort;
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<platform::SerialSettings>>("parsed");

    QTest::newRow("meter line") << "2400,N,8,1" << std::optional(Settings{2400, S::NoParity, S::Data8, S::OneStop});
    QTest::newRow("even 7 2, lower case") << "9600,e,7,2"
                                          << std::optional(Settings{9600, S::EvenParity, S::Data7, S::TwoStop});
    QTest::newRow("odd 5 1.5") << "1200,O,5,1.5"
                               << std::optional(Settings{1200, S::OddParity, S::Data5, S::OneAndHalfStop});
    QTest::newRow("mark, blanks") << " 300 , M , 6 , 1 "
                                  << std::optional(Settings{300, S::MarkParity, S::Data6, S::OneStop});
    for (const char *text : {"", "2400,N,8", "2400,N,8,1,X", "2400,X,8,1", "2400,N,9,1", "2400,N,8,3",
                             "0,N,8,1", "2400,,8,1"})
        QTest::addRow("invalid \"%s\"", text) << text << std::optional<Settings>();
}

void PlatformTest::parseSettings()
{
    QFETCH(QString, text);
    QFETCH(std::optional<platform::SerialSettings>, parsed);
    QVERIFY(platform::parseSerialSettings(text) == parsed);
}

void PlatformTest::describeFailure_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("accessible");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QStringList>("parts"); // "!text": must not be said

    QTest::newRow("locked by another program")
        << int(QSerialPort::PermissionError) << true << "Permission error while locking the device"
        << QStringList{"/dev/ttyS0", "busy", "locking", "!dialout"};
    // The rights message reads the device's group: tst_devices covers it with a node of its own.
}

void PlatformTest::describeFailure()
{
    QFETCH(int, error);
    QFETCH(bool, accessible);
    QFETCH(QString, reason);
    QFETCH(QStringList, parts);

    const QString text = platform::describeOpenFailure(
        {"/dev/ttyS0", static_cast<QSerialPort::SerialPortError>(error), reason, accessible});
    for (const auto &part : parts) {
        const bool absent = part.startsWith('!');
        QVERIFY2(text.contains(absent ? part.mid(1) : part) != absent, qPrintable(part + ": " + text));
    }
}

void PlatformTest::settingsReachTheDevice_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("speed");
    QTest::addColumn<bool>("twoStops");
    QTest::addColumn<QString>("changedTo"); // settings given while open

    // A pty always keeps 8 data bits without parity, so only baud rate and
    // stop bits can be seen on it.
    QTest::newRow("9600,N,8,2") << "9600,N,8,2" << int(B9600) << true << "";
    QTest::newRow("changed while open") << "9600,N,8,2" << int(B1200) << false << "1200,N,8,1";
    QTest::newRow("invalid change ignored") << "4800,N,8,1" << int(B4800) << false << "1200,N,9,1";
}

void PlatformTest::settingsReachTheDevice()
{
    QFETCH(QString, settings);
    QFETCH(int, speed);
    QFETCH(bool, twoStops);
    QFETCH(QString, changedTo);

    Pty pty;
    QVERIFY(pty.ok());
    PortOn port(pty.path(), settings);
    QVERIFY2(port.open(), qPrintable(port.errorText()));
    if (!changedTo.isEmpty())
        port.setSettings(changedTo);

    termios t{};
    QCOMPARE(tcgetattr(pty.slave(), &t), 0);
    QCOMPARE(int(cfgetospeed(&t)), speed);
    QCOMPARE(int(t.c_cflag & CSIZE), int(CS8));
    QCOMPARE(bool(t.c_cflag & CSTOPB), twoStops);
    QVERIFY(!(t.c_cflag & CRTSCTS));
    QVERIFY(!(t.c_iflag & (IXON | IXOFF)));
}

void PlatformTest::bytesBothWays_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("live frame") << QByteArray::fromHex("02411234050003");
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    QTest::newRow("every byte value") << all;
}

void PlatformTest::bytesBothWays()
{
    QFETCH(QByteArray, bytes);
    const auto size = int(bytes.size());
    Pty pty;
    QVERIFY(pty.ok());
    PortOn port(pty.path());
    QVERIFY2(port.open(), qPrintable(port.errorText()));
    QCOMPARE(port.deviceName(), pty.path());

    port.send(bytes);
    QCOMPARE(pty.readMaster(size), bytes);

    // No event is handled between the bytes arriving and the question.
    QVERIFY(pty.write(bytes));
    QVERIFY(pty.waitArrived(size));
    QCOMPARE(port.bytesWaiting(), size);
    QCOMPARE(port.read(1), bytes.left(1));
    // More bytes while some are still buffered: the next read gets them
    // all, and no more than is there.
    QVERIFY(pty.write("xyz"));
    QVERIFY(pty.waitArrived(3));
    QCOMPARE(port.read(size + 10), bytes.mid(1) + "xyz");
    QCOMPARE(port.read(0), QByteArray());

    // Closing releases the device: another port object may take it.
    QVERIFY(port.reopen());
    port.close();
    QVERIFY(!port.isOpen());
    PortOn other(pty.path());
    QVERIFY2(other.open(), qPrintable(other.errorText()));
}

void PlatformTest::openFailureIsNamed_data()
{
    QTest::addColumn<QString>("device"); // "pty": a pseudo-terminal
    QTest::addColumn<int>("commPort");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<bool>("holdOpenFirst");
    QTest::addColumn<QStringList>("mustSay"); // "pty": its path; "!text": not said

    const QString missing = "/dev/meterlink-test-no-such-device";
    QTest::newRow("second open is busy") << "pty" << 1 << "2400,N,8,1" << true << QStringList{"pty", "busy"};
    QTest::newRow("missing device") << missing << 1 << "2400,N,8,1" << false
                                    << QStringList{missing, "No such file", "!busy", "!dialout"};
    QTest::newRow("unmapped port number") << "pty" << 3 << "2400,N,8,1" << false << QStringList{"COM3"};
    QTest::newRow("invalid settings") << "pty" << 1 << "2400,Q,8,1" << false << QStringList{"2400,Q,8,1"};
}

void PlatformTest::openFailureIsNamed()
{
    QFETCH(QString, device);
    QFETCH(int, commPort);
    QFETCH(QString, settings);
    QFETCH(bool, holdOpenFirst);
    QFETCH(QStringList, mustSay);

    Pty pty;
    QVERIFY(pty.ok());
    const QString path = device == "pty" ? pty.path() : device;
    PortOn first(path);
    if (holdOpenFirst)
        QVERIFY2(first.open(), qPrintable(first.errorText()));

    PortOn port(path, settings);
    port.setCommPort(commPort);
    QVERIFY(!port.open());
    QVERIFY(!port.isOpen());
    for (const QString &part : mustSay) {
        const bool absent = part.startsWith('!');
        const QString said = part == "pty" ? pty.path() : part.mid(absent ? 1 : 0);
        QVERIFY2(port.errorText().contains(said) != absent, qPrintable(part + ": " + port.errorText()));
    }
    QCOMPARE(port.bytesWaiting(), 0);
    QCOMPARE(port.read(0), QByteArray());
    port.send(" "); // harmless on a closed port
    QCOMPARE(first.isOpen(), holdOpenFirst);
}

void PlatformTest::closedMasterLosesDevice_data()
{
    // Who tries the gone device again: the link-lost routine, or any other
    // part of the program (the logger window reading the meter's clock).
    QTest::addColumn<bool>("byReopen");
    QTest::newRow("link-lost routine reopens") << true;
    QTest::newRow("another caller opens") << false;
}

void PlatformTest::closedMasterLosesDevice()
{
    QFETCH(bool, byReopen);
    Pty pty;
    QVERIFY(pty.ok());
    PortOn port(pty.path());
    QVERIFY2(port.open(), qPrintable(port.errorText()));
    QVERIFY(!port.deviceLost());

    pty.closeMaster(); // the cable is pulled
    for (int round = 0; round < 500 && !port.deviceLost(); ++round) {
        port.bytesWaiting();
        QTest::qWait(10);
    }
    QVERIFY(port.deviceLost());
    QVERIFY2(port.errorText().contains(pty.path()), qPrintable(port.errorText()));
    QCoreApplication::processEvents();
    QVERIFY(!port.isOpen()); // released, so a reconnect can take it again
    QCOMPARE(port.bytesWaiting(), 0);
    port.send(" ");

    // The device does not come back: every try fails and the port stays
    // lost, so the link-lost routine keeps trying.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QVERIFY(!(byReopen ? port.reopen() : port.open()));
        QVERIFY(port.deviceLost());
    }
}

void PlatformTest::waitSeconds_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<float>("seconds");
    QTest::addColumn<double>("wallStep");
    QTest::addColumn<double>("endingAfter");
    QTest::addColumn<bool>("completed");
    QTest::addColumn<double>("minElapsed");
    QTest::addColumn<double>("maxElapsed"); // within one pump step of its end

    QTest::newRow("half second at noon") << 43200.0 << 0.5f << 0.0 << -1.0 << true << 0.5 << 0.51;
    QTest::newRow("zero seconds: one short step") << 1000.0 << 0.0f << 0.0 << -1.0 << true << 0.001 << 0.001;
    QTest::newRow("across midnight") << 86399.9 << 0.5f << 0.0 << -1.0 << true << 0.5 << 0.51;
    // Setting the time of day mid-wait neither ends the wait nor stretches it.
    QTest::newRow("clock set back an hour") << 1800.0 << 0.5f << -3600.0 << -1.0 << true << 0.5 << 0.51;
    QTest::newRow("clock set forward an hour") << 43200.0 << 0.5f << 3600.0 << -1.0 << true << 0.5 << 0.51;
    QTest::newRow("program ending stops it") << 1000.0 << 0.5f << 0.0 << 0.2 << false << 0.2 << 0.21;
    QTest::newRow("already ending: no step") << 1000.0 << 10.0f << 0.0 << 0.0 << false << 0.0 << 0.0;
}

void PlatformTest::waitSeconds()
{
    QFETCH(double, start);
    QFETCH(float, seconds);
    QFETCH(double, wallStep);
    QFETCH(double, endingAfter);
    QFETCH(double, minElapsed);
    QFETCH(double, maxElapsed);

    ScriptedClock clock(start);
    ScriptedPump pump(clock);
    endPumpAfter(pump, endingAfter);
    stepWallClockDuringWait(pump, clock, wallStep);

    QTEST(platform::waitSeconds(seconds, clock, pump), "completed");
    verifyElapsed(pump, minElapsed, maxElapsed);
}

void PlatformTest::waitUntil_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("readyAfter"); // < 0: never ready
    QTest::addColumn<double>("limit");
    QTest::addColumn<double>("wallStep");
    QTest::addColumn<double>("endingAfter");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<double>("minElapsed");
    QTest::addColumn<double>("maxElapsed");

    QTest::newRow("ready at once") << 1000.0 << 0.0 << 1.0 << 0.0 << -1.0 << true << 0.0 << 0.0;
    QTest::newRow("ready after 0.3 s") << 1000.0 << 0.3 << 1.0 << 0.0 << -1.0 << true << 0.3 << 0.31;
    QTest::newRow("ready too late") << 1000.0 << 0.8 << 0.5 << 0.0 << -1.0 << false << 0.5 << 0.51;
    QTest::newRow("summer time begins: no early time-out")
        << 7199.9 << 0.5 << 1.0 << 3600.0 << -1.0 << true << 0.5 << 0.51;
    QTest::newRow("clock set back: time-out on time")
        << 43200.0 << -1.0 << 0.5 << -60.0 << -1.0 << false << 0.5 << 0.51;
    QTest::newRow("program ending stops it") << 1000.0 << -1.0 << 5.0 << 0.0 << 0.1 << false << 0.1 << 0.11;
}

void PlatformTest::waitUntil()
{
    QFETCH(double, start);
    QFETCH(double, readyAfter);
    QFETCH(double, limit);
    QFETCH(double, wallStep);
    QFETCH(double, endingAfter);
    QFETCH(double, minElapsed);
    QFETCH(double, maxElapsed);

    ScriptedClock clock(start);
    ScriptedPump pump(clock);
    bool ready = readyAfter == 0.0;
    if (readyAfter > 0)
        pump.after(readyAfter, [&] { ready = true; });
    endPumpAfter(pump, endingAfter);
    stepWallClockDuringWait(pump, clock, wallStep);

    QTEST(platform::waitUntil([&] { return ready; }, limit, clock, pump), "expected");
    verifyElapsed(pump, minElapsed, maxElapsed);
}

void PlatformTest::choiceFor_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("fileTitle");

    QTest::newRow("cancel") << "" << true << "";
    QTest::newRow("blanks in names") << "/home/user/my data/run 2.dat" << false << "run 2.dat";
    QTest::newRow("no folder") << "run3.dat" << false << "run3.dat";
}

void PlatformTest::choiceFor()
{
    QFETCH(QString, answer);
    QFETCH(bool, cancelled);
    QFETCH(QString, fileTitle);

    const auto choice = platform::QtDialogs::choiceFor(answer);
    QCOMPARE(choice.cancelled, cancelled);
    QCOMPARE(choice.fullName, answer);
    QCOMPARE(choice.fileTitle, fileTitle);
}


void PlatformTest::requestEndStopsNestedWaits()
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

void PlatformTest::waitsAfterEndReturnAtOnce()
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

void PlatformTest::waitSecondsNeverEndsEarly()
{
    platform::SystemClock clock;
    platform::QtEventPump pump;
    QElapsedTimer elapsed;
    elapsed.start();
    QVERIFY(platform::waitSeconds(0.05f, clock, pump));
    // The clock counts whole milliseconds; allow for that rounding only.
    QVERIFY2(elapsed.elapsed() >= 48, qPrintable(QString::number(elapsed.elapsed())));
}


// Three pages ended, or a job stopped part way (aborted, or dropped before
// its end): a stopped job leaves no PDF, and an older file as it was.
void PlatformTest::pdfJob_data()
{
    QTest::addColumn<QByteArray>("before"); // empty: no file
    QTest::addColumn<int>("ending");        // 0 end(), 1 abort(), 2 dropped
    QTest::newRow("three pages ended") << QByteArray() << 0;
    QTest::newRow("aborted") << QByteArray() << 1;
    QTest::newRow("dropped") << QByteArray() << 2;
    QTest::newRow("aborted over an older PDF") << QByteArray("%PDF older") << 1;
}

void PlatformTest::pdfJob()
{
    QFETCH(QByteArray, before);
    QFETCH(int, ending);
    QTemporaryDir dir;
    const QString file = dir.filePath("list.pdf");
    if (!before.isEmpty()) {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(before) == before.size());
    }
    auto job = platform::QtPrinter::toPdf(file);
    QPainter *painter = job->begin("RECORDS");
    QVERIFY2(painter, qPrintable(job->errorText()));
    QVERIFY(job->resolution() > 0);
    QVERIFY(job->pageRect().width() > 0 && job->pageRect().height() > 0);
    for (int page = 0; page < 3; ++page) {
        QVERIFY(page == 0 || job->newPage());
        painter->drawText(QPointF(100, 200), QStringLiteral("REC     DATE"));
    }
    QVERIFY(!job->begin("B")); // one document at a time
    QVERIFY(!job->errorText().isEmpty());
    if (ending == 0)
        QVERIFY(job->end());
    else if (ending == 1)
        job->abort();
    else
        job.reset();

    QFile pdf(file);
    const QByteArray content = pdf.open(QIODevice::ReadOnly) ? pdf.readAll() : QByteArray();
    if (ending == 0) {
        QVERIFY(content.startsWith("%PDF"));
        QCOMPARE(pdfPageCount(content), 3);
    } else {
        QCOMPARE(content, before);
    }
    const QStringList left = ending == 0 || !before.isEmpty() ? QStringList{"list.pdf"} : QStringList{};
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), left);
}

void PlatformTest::unwritableFileIsReported()
{
    const QString file = "/nonexistent-meterlink-folder/list.pdf";
    auto job = platform::QtPrinter::toPdf(file);
    QVERIFY(!job->begin("RECORDS"));
    QVERIFY2(job->errorText().contains(file), qPrintable(job->errorText()));
    QVERIFY(!job->newPage());
    QVERIFY(!job->end());
}

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
