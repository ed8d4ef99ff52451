// Decoding of stored records: texts, their carry-over from record to
// record, and the row they make.

#include "common/meterreading.h"
#include "link/decoder.h"
#include "logger/storedrecord.h"
#include "logger/storedrecordrow.h"

#include <QTest>

namespace {

QByteArray record(int code, int b1, int b2, int b3, int status)
{
    const char bytes[] = {char(code), char(b1), char(b2), char(b3), char(status)};
    return QByteArray(bytes, sizeof bytes);
}

constexpr int negative = 0x01;
constexpr int lowBattery = 0x02;
constexpr int overload = 0x04;
constexpr int dc = 0x08;

} // namespace

class StoredRecordTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decodesOneRecord_data();
    void decodesOneRecord();
    void nonDecimalNibblesAsTheLiveDecoder_data();
    void nonDecimalNibblesAsTheLiveDecoder();
    void unknownCodeKeepsTheTextsBefore();
    void rangeWithoutNumberKeepsTheValueBefore_data();
    void rangeWithoutNumberKeepsTheValueBefore();
    void raisesTheFullScale();
    void buildsTheRow_data();
    void buildsTheRow();
};

void StoredRecordTest::decodesOneRecord_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("acDc");
    QTest::addColumn<bool>("low");

    QTest::newRow("millivolts DC") << record(0x80, 0x12, 0x34, 0x56, dc) << " 123.46" << "mV"
                                   << "500 mV" << "DC" << false;
    QTest::newRow("negative volts") << record(0x42, 0x01, 0x23, 0x40, dc | negative) << "-01.234"
                                    << "V" << "50 V" << "DC" << false;
    QTest::newRow("volts AC") << record(0x40, 0x12, 0x34, 0x50, 0) << " 1.2345" << "V" << "5 V"
                              << "AC" << false;
    QTest::newRow("overload negative volts") << record(0x42, 0x99, 0x99, 0x90, overload | negative | dc)
                                             << "-OL    " << "V" << "50 V" << "DC" << false;
    QTest::newRow("overload negative frequency")
        << record(0xC2, 0x12, 0x34, 0x50, overload | negative) << " OL    " << "Frequency"
        << "5K Hz" << "AC" << false;
    QTest::newRow("overload ohms") << record(0x25, 0, 0, 0, overload | dc) << " OL    " << "Ohm"
                                   << "50M Ohm" << "" << false;
    QTest::newRow("negative frequency") << record(0xC1, 0x12, 0x34, 0x50, negative | dc)
                                        << " 123.45" << "Frequency" << "500 Hz" << "" << false;
    QTest::newRow("ohms bit3 clear is BEEP") << record(0x20, 0x01, 0x20, 0x00, 0) << " 012.00"
                                             << "Ohm" << "500 Ohm" << "BEEP" << false;
    QTest::newRow("ohms bit3 set") << record(0x21, 0x12, 0x34, 0x50, dc) << " 1.2345" << "Ohm"
                                   << "5K Ohm" << "" << false;
    QTest::newRow("capacitance bit3 clear is AC") << record(0x61, 0x91, 0x23, 0x45, 0) << " 1.2345"
                                                  << "Cx" << "5 uF" << "AC" << false;
    QTest::newRow("capacitance bit3 set") << record(0x60, 0x01, 0x23, 0x45, dc) << " 123.45" << "Cx"
                                          << "500 nF" << "" << false;
    QTest::newRow("diode") << record(0xA0, 0x06, 0x50, 0x00, dc) << " 0.6500" << "Diode" << "5 V"
                           << "DC" << false;
    QTest::newRow("low battery") << record(0x90, 0x12, 0x34, 0x50, dc | lowBattery) << " 123.45"
                                 << "mA" << "500 mA" << "DC" << true;
    QTest::newRow("frequency bit3 clear") << record(0xC0, 0x12, 0x34, 0x50, 0) << " 12.345"
                                          << "Frequency" << "50 Hz" << "AC" << false;
}

void StoredRecordTest::decodesOneRecord()
{
    QFETCH(QByteArray, bytes);
    common::SharedValues shared;
    logger::StoredRecordDecoder decoder;
    const logger::DecodedRecord decoded = decoder.decode(bytes, shared);
    QTEST(decoded.value, "value");
    QTEST(decoded.unit, "unit");
    QTEST(decoded.range, "range");
    QTEST(decoded.acDc, "acDc");
    QTEST(decoded.lowBattery, "low");
}

void StoredRecordTest::nonDecimalNibblesAsTheLiveDecoder_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("b1");
    QTest::addColumn<int>("b2");
    QTest::addColumn<int>("b3");

    QTest::newRow("all hex, volts") << 0x42 << 0xAB << 0xCD << 0xEF;
    QTest::newRow("second nibble hex") << 0x80 << 0x1A << 0x00 << 0x00;
    QTest::newRow("middle byte hex") << 0x21 << 0x12 << 0x3F << 0x45;
    QTest::newRow("last nibble hex") << 0x90 << 0x12 << 0x34 << 0x5C;
    QTest::newRow("capacitance, dropped nibble hex") << 0x62 << 0xF1 << 0x23 << 0x45;
    QTest::newRow("capacitance, kept nibble hex") << 0x61 << 0x0B << 0x23 << 0x45;
    QTest::newRow("frequency, all FF") << 0xC5 << 0xFF << 0xFF << 0xFF;
}

void StoredRecordTest::nonDecimalNibblesAsTheLiveDecoder()
{
    QFETCH(int, code);
    QFETCH(int, b1);
    QFETCH(int, b2);
    QFETCH(int, b3);
    // The live decoder on a frame carrying the same bytes, positive, DC.
    common::SharedValues liveShared;
    common::MeterReading live;
    const QByteArray frame = record(code, b1, b2, b3, dc) + char(3);
    live::decodeLiveFrame(frame, live, liveShared);

    common::SharedValues shared;
    logger::StoredRecordDecoder decoder;
    const logger::DecodedRecord decoded = decoder.decode(record(code, b1, b2, b3, dc), shared);
    QVERIFY(!live.valueText.isEmpty());
    QCOMPARE(decoded.value, QLatin1Char(' ') + live.valueText);
}

void StoredRecordTest::unknownCodeKeepsTheTextsBefore()
{
    common::SharedValues shared;
    // The logger window shows the texts of an earlier download.
    logger::StoredRecordDecoder decoder(QStringLiteral("mA"), QStringLiteral("500 mA"));
    const auto first = decoder.decode(record(0x07, 0x12, 0x34, 0x50, 0), shared);
    QCOMPARE(first.unit, QStringLiteral("mA"));
    QCOMPARE(first.range, QStringLiteral("500 mA"));
    QCOMPARE(first.value, QStringLiteral(" 123.45"));
    QCOMPARE(first.acDc, QStringLiteral("AC"));

    const auto ohms = decoder.decode(record(0x20, 0x01, 0x00, 0x00, 0), shared);
    QCOMPARE(ohms.unit, QStringLiteral("Ohm"));
    const auto unknown = decoder.decode(record(0xFF, 0x02, 0x00, 0x00, 0), shared);
    QCOMPARE(unknown.unit, QStringLiteral("Ohm"));
    QCOMPARE(unknown.range, QStringLiteral("500 Ohm"));
    QCOMPARE(unknown.acDc, QStringLiteral("BEEP"));
    QCOMPARE(unknown.value, QStringLiteral(" 020.00"));
    QCOMPARE(decoder.functionText(), QStringLiteral("Ohm"));
    QCOMPARE(decoder.rangeText(), QStringLiteral("500 Ohm"));
}

void StoredRecordTest::rangeWithoutNumberKeepsTheValueBefore_data()
{
    QTest::addColumn<QList<int>>("statuses");
    QTest::addColumn<QStringList>("values");

    // No range text yet (nothing decoded before, unknown codes): nothing is
    // formatted; the text before gets its sign or blank again, in place of
    // its own leading blank, and a doubled minus loses one.
    QTest::newRow("blank") << QList<int>{0} << QStringList{" "};
    QTest::newRow("minus") << QList<int>{negative} << QStringList{"-"};
    QTest::newRow("minus twice") << QList<int>{negative, negative} << QStringList{"-", "-"};
    QTest::newRow("blank then minus") << QList<int>{0, negative} << QStringList{" ", "-"};
    QTest::newRow("minus then blank") << QList<int>{negative, 0} << QStringList{"-", " -"};
    QTest::newRow("blanks do not pile up") << QList<int>{0, 0, 0} << QStringList{" ", " ", " "};
    QTest::newRow("after an overload") << QList<int>{overload | negative, negative}
                                       << QStringList{"-OL    ", "-OL    "};
    QTest::newRow("blank after an overload") << QList<int>{overload | negative, 0, 0}
                                             << QStringList{"-OL    ", " -OL    ", " -OL    "};
    QList<int> many(5000, 0);
    many[17] = negative;
    QStringList kept(5000, QStringLiteral(" -"));
    for (int i = 0; i < 17; ++i)
        kept[i] = QStringLiteral(" ");
    kept[17] = QStringLiteral("-");
    QTest::newRow("a long run stays short") << many << kept;
}

void StoredRecordTest::rangeWithoutNumberKeepsTheValueBefore()
{
    QFETCH(QList<int>, statuses);
    QFETCH(QStringList, values);
    common::SharedValues shared;
    logger::StoredRecordDecoder decoder;
    for (qsizetype i = 0; i < statuses.size(); ++i) {
        const auto decoded = decoder.decode(record(0xEE, 0x12, 0x34, 0x56, statuses[i]), shared);
        QCOMPARE(decoded.value, values[i]);
        QCOMPARE(decoded.unit, QString());
    }
}

void StoredRecordTest::raisesTheFullScale()
{
    common::SharedValues shared;
    logger::StoredRecordDecoder decoder;
    decoder.decode(record(0x42, 0, 0, 0, dc), shared); // 50 V
    QCOMPARE(shared.scaleMax, 50.0);
    QCOMPARE(shared.scaleHalf, 25.0);
    decoder.decode(record(0x80, 0, 0, 0, dc), shared); // 500 mV
    decoder.decode(record(0x40, 0, 0, 0, dc), shared); // 5 V: lower, no change
    decoder.decode(record(0xFF, 0, 0, 0, dc), shared); // unknown: no change
    QCOMPARE(shared.scaleMax, 500.0);
    QCOMPARE(shared.scaleHalf, 250.0);
}

void StoredRecordTest::buildsTheRow_data()
{
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("row");

    QTest::newRow("plain") << qint64(1) << record(0x80, 0x12, 0x34, 0x56, dc)
                           << "1\t24-03-05\t08:09:07\t 123.46\tmV\t500 mV\tDC\t";
    QTest::newRow("low battery") << qint64(52000) << record(0x21, 0x12, 0x34, 0x50, dc | lowBattery)
                                 << "52000\t24-03-05\t08:09:07\t 1.2345\tOhm\t5K Ohm\t\t Low ";
}

void StoredRecordTest::buildsTheRow()
{
    QFETCH(qint64, number);
    QFETCH(QByteArray, bytes);
    common::SharedValues shared;
    logger::StoredRecordDecoder decoder;
    const logger::MeterClock stamp{24, 3, 5, 8, 9, 7};
    const QString row = logger::recordRowText(number, stamp, decoder.decode(bytes, shared));
    QTEST(row, "row");
    QCOMPARE(row.split(QLatin1Char('\t')).size(), 8);
}

QTEST_GUILESS_MAIN(StoredRecordTest)
#include "tst_storedrecord.moc"
