#include "common/functionrangetable.h"
#include "common/numbers.h"
#include "common/palette.h"

#include <QTest>

class TestFunctionRangeTable : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void everyRangeHasALeadingNumber();
    void palette_data();
    void palette();
};

void TestFunctionRangeTable::lookup_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("functionText");
    QTest::addColumn<QString>("rangeText");
    QTest::addColumn<double>("fullScale");

    const auto none = [](const char *name, int code) {
        QTest::newRow(name) << code << false << QString() << QString() << 0.0;
    };
    const auto row = [](const char *name, int code, const char *function, const char *range,
                        double scale) {
        QTest::newRow(name) << code << true << QString::fromLatin1(function)
                            << QString::fromLatin1(range) << scale;
    };

    none("0", 0x00);
    none("15 below uA", 0x0F);
    row("16 first uA", 0x10, "uA", "5000 uA", 5000);
    row("21 last uA", 0x15, "uA", "5000 uA", 5000);
    none("22 after uA", 0x16);
    none("31 before Ohm", 0x1F);
    row("32 500 Ohm", 0x20, "Ohm", "500 Ohm", 500);
    row("33 5K Ohm", 0x21, "Ohm", "5K Ohm", 5000);
    row("34 50K Ohm", 0x22, "Ohm", "50K Ohm", 50000);
    row("35 500K Ohm", 0x23, "Ohm", "500K Ohm", 500000);
    row("36 5M Ohm", 0x24, "Ohm", "5M Ohm", 5000000);
    row("37 50M Ohm", 0x25, "Ohm", "50M Ohm", 50000000);
    none("38 after Ohm (0x26)", 0x26);
    none("63 before V", 0x3F);
    row("64 5 V", 0x40, "V", "5 V", 5);
    row("65 5 V", 0x41, "V", "5 V", 5);
    row("66 50 V", 0x42, "V", "50 V", 50);
    row("67 500 V", 0x43, "V", "500 V", 500);
    row("68 1000 V", 0x44, "V", "1000 V", 1000);
    none("69 after V (0x45)", 0x45);
    none("79 before A", 0x4F);
    row("80 5 A", 0x50, "A", "5 A", 5);
    row("81 10 A", 0x51, "A", "10 A", 10);
    row("85 10 A", 0x55, "A", "10 A", 10);
    none("86 after A", 0x56);
    none("95 before Cx", 0x5F);
    row("96 500 nF", 0x60, "Cx", "500 nF", 500);
    row("97 5 uF", 0x61, "Cx", "5 uF", 5000);
    row("98 50 uF", 0x62, "Cx", "50 uF", 50000);
    row("99 500 uF", 0x63, "Cx", "500 uF", 500000);
    none("100 after Cx (0x64)", 0x64);
    none("112 (0x70)", 0x70);
    none("127 before mV", 0x7F);
    row("128 first mV", 0x80, "mV", "500 mV", 500);
    row("133 last mV", 0x85, "mV", "500 mV", 500);
    none("134 after mV (0x86)", 0x86);
    none("143 before mA", 0x8F);
    row("144 first mA", 0x90, "mA", "500 mA", 500);
    row("149 last mA", 0x95, "mA", "500 mA", 500);
    none("150 after mA", 0x96);
    none("159 before Diode", 0x9F);
    row("160 first Diode", 0xA0, "Diode", "5 V", 5);
    row("165 last Diode", 0xA5, "Diode", "5 V", 5);
    none("166 after Diode", 0xA6);
    none("176 (0xB0)", 0xB0);
    none("191 before Frequency", 0xBF);
    row("192 50 Hz", 0xC0, "Frequency", "50 Hz", 50);
    row("193 500 Hz", 0xC1, "Frequency", "500 Hz", 500);
    row("194 5K Hz", 0xC2, "Frequency", "5K Hz", 5000);
    row("195 50K Hz", 0xC3, "Frequency", "50K Hz", 50000);
    row("196 500K Hz", 0xC4, "Frequency", "500K Hz", 500000);
    row("197 5M Hz", 0xC5, "Frequency", "5M Hz", 5000000);
    none("198 after Frequency (0xC6)", 0xC6);
    none("208 (0xD0)", 0xD0);
    none("255", 0xFF);
}

void TestFunctionRangeTable::lookup()
{
    QFETCH(int, code);
    QFETCH(bool, known);
    QFETCH(QString, functionText);
    QFETCH(QString, rangeText);
    QFETCH(double, fullScale);

    const auto found = common::lookupFunctionRange(static_cast<unsigned char>(code));
    QCOMPARE(found.has_value(), known);
    if (!found)
        return;
    QCOMPARE(found->functionText, functionText);
    QCOMPARE(found->rangeText, rangeText);
    QCOMPARE(found->fullScale, fullScale);
}

// The value decoder picks its pattern from the leading number of the range
// text, so every known code needs a positive one.
void TestFunctionRangeTable::everyRangeHasALeadingNumber()
{
    int known = 0;
    for (int code = 0; code < 256; ++code) {
        const auto found = common::lookupFunctionRange(static_cast<unsigned char>(code));
        if (!found)
            continue;
        ++known;
        QVERIFY2(common::leadingNumber(found->rangeText) > 0, qPrintable(found->rangeText));
        QVERIFY2(!found->functionText.isEmpty(), qPrintable(QString::number(code)));
    }
    QCOMPARE(known, 51); // 6 uA, 6 Ohm, 5 V, 6 A, 4 Cx, 6 mV, 6 mA, 6 Diode, 6 Hz
}

void TestFunctionRangeTable::palette_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");

    QTest::newRow("0 black") << 0 << 0 << 0 << 0;
    QTest::newRow("1 dark blue") << 1 << 0 << 0 << 128;
    QTest::newRow("4 dark red") << 4 << 128 << 0 << 0;
    QTest::newRow("6 olive") << 6 << 128 << 128 << 0;
    QTest::newRow("7 light grey") << 7 << 192 << 192 << 192;
    QTest::newRow("8 grey") << 8 << 128 << 128 << 128;
    QTest::newRow("9 blue") << 9 << 0 << 0 << 255;
    QTest::newRow("10 green") << 10 << 0 << 255 << 0;
    QTest::newRow("12 red") << 12 << 255 << 0 << 0;
    QTest::newRow("13 magenta") << 13 << 255 << 0 << 255;
    QTest::newRow("14 yellow") << 14 << 255 << 255 << 0;
    QTest::newRow("15 white") << 15 << 255 << 255 << 255;
    QTest::newRow("16 wraps to 0") << 16 << 0 << 0 << 0;
    QTest::newRow("28 wraps to 12") << 28 << 255 << 0 << 0;
    QTest::newRow("-1 wraps to 15") << -1 << 255 << 255 << 255;
    QTest::newRow("-7 wraps to 9") << -7 << 0 << 0 << 255;
    QTest::newRow("-16 wraps to 0") << -16 << 0 << 0 << 0;
}

void TestFunctionRangeTable::palette()
{
    QFETCH(int, index);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QCOMPARE(common::paletteColor(index), (common::Rgb{red, green, blue}));
}

QTEST_APPLESS_MAIN(TestFunctionRangeTable)
#include "tst_functionrangetable.moc"
