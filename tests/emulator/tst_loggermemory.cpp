// The emulated logger: every reply decoded here byte by byte from the
// layouts the program reads (status block, read byte, directory, set
// download, clock), the writes that change its state, and reply faults.

#include "emulator/meteremulator.h"

#include <QtTest>

using emulator::Fault;
using emulator::FaultKind;
using emulator::LoggerContent;
using emulator::LoggerRecord;
using emulator::LoggerSet;
using emulator::MeterEmulator;

Q_DECLARE_METATYPE(emulator::Fault)
Q_DECLARE_METATYPE(emulator::LoggerContent)

namespace {

constexpr double t0 = 1000.0;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

int u8(const QByteArray &b, int position) // position counted from 1
{
    return quint8(b.at(position - 1));
}

int u16(const QByteArray &b, int position)
{
    return u8(b, position) * 256 + u8(b, position + 1);
}

int bcd(const QByteArray &b, int position)
{
    const int v = u8(b, position);
    return (v >> 4) * 10 + (v & 0xF);
}

// yy-mm-dd hh:mm:ss from six BCD bytes at `position`.
QString clockText(const QByteArray &b, int position)
{
    QString text;
    for (int i = 0; i < 6; ++i)
        text += QString::asprintf("%02d%s", bcd(b, position + i), i == 5 ? "" : i == 2 ? " " : i < 2 ? "-" : ":");
    return text;
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
    void statusBlock_data();
    void statusBlock();
    void readByte_data();
    void readByte();
    void directory();
    void download_data();
    void download();
    void clock_data();
    void clock();
    void writes_data();
    void writes();
    void replyFaults_data();
    void replyFaults();
    void answersOnlyAfterAttention();
    void pacedReplyTakesByteTimes();
    void clockStartsWhenFirstDriven();
};

void TestLoggerMemory::statusBlock_data()
{
    QTest::addColumn<LoggerContent>("content");
    QTest::addColumn<int>("records");

    QTest::newRow("two sets") << twoSets() << 5;
    QTest::newRow("sample") << LoggerContent::sample() << 20 + 50 + 3 + 12;
    QTest::newRow("empty memory") << LoggerContent{} << 0;
    LoggerContent big;
    big.sets = {{at(2024, 1, 1, 0, 0, 0), 1, QList<LoggerRecord>(20000)}};
    QTest::newRow("over 64K in use") << big << 20000;
}

void TestLoggerMemory::statusBlock()
{
    QFETCH(LoggerContent, content);
    QFETCH(int, records);

    MeterEmulator meter = attending(content);
    const QByteArray reply = ask(meter, "Y", t0 + 1);
    QCOMPARE(reply.size(), 10);
    QCOMPARE(u16(reply, 1), int(content.idCode));
    QCOMPARE(u16(reply, 3), 0);
    const qint64 used = qint64(u16(reply, 5)) * 65536 + u16(reply, 7);
    QCOMPARE(used, qint64(12 * content.sets.size() + 5 * records));
    QCOMPARE(u16(reply, 9), int(content.samplingTime));
}

void TestLoggerMemory::readByte_data()
{
    QTest::addColumn<int>("memoryCode");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("value");

    QTest::newRow("memory size code") << 4 << 134 << 4;
    QTest::newRow("memory size code 0") << 0 << 134 << 0;
    QTest::newRow("memory size code 5") << 5 << 134 << 5;
    QTest::newRow("number of sets") << 1 << 135 << 2;
    QTest::newRow("ID code high byte") << 1 << 128 << 0xBE;
    QTest::newRow("ID code low byte") << 1 << 129 << 0xEF;
    QTest::newRow("sampling time high") << 1 << 130 << 1;
    QTest::newRow("sampling time low") << 1 << 131 << 44;
    QTest::newRow("unused address") << 1 << 133 << 0;
    QTest::newRow("address 0") << 1 << 0 << 0;
}

void TestLoggerMemory::readByte()
{
    QFETCH(int, memoryCode);
    QFETCH(int, address);
    QFETCH(int, value);

    LoggerContent content = twoSets();
    content.memorySizeCode = quint8(memoryCode);
    MeterEmulator meter = attending(content);
    QCOMPARE(ask(meter, readRequest(address), t0 + 1).toHex(), bytes({value}).toHex());
    // The trailing buffer byte did not count as a request.
    QCOMPARE(meter.takeOutput(t0 + 2).size(), 0);
}

void TestLoggerMemory::directory()
{
    const LoggerContent content = twoSets();
    MeterEmulator meter = attending(content);
    const QByteArray reply = ask(meter, "I", t0 + 1);
    QCOMPARE(reply.size(), 24);
    QCOMPARE(clockText(reply, 1), QStringLiteral("24-03-01 08:00:05"));
    QCOMPARE(reply.mid(6, 4), QByteArray(4, 0));
    QCOMPARE(u16(reply, 11), 3);
    QCOMPARE(clockText(reply, 13), QStringLiteral("99-12-31 23:59:55"));
    QCOMPARE(u16(reply, 23), 2);

    MeterEmulator empty = attending(LoggerContent{});
    QCOMPARE(ask(empty, "I", t0 + 1).size(), 0);
}

void TestLoggerMemory::download_data()
{
    QTest::addColumn<int>("setIndex"); // the "K" byte: set number - 1
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QByteArray>("records"); // 5 bytes each, as expected

    QTest::newRow("set 1") << 0 << "24-03-01 08:00:05" << 10
                           << QByteArray::fromHex("80123450 08" "42012340 09" "20001200 00");
    QTest::newRow("set 2") << 1 << "99-12-31 23:59:55" << 300
                           << QByteArray::fromHex("61012345 0A" "C1999999 04");
}

void TestLoggerMemory::download()
{
    QFETCH(int, setIndex);
    QFETCH(QString, start);
    QFETCH(int, interval);
    QFETCH(QByteArray, records);

    MeterEmulator meter = attending(twoSets());
    // The logger window's 7-byte buffer after an ID code write.
    const QByteArray reply = ask(meter, bytes({'K', setIndex, 0, 0, 129, 0x41, 0}), t0 + 1);
    QCOMPARE(reply.size(), 12 + records.size());
    QCOMPARE(clockText(reply, 1), start);
    QCOMPARE(u16(reply, 7), 0);
    QCOMPARE(u16(reply, 9), interval);
    QCOMPARE(u16(reply, 11), 0);
    QCOMPARE(reply.mid(12).toHex(), records.toHex());
    QVERIFY(meter.loggerMode()); // the trailing 0x41 was no attention byte
}

void TestLoggerMemory::clock_data()
{
    QTest::addColumn<QByteArray>("setRequest"); // empty: keep the loaded clock
    QTest::addColumn<double>("after");          // seconds after the set (or load);
                                                // a set comes 1 s after the load
    QTest::addColumn<QString>("reads");

    QTest::newRow("loaded clock") << QByteArray() << 0.0 << "09-12-31 23:59:50";
    QTest::newRow("runs into the new year") << QByteArray() << 12.5 << "10-01-01 00:00:02";
    QTest::newRow("runs for a day and an hour") << QByteArray() << 90000.0 << "10-01-02 00:59:50";
    QTest::newRow("set by D")
        << bytes({'D', 0x00, 0x05, 0x31, 0x14, 0x22, 0x05, 0}) << 0.0 << "00-05-31 14:22:05";
    QTest::newRow("set by D, runs over a leap day")
        << bytes({'D', 0x00, 0x02, 0x28, 0x23, 0x59, 0x59, 0}) << 1.0 << "00-02-29 00:00:00";
    QTest::newRow("invalid month ignored")
        << bytes({'D', 0x24, 0x13, 0x01, 0x00, 0x00, 0x00, 0}) << 0.0 << "09-12-31 23:59:51";
    QTest::newRow("non-BCD byte ignored")
        << bytes({'D', 0x24, 0x01, 0x1A, 0x00, 0x00, 0x00, 0}) << 0.0 << "09-12-31 23:59:51";
}

void TestLoggerMemory::clock()
{
    QFETCH(QByteArray, setRequest);
    QFETCH(double, after);
    QFETCH(QString, reads);

    MeterEmulator meter = attending(twoSets());
    double base = t0;
    if (!setRequest.isEmpty()) {
        base = t0 + 1;
        QCOMPARE(ask(meter, setRequest, base).size(), 1); // one acknowledgement byte
    }
    const QByteArray reply = ask(meter, "C", base + after);
    QCOMPARE(reply.size(), 6);
    QCOMPARE(clockText(reply, 1), reads);
}

void TestLoggerMemory::writes_data()
{
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<int>("idCode");
    QTest::addColumn<int>("samplingTime");
    QTest::addColumn<int>("memoryCode");

    QTest::newRow("ID code, high then low")
        << QByteArrayList{writeRequest(128, 0x12), writeRequest(129, 0x34)} << 0x1234 << 300 << 4;
    QTest::newRow("ID code 65535")
        << QByteArrayList{writeRequest(128, 255), writeRequest(129, 255)} << 65535 << 300 << 4;
    QTest::newRow("ID code high byte only")
        << QByteArrayList{writeRequest(128, 0x01)} << 0x01EF << 300 << 4;
    QTest::newRow("sampling time")
        << QByteArrayList{writeRequest(130, 0x7F), writeRequest(131, 0xFF)} << 0xBEEF << 32767 << 4;
    QTest::newRow("memory size from the panel's 8-byte buffer")
        << QByteArrayList{bytes({'W', 0, 0, 0, 134, 2, 0x20, 0})} << 0xBEEF << 300 << 2;
    QTest::newRow("number of sets is read-only")
        << QByteArrayList{writeRequest(135, 9)} << 0xBEEF << 300 << 4;
}

void TestLoggerMemory::writes()
{
    QFETCH(QByteArrayList, requests);
    QFETCH(int, idCode);
    QFETCH(int, samplingTime);
    QFETCH(int, memoryCode);

    MeterEmulator meter = attending(twoSets());
    double now = t0 + 1;
    for (const QByteArray &request : requests) {
        QCOMPARE(ask(meter, request, now).size(), 1); // acknowledgement
        now += 0.2;
    }
    QVERIFY(meter.loggerMode()); // no trailing byte taken for a release
    const QByteArray status = ask(meter, "Y", now);
    QCOMPARE(u16(status, 1), idCode);
    QCOMPARE(u16(status, 9), samplingTime);
    QCOMPARE(ask(meter, readRequest(134), now + 0.1).toHex(), bytes({memoryCode}).toHex());
    QCOMPARE(ask(meter, readRequest(135), now + 0.2).toHex(), QByteArray("02"));
    QCOMPARE(int(meter.logger(now).idCode), idCode);
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
    QTest::newRow("no reply until cleared") << Fault{FaultKind::NoLoggerReply} << QByteArray("C") << 0 << 0 << true;
    QTest::newRow("no acknowledgement") << Fault{FaultKind::NoLoggerReply, 1} << writeRequest(131, 5) << 0 << 1 << true;
    QTest::newRow("short status") << Fault{FaultKind::ShortReply, 1} << QByteArray("Y") << 9 << 10 << true;
    QTest::newRow("short directory") << Fault{FaultKind::ShortReply, 1} << QByteArray("I") << 23 << 24 << true;
    QTest::newRow("short read is none") << Fault{FaultKind::ShortReply, 1} << r134 << 0 << 1 << true;
    QTest::newRow("11-byte status") << Fault{FaultKind::LongStatusReply, 1} << QByteArray("Y") << 11 << 10 << true;
    QTest::newRow("11-byte status leaves others") << Fault{FaultKind::LongStatusReply, 1} << QByteArray("C") << 6 << 6 << true;
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

void TestLoggerMemory::clockStartsWhenFirstDriven()
{
    MeterEmulator meter;
    meter.setFast(true);
    meter.setLogger(twoSets()); // no time given: the clock starts at the next call
    meter.receive("A", 50000.0);
    QCOMPARE(clockText(ask(meter, "C", 50003.0), 1), QStringLiteral("09-12-31 23:59:53"));
    QCOMPARE(meter.meterClock(50010.0), QDateTime(QDate(2010, 1, 1), QTime(0, 0, 0), Qt::UTC));
}

QTEST_APPLESS_MAIN(TestLoggerMemory)
#include "tst_loggermemory.moc"
