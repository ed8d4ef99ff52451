#include "link/decoder.h"

#include "support/frames.h"

#include <QTest>

namespace {

const auto frame = testsupport::liveRxV;

// The status indicators a reading carries, in a fixed order.
QString indicators(const common::MeterReading &reading)
{
    QStringList set;
    if (!reading.batteryText.isEmpty())
        set << reading.batteryText;
    if (reading.minMode)
        set << QStringLiteral("MIN");
    if (reading.maxMode)
        set << QStringLiteral("MAX");
    if (reading.relMode)
        set << QStringLiteral("REL");
    return set.join(QLatin1Char(','));
}

} // namespace

class DecoderTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decodesFrames_data();
    void decodesFrames();
    void unknownCodeKeepsPreviousFunctionAndRange_data();
    void unknownCodeKeepsPreviousFunctionAndRange();
    void checkMaxMinKeepsLargestFullScale_data();
    void checkMaxMinKeepsLargestFullScale();
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
    QTest::addColumn<QString>("indicators");
    QTest::addColumn<qint16>("valueByteFlag"); // bit 2 of value byte 3

    const qint16 off = 0, on = 1;
    QTest::newRow("500 mV worked example") << frame(0x80, 0x12, 0x34, 0x50, 0x08)
        << "mV" << "500 mV" << "123.45" << "DC" << "Range" << "" << off;
    QTest::newRow("50 V negative auto") << frame(0x42, 0x01, 0x23, 0x40, 0x19)
        << "V" << "50 V" << "-01.234" << "DC" << "Auto" << "" << off;
    QTest::newRow("Cx drops the first nibble") << frame(0x61, 0x01, 0x23, 0x45, 0x00)
        << "Cx" << "5 uF" << "1.2345" << "" << "Range" << "" << on;
    QTest::newRow("Cx first nibble ignored even if set") << frame(0x61, 0x91, 0x23, 0x45, 0x00)
        << "Cx" << "5 uF" << "1.2345" << "" << "Range" << "" << on;
    QTest::newRow("5000 uA uses 0###.0") << frame(0x10, 0x12, 0x34, 0x50, 0x08)
        << "uA" << "5000 uA" << "1234.5" << "DC" << "Range" << "" << off;
    QTest::newRow("sixth nibble 5 rounds up") << frame(0x80, 0x12, 0x34, 0x55, 0x08)
        << "mV" << "500 mV" << "123.46" << "DC" << "Range" << "" << on;
    QTest::newRow("rounding carries through") << frame(0x80, 0x49, 0x99, 0x95, 0x08)
        << "mV" << "500 mV" << "500.00" << "DC" << "Range" << "" << on;
    QTest::newRow("non-BCD shortens the number") << frame(0x80, 0x12, 0xA4, 0x50, 0x08)
        << "mV" << "500 mV" << "000.01" << "DC" << "Range" << "" << off;
    QTest::newRow("non-BCD first digit gives zero") << frame(0x80, 0xB2, 0x34, 0x50, 0x08)
        << "mV" << "500 mV" << "000.00" << "DC" << "Range" << "" << off;
    QTest::newRow("overload") << frame(0x42, 0x12, 0x34, 0x50, 0x04)
        << "V" << "50 V" << "OL" << "AC" << "Range" << "" << off;
    QTest::newRow("every status bit: negative overload") << frame(0x42, 0x99, 0x99, 0x94, 0xFF)
        << "V" << "50 V" << "-OL" << "DC" << "Auto" << "LOW BATTERY,MIN,MAX,REL" << on;
    QTest::newRow("REL alone") << frame(0x42, 0x01, 0x23, 0x40, 0x88)
        << "V" << "50 V" << "01.234" << "DC" << "Range" << "REL" << off;
    QTest::newRow("Ohm beep") << frame(0x21, 0x01, 0x23, 0x40, 0x00)
        << "Ohm" << "5K Ohm" << "0.1234" << "BEEP" << "Range" << "" << off;
    QTest::newRow("Diode never AC/DC") << frame(0xA0, 0x01, 0x23, 0x40, 0x18)
        << "Diode" << "5 V" << "0.1234" << "" << "Auto" << "" << off;
    QTest::newRow("Frequency has no range mode") << frame(0xC2, 0x01, 0x23, 0x40, 0x18)
        << "Frequency" << "5K Hz" << "0.1234" << "" << "" << "" << off;
    QTest::newRow("10 A") << frame(0x55, 0x01, 0x23, 0x40, 0x08)
        << "A" << "10 A" << "01.234" << "DC" << "Range" << "" << off;
    QTest::newRow("codes 64 and 65 share a row") << frame(0x41, 0x01, 0x00, 0x00, 0x08)
        << "V" << "5 V" << "0.1000" << "DC" << "Range" << "" << off;
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
    QTEST(indicators(reading), "indicators");
    QTEST(shared.valueByteFlag, "valueByteFlag");
    QCOMPARE(shared.scaleMax, 0.0); // only stored records track the full scale
}

void DecoderTest::unknownCodeKeepsPreviousFunctionAndRange_data()
{
    QTest::addColumn<int>("code");
    for (int code : {0x00, 0x26, 0xC6})
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

void DecoderTest::checkMaxMinKeepsLargestFullScale_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<double>("scaleMax");
    QTest::addColumn<double>("scaleHalf");
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
