// Live stream of the emulated meter: frame layout, pacing, attention and
// release, and the frame faults.

#include "emulator/meteremulator.h"

#include <QtTest>

using emulator::Fault;
using emulator::FaultKind;
using emulator::LiveSettings;
using emulator::MeterEmulator;

Q_DECLARE_METATYPE(emulator::Fault)

namespace {

constexpr double byteTime = 1.0 / 240.0;
constexpr double start = 100.0;

// The six value digits of a frame: BCD, so their hex reads as the number.
quint32 frameDigits(const QByteArray &frame)
{
    return frame.mid(2, 3).toHex().toUInt();
}

bool isFrame(const QByteArray &bytes)
{
    return bytes.size() == 7 && bytes.at(0) == 2 && bytes.at(6) == 3;
}

MeterEmulator fastMeter(const LiveSettings &live = {})
{
    MeterEmulator meter(live);
    meter.setFast(true);
    return meter;
}

} // namespace

class TestMeterEmulator : public QObject
{
    Q_OBJECT

private slots:
    void frameLayout_data();
    void frameLayout();
    void generatedReadingsStayInRange();
    void pacing_data();
    void pacing();
    void attentionAndRelease_data();
    void attentionAndRelease();
    void frameFaults_data();
    void frameFaults();
    void timeJumpSendsBoundedBacklog();
};

void TestMeterEmulator::frameLayout_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("status");
    QTest::addColumn<quint32>("digits");
    QTest::addColumn<bool>("valueFlag");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("500 mV DC") << 0x80 << 0x08 << quint32(123450) << false
                               << QByteArray::fromHex("02801234500803");
    QTest::newRow("capacitance five digits") << 0x61 << 0x10 << quint32(12345) << false
                                             << QByteArray::fromHex("02610123451003");
    QTest::newRow("value flag sets bit 2 of value byte 3") << 0x80 << 0x08 << quint32(123450) << true
                                                            << QByteArray::fromHex("02801234540803");
    QTest::newRow("zero reading, all status bits") << 0x20 << 0xFF << quint32(0) << false
                                                    << QByteArray::fromHex("0220000000FF03");
}

void TestMeterEmulator::frameLayout()
{
    QFETCH(int, code);
    QFETCH(int, status);
    QFETCH(quint32, digits);
    QFETCH(bool, valueFlag);
    QFETCH(QByteArray, expected);

    LiveSettings live;
    live.code = quint8(code);
    live.status = quint8(status);
    live.fixedDigits = digits;
    live.valueFlag = valueFlag;
    MeterEmulator meter = fastMeter(live);
    meter.receive(" ", start);
    const QByteArray out = meter.takeOutput(start);
    QCOMPARE(out.toHex(), expected.toHex());
}

void TestMeterEmulator::generatedReadingsStayInRange()
{
    // 500 mV: six digits below 500000.
    const int code = 0x80;
    const quint32 fullScale = 500000;
    LiveSettings live;
    live.code = quint8(code);
    live.seed = 7;
    MeterEmulator meter = fastMeter(live);
    MeterEmulator twin = fastMeter(live);
    meter.receive(" ", 0.0);
    twin.receive(" ", 0.0);
    // Two minutes of frames: two periods of the slow sine.
    QByteArray out;
    for (int second = 0; second <= 120; ++second)
        out += meter.takeOutput(second);
    QCOMPARE(twin.takeOutput(1.0), out.left(5 * 7)); // same seed, same readings
    QCOMPARE(out.size(), 481 * 7);

    quint32 lowest = fullScale, highest = 0;
    for (qsizetype at = 0; at < out.size(); at += 7) {
        const QByteArray frame = out.mid(at, 7);
        QVERIFY2(isFrame(frame), frame.toHex().constData());
        QCOMPARE(quint8(frame.at(1)), quint8(code));
        QCOMPARE(quint8(frame.at(4)) & 0x0F, 0); // last nibble (flag bit) clear
        lowest = std::min(lowest, frameDigits(frame));
        highest = std::max(highest, frameDigits(frame));
    }
    QVERIFY(highest < fullScale);
    QVERIFY(highest - lowest > fullScale / 2); // it does change
    QVERIFY(lowest > 0);
}

void TestMeterEmulator::pacing_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<double>("after");
    QTest::addColumn<int>("arrived");

    const double eps = 1e-6;
    QTest::newRow("nothing at the space itself") << 4.0 << 0.0 << 0;
    QTest::newRow("frame complete") << 4.0 << 7 * byteTime + eps << 7;
    QTest::newRow("second frame first byte") << 4.0 << 0.25 + byteTime + eps << 8;
    QTest::newRow("one second at 10 per second") << 10.0 << 1.0 + 7 * byteTime + eps << 77;
}

void TestMeterEmulator::pacing()
{
    QFETCH(double, rate);
    QFETCH(double, after);
    QFETCH(int, arrived);

    LiveSettings live;
    live.framesPerSecond = rate;
    MeterEmulator meter(live);
    meter.receive(" ", start);
    QCOMPARE(meter.takeOutput(start + after).size(), arrived);
}

void TestMeterEmulator::attentionAndRelease_data()
{
    // One byte every 0.3 s ('.' sends nothing); frames are counted up to
    // 1.2 s. A 4-per-second stream started by the first space has frames
    // at 0, 0.25, 0.5, 0.75 and 1.0.
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("replyBytes");
    QTest::addColumn<bool>("streaming");

    QTest::newRow("no stream before a space") << QByteArray("....") << 0 << 0 << false;
    QTest::newRow("space starts the stream") << QByteArray(" ...") << 5 << 0 << true;
    QTest::newRow("attention stops it") << QByteArray(" A..") << 2 << 0 << false;
    QTest::newRow("release resumes it at once") << QByteArray(" A. ") << 4 << 0 << true;
    QTest::newRow("logger request answered, no frames") << QByteArray(" AY.") << 2 << 10 << false;
}

void TestMeterEmulator::attentionAndRelease()
{
    QFETCH(QByteArray, script);
    QFETCH(int, frames);
    QFETCH(int, replyBytes);
    QFETCH(bool, streaming);

    MeterEmulator meter = fastMeter();
    QByteArray out;
    for (qsizetype i = 0; i < script.size(); ++i) {
        if (script.at(i) != '.')
            meter.receive(script.mid(i, 1), start + 0.3 * double(i));
    }
    out += meter.takeOutput(start + 1.19);
    QCOMPARE(out.size(), 7 * frames + replyBytes);
    for (qsizetype at = 0; at < 7 * frames; at += 7)
        QVERIFY(isFrame(out.mid(at, 7)));
    QCOMPARE(meter.streaming(), streaming);
}

void TestMeterEmulator::frameFaults_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("spoiltSize");  // bytes sent in place of the first frame
    QTest::addColumn<int>("spoiltEnd");   // last byte of the spoilt part, -1 unchecked
    QTest::addColumn<bool>("secondSpoilt");

    QTest::newRow("three stray bytes") << Fault{FaultKind::StrayBytes, 1} << 10 << 3 << false;
    QTest::newRow("wrong end byte") << Fault{FaultKind::WrongEndByte, 1} << 7 << 4 << false;
    QTest::newRow("truncated to one") << Fault{FaultKind::TruncatedFrame, 1, 1} << 1 << 2 << false;
    QTest::newRow("wrong end until cleared") << Fault{FaultKind::WrongEndByte, 0} << 7 << 4 << true;
    QTest::newRow("reply fault leaves frames alone") << Fault{FaultKind::NoLoggerReply, 0} << 7 << 3 << false;
}

void TestMeterEmulator::frameFaults()
{
    QFETCH(Fault, fault);
    QFETCH(int, spoiltSize);
    QFETCH(int, spoiltEnd);
    QFETCH(bool, secondSpoilt);

    MeterEmulator meter = fastMeter();
    meter.setFault(fault);
    meter.receive(" ", start);
    const QByteArray first = meter.takeOutput(start);
    QCOMPARE(first.size(), spoiltSize);
    if (spoiltEnd >= 0)
        QCOMPARE(int(quint8(first.back())), spoiltEnd);
    if (fault.kind == FaultKind::Garbage || fault.kind == FaultKind::StrayBytes) {
        const QByteArray noise = first.left(spoiltSize - (fault.kind == FaultKind::StrayBytes ? 7 : 0));
        QVERIFY2(!noise.contains(char(2)), noise.toHex().constData());
    }
    if (fault.kind == FaultKind::StrayBytes)
        QVERIFY(isFrame(first.right(7)));

    const QByteArray second = meter.takeOutput(start + 0.25);
    QCOMPARE(!isFrame(second), secondSpoilt);
    meter.clearFault();
    QVERIFY(isFrame(meter.takeOutput(start + 0.5)));
}

void TestMeterEmulator::timeJumpSendsBoundedBacklog()
{
    MeterEmulator meter = fastMeter();
    meter.receive(" ", 0.0);
    QCOMPARE(meter.takeOutput(0.0).size(), 7);
    // An hour without reading: only the last seconds of frames, then the
    // stream goes on at its rate.
    const QByteArray backlog = meter.takeOutput(3600.0);
    const int backlogFrames = int(backlog.size() / 7);
    QVERIFY(backlogFrames <= 4 * int(MeterEmulator::maxBacklogSeconds) + 1);
    QVERIFY(backlogFrames >= 4 * int(MeterEmulator::maxBacklogSeconds));
    QCOMPARE(meter.takeOutput(3600.1).size(), 0);
    QCOMPARE(meter.takeOutput(3600.26).size(), 7);
    // Time going backwards counts as no time passing.
    QCOMPARE(meter.takeOutput(10.0).size(), 0);
}

QTEST_APPLESS_MAIN(TestMeterEmulator)
#include "tst_meteremulator.moc"
