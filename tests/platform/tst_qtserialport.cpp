#include "platform/qt/openfailure.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/serialsettings.h"

#include <QTest>

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

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

using Settings = platform::SerialSettings;

} // namespace

Q_DECLARE_METATYPE(std::optional<platform::SerialSettings>)

class TestQtSerialPort : public QObject
{
    Q_OBJECT

private slots:
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
};

void TestQtSerialPort::parseSettings_data()
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

void TestQtSerialPort::parseSettings()
{
    QFETCH(QString, text);
    QFETCH(std::optional<platform::SerialSettings>, parsed);
    QVERIFY(platform::parseSerialSettings(text) == parsed);
}

void TestQtSerialPort::describeFailure_data()
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

void TestQtSerialPort::describeFailure()
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

void TestQtSerialPort::settingsReachTheDevice_data()
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

void TestQtSerialPort::settingsReachTheDevice()
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

void TestQtSerialPort::bytesBothWays_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("live frame") << QByteArray::fromHex("02411234050003");
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    QTest::newRow("every byte value") << all;
}

void TestQtSerialPort::bytesBothWays()
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

void TestQtSerialPort::openFailureIsNamed_data()
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

void TestQtSerialPort::openFailureIsNamed()
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

void TestQtSerialPort::closedMasterLosesDevice_data()
{
    // Who tries the gone device again: the link-lost routine, or any other
    // part of the program (the logger window reading the meter's clock).
    QTest::addColumn<bool>("byReopen");
    QTest::newRow("link-lost routine reopens") << true;
    QTest::newRow("another caller opens") << false;
}

void TestQtSerialPort::closedMasterLosesDevice()
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

QTEST_GUILESS_MAIN(TestQtSerialPort)
#include "tst_qtserialport.moc"
