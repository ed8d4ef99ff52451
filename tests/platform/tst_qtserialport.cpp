#include "platform/qt/openfailure.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/serialsettings.h"

#include <QTest>

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <optional>

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

QByteArray binary(std::initializer_list<int> bytes)
{
    QByteArray result;
    for (int b : bytes)
        result.append(static_cast<char>(b));
    return result;
}

} // namespace

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
    void bytesWaitingWithoutEventLoop();
    void readLengths();
    void secondOpenIsBusy();
    void missingDeviceIsNamed();
    void unmappedPortNumber();
    void invalidSettingsRefuseOpen();
    void closedMasterLosesDevice();
    void reopenAfterClose();
};

void TestQtSerialPort::parseSettings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");

    const int none = QSerialPort::NoParity, even = QSerialPort::EvenParity;
    QTest::newRow("meter line") << "2400,N,8,1" << true << 2400 << none << 8 << int(QSerialPort::OneStop);
    QTest::newRow("even 7 2, lower case") << "9600,e,7,2" << true << 9600 << even << 7 << int(QSerialPort::TwoStop);
    QTest::newRow("odd 5 1.5") << "1200,O,5,1.5" << true << 1200 << int(QSerialPort::OddParity) << 5 << int(QSerialPort::OneAndHalfStop);
    QTest::newRow("mark, blanks") << " 300 , M , 6 , 1 " << true << 300 << int(QSerialPort::MarkParity) << 6 << 1;
    QTest::newRow("space") << "19200,S,8,1" << true << 19200 << int(QSerialPort::SpaceParity) << 8 << 1;
    QTest::newRow("empty") << "" << false << 0 << 0 << 0 << 0;
    QTest::newRow("baud only") << "2400" << false << 0 << 0 << 0 << 0;
    QTest::newRow("three fields") << "2400,N,8" << false << 0 << 0 << 0 << 0;
    QTest::newRow("five fields") << "2400,N,8,1,X" << false << 0 << 0 << 0 << 0;
    QTest::newRow("unknown parity") << "2400,X,8,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("long parity") << "2400,NN,8,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("nine data bits") << "2400,N,9,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("three stop bits") << "2400,N,8,3" << false << 0 << 0 << 0 << 0;
    QTest::newRow("baud not a number") << "fast,N,8,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("zero baud") << "0,N,8,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("negative baud") << "-2400,N,8,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("empty field") << "2400,,8,1" << false << 0 << 0 << 0 << 0;
}

void TestQtSerialPort::parseSettings()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const auto parsed = platform::parseSerialSettings(text);
    QCOMPARE(parsed.has_value(), valid);
    if (!valid)
        return;
    QFETCH(int, baud);
    QFETCH(int, parity);
    QFETCH(int, dataBits);
    QFETCH(int, stopBits);
    QCOMPARE(parsed->baudRate, baud);
    QCOMPARE(int(parsed->parity), parity);
    QCOMPARE(int(parsed->dataBits), dataBits);
    QCOMPARE(int(parsed->stopBits), stopBits);
}

void TestQtSerialPort::describeFailure_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("accessible");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QStringList>("mustSay");
    QTest::addColumn<QStringList>("mustNotSay");

    QTest::newRow("locked by another program")
        << int(QSerialPort::PermissionError) << true << "Permission error while locking the device"
        << QStringList{"/dev/ttyS0", "busy", "locking"} << QStringList{"dialout"};
    QTest::newRow("no rights")
        << int(QSerialPort::PermissionError) << false << "Permission denied"
        << QStringList{"/dev/ttyS0", "Permission denied", "dialout", "usermod -aG dialout", "log in again"}
        << QStringList{"busy"};
    QTest::newRow("missing")
        << int(QSerialPort::DeviceNotFoundError) << false << "No such file or directory"
        << QStringList{"/dev/ttyS0", "No such file or directory"} << QStringList{"dialout", "busy"};
    QTest::newRow("other error")
        << int(QSerialPort::OpenError) << true << "Device is already open"
        << QStringList{"/dev/ttyS0", "already open"} << QStringList{"dialout", "busy"};
}

void TestQtSerialPort::describeFailure()
{
    QFETCH(int, error);
    QFETCH(bool, accessible);
    QFETCH(QString, reason);
    QFETCH(QStringList, mustSay);
    QFETCH(QStringList, mustNotSay);

    const QString text = platform::describeOpenFailure(
        {"/dev/ttyS0", static_cast<QSerialPort::SerialPortError>(error), reason, accessible});
    for (const auto &part : mustSay)
        QVERIFY2(text.contains(part), qPrintable(text));
    for (const auto &part : mustNotSay)
        QVERIFY2(!text.contains(part), qPrintable(text));
}

void TestQtSerialPort::settingsReachTheDevice_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("speed");
    QTest::addColumn<bool>("twoStops");

    QTest::addColumn<QString>("changedTo"); // settings given while open

    // A pty always keeps 8 data bits without parity, so only baud rate and
    // stop bits can be seen on it.
    QTest::newRow("2400,N,8,1") << "2400,N,8,1" << int(B2400) << false << "";
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

    QTest::newRow("one space") << QByteArray(" ");
    QTest::newRow("live frame") << binary({2, 0x41, 0x12, 0x34, 0x05, 0x00, 3});
    QTest::newRow("control bytes") << binary({3, 4, 0x11, 0x13, 0x1a, 0x7f, 0x0d, 0x0a, 0x00});
    QTest::newRow("high bytes") << binary({0x80, 0xfe, 0xff, 0x9b});
    QTest::newRow("every byte value") << [] {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        return all;
    }();
}

void TestQtSerialPort::bytesBothWays()
{
    QFETCH(QByteArray, bytes);
    Pty pty;
    QVERIFY(pty.ok());
    PortOn port(pty.path());
    QVERIFY2(port.open(), qPrintable(port.errorText()));
    QVERIFY(port.isOpen());
    QCOMPARE(port.deviceName(), pty.path());

    port.send(bytes);
    QCOMPARE(pty.readMaster(bytes.size()), bytes);

    QVERIFY(pty.write(bytes));
    QVERIFY(pty.waitArrived(int(bytes.size())));
    QCOMPARE(port.bytesWaiting(), int(bytes.size()));
    QCOMPARE(port.read(0), bytes);
    QCOMPARE(port.bytesWaiting(), 0);
}

void TestQtSerialPort::bytesWaitingWithoutEventLoop()
{
    Pty pty;
    QVERIFY(pty.ok());
    PortOn port(pty.path());
    QVERIFY2(port.open(), qPrintable(port.errorText()));
    QCOMPARE(port.bytesWaiting(), 0);

    // No event is handled between the bytes arriving and the question.
    QVERIFY(pty.write("\x02\x41\x12"));
    QVERIFY(pty.waitArrived(3));
    QCOMPARE(port.bytesWaiting(), 3);
    QCOMPARE(port.read(1), QByteArray("\x02"));

    // More bytes while some are still buffered: the next reads get them.
    QVERIFY(pty.write(binary({0x34, 0x05, 0x00, 0x03, 0x00})));
    QVERIFY(pty.waitArrived(5));
    QCOMPARE(port.read(6), QByteArray("\x41\x12\x34\x05\x00\x03", 6));
}

void TestQtSerialPort::readLengths()
{
    Pty pty;
    QVERIFY(pty.ok());
    PortOn port(pty.path());
    QVERIFY2(port.open(), qPrintable(port.errorText()));

    QVERIFY(pty.write("abcdefgh"));
    QVERIFY(pty.waitArrived(8));
    QCOMPARE(port.read(1), QByteArray("a"));
    QCOMPARE(port.read(3), QByteArray("bcd"));
    QCOMPARE(port.bytesWaiting(), 4);
    QCOMPARE(port.read(10), QByteArray("efgh")); // no more than is there
    QCOMPARE(port.read(0), QByteArray());
}

void TestQtSerialPort::secondOpenIsBusy()
{
    Pty pty;
    QVERIFY(pty.ok());
    PortOn first(pty.path());
    QVERIFY2(first.open(), qPrintable(first.errorText()));

    PortOn second(pty.path());
    QVERIFY(!second.open());
    QVERIFY(!second.isOpen());
    QVERIFY2(second.errorText().contains(pty.path()), qPrintable(second.errorText()));
    QVERIFY2(second.errorText().contains("busy"), qPrintable(second.errorText()));
    QVERIFY(first.isOpen());
}

void TestQtSerialPort::missingDeviceIsNamed()
{
    const QString path = "/dev/meterlink-test-no-such-device";
    PortOn port(path);
    QVERIFY(!port.open());
    QVERIFY(!port.isOpen());
    QVERIFY2(port.errorText().contains(path), qPrintable(port.errorText()));
    QVERIFY2(port.errorText().contains("No such file"), qPrintable(port.errorText()));
    QCOMPARE(port.bytesWaiting(), 0);
    QCOMPARE(port.read(0), QByteArray());
    port.send(" "); // harmless on a closed port
}

void TestQtSerialPort::unmappedPortNumber()
{
    platform::QtSerialPort port;
    port.setCommPort(3);
    QVERIFY(port.deviceName().isEmpty());
    QVERIFY(!port.open());
    QVERIFY2(port.errorText().contains("COM3"), qPrintable(port.errorText()));

    port.setCommPort(2);
    QCOMPARE(port.deviceName(), QString("/dev/ttyS1"));
    QCOMPARE(port.commPort(), 2);
}

void TestQtSerialPort::invalidSettingsRefuseOpen()
{
    Pty pty;
    QVERIFY(pty.ok());
    PortOn port(pty.path(), "2400,Q,8,1");
    QVERIFY(!port.open());
    QVERIFY2(port.errorText().contains("2400,Q,8,1"), qPrintable(port.errorText()));
    port.setSettings("2400,N,8,1");
    QVERIFY2(port.open(), qPrintable(port.errorText()));
}

void TestQtSerialPort::closedMasterLosesDevice()
{
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

    // The device does not come back: a reopen fails and the port stays
    // lost, so the caller keeps trying.
    QVERIFY(!port.reopen());
    QVERIFY(port.deviceLost());
    QVERIFY(!port.reopen());
    QVERIFY(port.deviceLost());
}

void TestQtSerialPort::reopenAfterClose()
{
    Pty pty;
    QVERIFY(pty.ok());
    PortOn port(pty.path());
    QVERIFY2(port.open(), qPrintable(port.errorText()));
    QVERIFY(port.reopen());
    QVERIFY(port.isOpen());
    port.close();
    QVERIFY(!port.isOpen());

    // Released: another port object may take the device now.
    PortOn other(pty.path());
    QVERIFY2(other.open(), qPrintable(other.errorText()));
}

QTEST_GUILESS_MAIN(TestQtSerialPort)
#include "tst_qtserialport.moc"
