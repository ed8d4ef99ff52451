// The emulator served on a real pseudo-terminal, read by plain POSIX calls
// on the slave side. The server is driven by service() with a scripted
// time, so no event loop is needed; poll() only guards against a hang.

#include "emulator/ptyserver.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using emulator::MeterEmulator;
using emulator::PtyServer;

namespace {

// Reads up to `count` bytes, waiting at most `timeoutMs` in all.
QByteArray readSome(int fd, int count, int timeoutMs)
{
    QByteArray bytes;
    while (bytes.size() < count) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            break;
        char buffer[64];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, qsizetype(n));
    }
    return bytes;
}

} // namespace

class TestPtyServer : public QObject
{
    Q_OBJECT

private slots:
    void frameArrivesAfterSpace_data();
    void frameArrivesAfterSpace();
    void link_data();
    void link();
};

void TestPtyServer::frameArrivesAfterSpace_data()
{
    QTest::addColumn<bool>("fast");
    QTest::addColumn<double>("serviceAt"); // when the server writes the output
    QTest::addColumn<int>("expected");     // bytes the slave then receives

    QTest::newRow("paced, after seven byte times") << false << 7.5 / 240.0 << 7;
    QTest::newRow("paced, after three byte times") << false << 3.5 / 240.0 << 3;
}

void TestPtyServer::frameArrivesAfterSpace()
{
    QFETCH(bool, fast);
    QFETCH(double, serviceAt);
    QFETCH(int, expected);

    MeterEmulator meter({.code = 0x42, .status = 0x19, .fixedDigits = 12340});
    meter.setFast(fast);
    PtyServer server(meter);
    double now = 0.0;
    server.setTimeSource([&now] { return now; });
    QVERIFY2(server.open(), qPrintable(server.errorText()));
    QVERIFY(server.slavePath().startsWith("/dev/"));

    const int fd = ::open(server.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, " ", 1), ssize_t(1));
    server.service(); // reads the space at time 0
    now = serviceAt;
    server.service();
    const QByteArray bytes = readSome(fd, expected, 2000);
    ::close(fd);
    QCOMPARE(bytes.toHex(), QByteArray::fromHex("02420123401903").left(expected).toHex());
}

void TestPtyServer::link_data()
{
    QTest::addColumn<bool>("regularFileThere");
    QTest::addColumn<bool>("oldLinkThere");
    QTest::addColumn<bool>("made");

    QTest::newRow("free name") << false << false << true;
    QTest::newRow("stale link replaced") << false << true << true;
    QTest::newRow("regular file kept") << true << false << false;
}

void TestPtyServer::link()
{
    QFETCH(bool, regularFileThere);
    QFETCH(bool, oldLinkThere);
    QFETCH(bool, made);

    QTemporaryDir dir;
    const QString path = dir.filePath("meter");
    if (regularFileThere) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (oldLinkThere)
        QVERIFY(QFile::link("/nonexistent/pts", path));

    MeterEmulator meter;
    PtyServer server(meter);
    QVERIFY(server.open());
    QCOMPARE(server.makeLink(path), made);
    const QFileInfo info(path);
    QCOMPARE(info.isSymLink(), made);
    if (made)
        QCOMPARE(info.symLinkTarget(), server.slavePath());
    else
        QVERIFY(!server.errorText().isEmpty());
    server.close();
    QCOMPARE(QFileInfo::exists(path), regularFileThere); // our link is gone
}

QTEST_GUILESS_MAIN(TestPtyServer)
#include "tst_ptyserver.moc"
