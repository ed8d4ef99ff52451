#include "link/decoder.h"

#include "support/frames.h"

#include <QTest>

namespace {

const auto frame = testsupport::liveRxV;

} // namespace

class DecoderTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decodesFrames_data();
    void decodesFrames();
    void unknownCodeKeepsPreviousFunctionAndRange_data();
    void unknownCodeKeepsPreviousFunctionAndRange();
    void indicators_data();
    void indicators();
    void valueByteFlagFollowsBitTwo();
    void checkMaxMinKeepsLargestFullScale_data();
    void checkMaxMinKeepsLargestFullScale();
    void liveFramesLeaveScaleAlone();
    void shortFrameKeepsPreviousValue();
};

void DecoderTest::decodesFrames_data()
{
    QTest::addColumn<QByteArray>("RxV");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("acDc");
    QTest::addColumn<QString>("rangeMode");

    QTest::newRow("500 mV worked example") << frame(0x80, 0x12, 0x34, 0x50, 0x08)
        << "mV" << "500 mV" << "123.45" << "DC" << "Range";
    QTest::newRow("50 V auto") << frame(0x42, 0x01, 0x23, 0x40, 0x18)
        << "V" << "50 V" << "01.234" << "DC" << "Auto";
    QTest::newRow("50 V negative") << frame(0x42, 0x01, 0x23, 0x40, 0x19)
        << "V" << "50 V" << "-01.234" << "DC" << "Auto";
    QTest::newRow("Cx drops the first nibble") << frame(0x61, 0x01, 0x23, 0x45, 0x00)
        << "Cx" << "5 uF" << "1.2345" << "" << "Range";
    QTest::newRow("Cx first nibble ignored even if set") << frame(0x61, 0x91, 0x23, 0x45, 0x00)
        << "Cx" << "5 uF" << "1.2345" << "" << "Range";
    QTest::newRow("Cx 500 nF") << frame(0x60, 0x01, 0x23, 0x45, 0x00)
        << "Cx" << "500 nF" << "123.45" << "" << "Range";
    QTest::newRow("5000 uA uses 0###.0") << frame(0x10, 0x12, 0x34, 0x50, 0x08)
        << "uA" << "5000 uA" << "1234.5" << "DC" << "Range";
    QTest::newRow("leading zero fills") << frame(0x10, 0x01, 0x23, 0x40, 0x00)
        << "uA" << "5000 uA" << "0123.4" << "AC" << "Range";
    QTest::newRow("5 V four decimals") << frame(0x40, 0x12, 0x34, 0x50, 0x08)
        << "V" << "5 V" << "1.2345" << "DC" << "Range";
    QTest::newRow("sixth nibble 4 not rounded") << frame(0x80, 0x12, 0x34, 0x54, 0x08)
        << "mV" << "500 mV" << "123.45" << "DC" << "Range";
    QTest::newRow("sixth nibble 5 rounds up") << frame(0x80, 0x12, 0x34, 0x55, 0x08)
        << "mV" << "500 mV" << "123.46" << "DC" << "Range";
    QTest::newRow("rounding carries through") << frame(0x80, 0x49, 0x99, 0x95, 0x08)
        << "mV" << "500 mV" << "500.00" << "DC" << "Range";
    QTest::newRow("zero") << frame(0x42, 0x00, 0x00, 0x00, 0x08)
        << "V" << "50 V" << "00.000" << "DC" << "Range";
    QTest::newRow("non-BCD shortens the number") << frame(0x80, 0x12, 0xA4, 0x50, 0x08)
        << "mV" << "500 mV" << "000.01" << "DC" << "Range";
    QTest::newRow("non-BCD first digit gives zero") << frame(0x80, 0xB2, 0x34, 0x50, 0x08)
        << "mV" << "500 mV" << "000.00" << "DC" << "Range";
    QTest::newRow("overload") << frame(0x42, 0x12, 0x34, 0x50, 0x04)
        << "V" << "50 V" << "OL" << "AC" << "Range";
    QTest::newRow("negative overload") << frame(0x42, 0x99, 0x99, 0x99, 0x05)
        << "V" << "50 V" << "-OL" << "AC" << "Range";
    QTest::newRow("Ohm beep") << frame(0x21, 0x01, 0x23, 0x40, 0x00)
        << "Ohm" << "5K Ohm" << "0.1234" << "BEEP" << "Range";
    QTest::newRow("Ohm no beep") << frame(0x21, 0x01, 0x23, 0x40, 0x08)
        << "Ohm" << "5K Ohm" << "0.1234" << "" << "Range";
    QTest::newRow("Diode never AC/DC") << frame(0xA0, 0x01, 0x23, 0x40, 0x18)
        << "Diode" << "5 V" << "0.1234" << "" << "Auto";
    QTest::newRow("Frequency has no range mode") << frame(0xC2, 0x01, 0x23, 0x40, 0x18)
        << "Frequency" << "5K Hz" << "0.1234" << "" << "";
    QTest::newRow("10 A") << frame(0x55, 0x01, 0x23, 0x40, 0x08)
        << "A" << "10 A" << "01.234" << "DC" << "Range";
    QTest::newRow("5 A") << frame(0x50, 0x01, 0x23, 0x40, 0x00)
        << "A" << "5 A" << "0.1234" << "AC" << "Range";
    QTest::newRow("codes 64 and 65 share a row") << frame(0x41, 0x01, 0x00, 0x00, 0x08)
        << "V" << "5 V" << "0.1000" << "DC" << "Range";
}

void DecoderTest::decodesFrames()
{
    QFETCH(QByteArray, RxV);
    common::MeterReading reading;
    common::SharedValues shared;
    live::decodeLiveFrame(RxV, reading, shared);
    QTEST(reading.functionText, "function");
    QTEST(reading.rangeText, "range");
    QTEST(reading.valueText, "value");
    QTEST(reading.acDcText, "acDc");
    QTEST(reading.rangeModeText, "rangeMode");
}

void DecoderTest::unknownCodeKeepsPreviousFunctionAndRange_data()
{
    QTest::addColumn<int>("code");
    for (int code : {0x26, 0x45, 0x64, 0x86, 0xC6, 0x00})
        QTest::addRow("code 0x%02X", code) << code;
}

void DecoderTest::unknownCodeKeepsPreviousFunctionAndRange()
{
    QFETCH(int, code);
    common::MeterReading reading;
    common::SharedValues shared;
    live::decodeLiveFrame(frame(0x42, 0x01, 0x23, 0x40, 0x08), reading, shared);
    live::decodeLiveFrame(frame(static_cast<unsigned char>(code), 0x02, 0x00, 0x00, 0x08), reading,
                          shared);
    QCOMPARE(reading.functionText, QStringLiteral("V"));
    QCOMPARE(reading.rangeText, QStringLiteral("50 V"));
    // The value is decoded with the previous range.
    QCOMPARE(reading.valueText, QStringLiteral("02.000"));
}

void DecoderTest::indicators_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("battery");
    QTest::addColumn<bool>("minMode");
    QTest::addColumn<bool>("maxMode");
    QTest::addColumn<bool>("relMode");
    QTest::newRow("none") << 0x00 << "" << false << false << false;
    QTest::newRow("low battery") << 0x02 << "LOW BATTERY" << false << false << false;
    QTest::newRow("MIN") << 0x20 << "" << true << false << false;
    QTest::newRow("MAX") << 0x40 << "" << false << true << false;
    QTest::newRow("REL") << 0x80 << "" << false << false << true;
    QTest::newRow("all") << 0xFF << "LOW BATTERY" << true << true << true;
}

void DecoderTest::indicators()
{
    QFETCH(int, status);
    common::MeterReading reading;
    common::SharedValues shared;
    live::decodeLiveFrame(frame(0x42, 0, 0, 0, static_cast<unsigned char>(status)), reading, shared);
    QTEST(reading.batteryText, "battery");
    QTEST(reading.minMode, "minMode");
    QTEST(reading.maxMode, "maxMode");
    QTEST(reading.relMode, "relMode");
}

void DecoderTest::valueByteFlagFollowsBitTwo()
{
    common::MeterReading reading;
    common::SharedValues shared;
    live::decodeLiveFrame(frame(0x80, 0x12, 0x34, 0x54, 0x08), reading, shared);
    QCOMPARE(shared.valueByteFlag, qint16(1));
    live::decodeLiveFrame(frame(0x80, 0x12, 0x34, 0x50, 0x08), reading, shared);
    QCOMPARE(shared.valueByteFlag, qint16(0));
    // Also kept on an overload frame.
    live::decodeLiveFrame(frame(0x80, 0x00, 0x00, 0x04, 0x04), reading, shared);
    QCOMPARE(shared.valueByteFlag, qint16(1));
}

void DecoderTest::checkMaxMinKeepsLargestFullScale_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<double>("scaleMax");
    QTest::addColumn<double>("scaleHalf");
    QTest::newRow("5 V then 500 mV") << 0x40 << 0x80 << 500.0 << 250.0;
    QTest::newRow("500 mV then 5 V") << 0x80 << 0x40 << 500.0 << 250.0;
    QTest::newRow("5 V alone halves to 2.5") << 0x40 << 0x00 << 5.0 << 2.5;
    QTest::newRow("50M Ohm") << 0x25 << 0x40 << 50000000.0 << 25000000.0;
}

void DecoderTest::checkMaxMinKeepsLargestFullScale()
{
    QFETCH(int, first);
    QFETCH(int, second);
    common::SharedValues shared;
    QString function;
    QString range;
    for (int code : {first, second}) {
        const QByteArray RxV(1, static_cast<char>(code));
        live::DecodeSecondByte(RxV, {function, range}, true, shared);
    }
    QTEST(shared.scaleMax, "scaleMax");
    QTEST(shared.scaleHalf, "scaleHalf");
}

void DecoderTest::liveFramesLeaveScaleAlone()
{
    common::SharedValues shared;
    common::MeterReading reading;
    live::decodeLiveFrame(frame(0x25, 0, 0, 0, 0), reading, shared);
    QCOMPARE(shared.scaleMax, 0.0);
}

void DecoderTest::shortFrameKeepsPreviousValue()
{
    common::MeterReading reading;
    reading.functionText = QStringLiteral("V");
    reading.rangeText = QStringLiteral("50 V");
    reading.valueText = QStringLiteral("01.234");
    qint16 flag = 0;
    live::decodedata(QByteArray("\x42\x01", 2), reading, flag);
    QCOMPARE(reading.valueText, QStringLiteral("01.234"));
}

QTEST_GUILESS_MAIN(DecoderTest)
#include "tst_decoder.moc"
