// The emulated logger: every reply compared byte by byte with the layouts
// the program reads (status block, read byte, directory, set download,
// clock; the clock bytes are BCD, so their hex reads as the date), the
// writes that change its state, and reply faults.

#include "emulator/meteremulator.h"

#include <QtTest>

using emulator::Fault;
using emulator::FaultKind;
using emulator::LoggerContent;
using emulator::LoggerRecord;
using emulator::MeterEmulator;

Q_DECLARE_METATYPE(emulator::Fault)

namespace {

constexpr double t0 = 1000.0;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QDateTime at(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

LoggerContent twoSets()
{
    LoggerContent c;
    c.idCode = 0xBEEF;
    c.samplingTime = 300;
    c.memorySizeCode = 4;
    c.clock = at(2009, 12, 31, 23, 59, 50);
    c.sets = {
        {at(2024, 3, 1, 8, 0, 5), 10, {{0x80, 123450, 0x08}, {0x42, 12340, 0x09}, {0x20, 1200, 0x00}}},
        {at(1999, 12, 31, 23, 59, 55), 300, {{0x61, 12345, 0x0A}, {0xC1, 999999, 0x04}}},
    };
    return c;
}

// A meter in fast mode, attention given, with `content` loaded at t0.
MeterEmulator attending(const LoggerContent &content)
{
    MeterEmulator meter;
    meter.setFast(true);
    meter.setLogger(content, t0);
    meter.receive(" ", t0);
    meter.receive("A", t0 + 0.1);
    meter.takeOutput(t0 + 0.6);
    return meter;
}

QByteArray ask(MeterEmulator &meter, const QByteArray &request, double now)
{
    meter.receive(request, now);
    return meter.takeOutput(now);
}

QByteArray readRequest(int address)
{
    return bytes({'R', 0, 0, 0, address, 0, 0});
}

QByteArray writeRequest(int address, int value)
{
    return bytes({'W', 0, 0, 0, address, value, 0});
}

} // namespace

class TestLoggerMemory : public QObject
{
    Q_OBJECT

private slots:
    void replies_data();
    void replies();
    void statusBeyond64K();
    void clock_data();
    void clock();
    void writes_data();
    void writes();
    void replyFaults_data();
    void replyFaults();
    void answersOnlyAfterAttention();
    void pacedReplyTakesByteTimes();
};

void TestLoggerMemory::replies_data()
{
    QTest::addColumn<QByteArray>("request"); // as the program's command buffer sends it
    QTest::addColumn<QByteArray>("reply");   // hex; blanks only for reading

    // Status: ID code, 0, bytes in use (32 bits: 2 x 12 + 5 x 5), sampling time.
    QTest::newRow("status block") << QByteArray("Y") << QByteArray("BEEF 0000 0000 0031 012C");
    QTest::newRow("memory size code") << readRequest(134) << QByteArray("04");
    QTest::newRow("number of sets") << readRequest(135) << QByteArray("02");
    QTest::newRow("ID code high byte") << readRequest(128) << QByteArray("BE");
    QTest::newRow("sampling time low") << readRequest(131) << QByteArray("2C");
    QTest::newRow("unused address") << readRequest(133) << QByteArray("00");
    // Directory: per set its start clock, 4 zero bytes, its record count.
    QTest::newRow("directory") << QByteArray("I")
                               << QByteArray("240301080005 00000000 0003  991231235955 00000000 0002");
    // Set download ("K", set number - 1, then the rest of the buffer after
    // an ID code write): start clock, 0, interval, 0, then 5 bytes a record.
    QTest::newRow("set 1") << bytes({'K', 0, 0, 0, 129, 0x41, 0})
                           << QByteArray("240301080005 0000 000A 0000  8012345008 4201234009 2000120000");
    QTest::newRow("set 2") << bytes({'K', 1, 0, 0, 129, 0x41, 0})
                           << QByteArray("991231235955 0000 012C 0000  610123450A C199999904");
    QTest::newRow("clock, 1 s after the load") << QByteArray("C") << QByteArray("091231235951");
}

void TestLoggerMemory::replies()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);

    MeterEmulator meter = attending(twoSets());
    QCOMPARE(ask(meter, request, t0 + 1).toHex(), QByteArray::fromHex(reply).toHex());
    // Trailing buffer bytes (a 0x41 among them) were no request, nor attention.
    QCOMPARE(meter.takeOutput(t0 + 2).size(), 0);
    QVERIFY(meter.loggerMode());
}

void TestLoggerMemory::statusBeyond64K()
{
    LoggerContent big;
    big.sets = {{at(2024, 1, 1, 0, 0, 0), 1, QList<LoggerRecord>(20000)}};
    MeterEmulator meter = attending(big);
    QCOMPARE(ask(meter, "Y", t0 + 1).mid(4, 4).toHex(), QByteArray("000186ac")); // 12 + 5 x 20000
    MeterEmulator empty = attending(LoggerContent{});
    QCOMPARE(ask(empty, "I", t0 + 1).size(), 0); // no sets: an empty directory
}

void TestLoggerMemory::clock_data()
{
    QTest::addColumn<QByteArray>("setRequest"); // empty: keep the loaded clock
    QTest::addColumn<double>("after");          // seconds after the set (or load);
                                                // a set comes 1 s after the load
    QTest::addColumn<QByteArray>("reads");      // BCD yymmddhhmmss

    QTest::newRow("runs into the new year") << QByteArray() << 12.5 << QByteArray("100101000002");
    QTest::newRow("set by D")
        << bytes({'D', 0x00, 0x05, 0x31, 0x14, 0x22, 0x05, 0}) << 0.0 << QByteArray("000531142205");
    QTest::newRow("set by D, runs over a leap day")
        << bytes({'D', 0x00, 0x02, 0x28, 0x23, 0x59, 0x59, 0}) << 1.0 << QByteArray("000229000000");
    QTest::newRow("non-BCD byte ignored")
        << bytes({'D', 0x24, 0x01, 0x1A, 0x00, 0x00, 0x00, 0}) << 0.0 << QByteArray("091231235951");
}

void TestLoggerMemory::clock()
{
    QFETCH(QByteArray, setRequest);
    QFETCH(double, after);
    QFETCH(QByteArray, reads);

    MeterEmulator meter = attending(twoSets());
    double base = t0;
    if (!setRequest.isEmpty()) {
        base = t0 + 1;
        QCOMPARE(ask(meter, setRequest, base).size(), 1); // one acknowledgement byte
    }
    QCOMPARE(ask(meter, "C", base + after).toHex(), reads);
}

void TestLoggerMemory::writes_data()
{
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<QByteArray>("status");     // hex, read back after the writes
    QTest::addColumn<QByteArray>("memoryCode"); // hex

    QTest::newRow("ID code, high then low")
        << QByteArrayList{writeRequest(128, 0x12), writeRequest(129, 0x34)}
        << QByteArray("1234 0000 0000 0031 012C") << QByteArray("04");
    QTest::newRow("sampling time")
        << QByteArrayList{writeRequest(130, 0x7F), writeRequest(131, 0xFF)}
        << QByteArray("BEEF 0000 0000 0031 7FFF") << QByteArray("04");
    QTest::newRow("memory size from the panel's 8-byte buffer")
        << QByteArrayList{bytes({'W', 0, 0, 0, 134, 2, 0x20, 0})}
        << QByteArray("BEEF 0000 0000 0031 012C") << QByteArray("02");
    QTest::newRow("number of sets is read-only")
        << QByteArrayList{writeRequest(135, 9)} << QByteArray("BEEF 0000 0000 0031 012C") << QByteArray("04");
}

void TestLoggerMemory::writes()
{
    QFETCH(QByteArrayList, requests);
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, memoryCode);

    MeterEmulator meter = attending(twoSets());
    double now = t0 + 1;
    for (const QByteArray &request : requests) {
        QCOMPARE(ask(meter, request, now).size(), 1); // acknowledgement
        now += 0.2;
    }
    QVERIFY(meter.loggerMode()); // no trailing byte taken for a release
    QCOMPARE(ask(meter, "Y", now).toHex(), QByteArray::fromHex(status).toHex());
    QCOMPARE(ask(meter, readRequest(134), now + 0.1).toHex(), memoryCode);
    QCOMPARE(ask(meter, readRequest(135), now + 0.2).toHex(), QByteArray("02"));
}

void TestLoggerMemory::replyFaults_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("firstReply");   // bytes of the first reply
    QTest::addColumn<int>("secondReply");  // bytes of the same request asked again
    QTest::addColumn<bool>("framesAfterRelease");

    const QByteArray r134 = readRequest(134);
    QTest::newRow("no reply once") << Fault{FaultKind::NoLoggerReply, 1} << QByteArray("Y") << 0 << 10 << true;
    QTest::newRow("short status") << Fault{FaultKind::ShortReply, 1} << QByteArray("Y") << 9 << 10 << true;
    QTest::newRow("short read is none") << Fault{FaultKind::ShortReply, 1} << r134 << 0 << 1 << true;
    QTest::newRow("11-byte status") << Fault{FaultKind::LongStatusReply, 1} << QByteArray("Y") << 11 << 10 << true;
    QTest::newRow("silent mid download") << Fault{FaultKind::SilentMidReply, 1} << bytes({'K', 0, 0, 0, 0, 0, 0})
                                         << 13 << 0 << true;
    QTest::newRow("silence") << Fault{FaultKind::Silence} << QByteArray("Y") << 0 << 0 << false;
}

void TestLoggerMemory::replyFaults()
{
    QFETCH(Fault, fault);
    QFETCH(QByteArray, request);
    QFETCH(int, firstReply);
    QFETCH(int, secondReply);
    QFETCH(bool, framesAfterRelease);

    MeterEmulator meter = attending(twoSets());
    meter.setFault(fault);
    QCOMPARE(ask(meter, request, t0 + 1).size(), firstReply);
    QCOMPARE(meter.takeOutput(t0 + 10).size(), 0); // nothing more follows
    QCOMPARE(ask(meter, request, t0 + 11).size(), secondReply);
    meter.receive(" ", t0 + 12);
    QCOMPARE(meter.takeOutput(t0 + 12.1).size(), framesAfterRelease ? 7 : 0);
}

void TestLoggerMemory::answersOnlyAfterAttention()
{
    MeterEmulator meter;
    meter.setFast(true);
    meter.receive("Y", t0);
    QCOMPARE(meter.takeOutput(t0 + 1).size(), 0);
    meter.receive(writeRequest(134, 1), t0 + 1);
    meter.receive("A", t0 + 2);
    QCOMPARE(ask(meter, readRequest(134), t0 + 3).toHex(), QByteArray("02")); // unchanged sample code
}

void TestLoggerMemory::pacedReplyTakesByteTimes()
{
    MeterEmulator meter;
    meter.setLogger(twoSets(), t0);
    meter.receive("A", t0);
    meter.receive("Y", t0 + 1);
    QCOMPARE(meter.takeOutput(t0 + 1 + 9.5 / 240).size(), 9);
    QCOMPARE(meter.takeOutput(t0 + 1 + 10.5 / 240).size(), 1);
}

QTEST_APPLESS_MAIN(TestLoggerMemory)
#include "tst_loggermemory.moc"
