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

    const auto row = [](const char *name, int code, const char *function, const char *range,
                        double scale) {
        QTest::newRow(name) << code << true << QString::fromLatin1(function)
                            << QString::fromLatin1(range) << scale;
    };

    // Codes just outside each function's block, and the ends of the byte.
    for (int code : {0x00, 0x0F, 0x16, 0x26, 0x45, 0x56, 0x64, 0x86, 0x96, 0xA6, 0xC6, 0xFF})
        QTest::addRow("%d unknown", code) << code << false << QString() << QString() << 0.0;
    row("16 first uA", 0x10, "uA", "5000 uA", 5000);
    row("21 last uA", 0x15, "uA", "5000 uA", 5000);
    row("32 500 Ohm", 0x20, "Ohm", "500 Ohm", 500);
    row("37 50M Ohm", 0x25, "Ohm", "50M Ohm", 50000000);
    row("64 5 V", 0x40, "V", "5 V", 5);
    row("65 5 V", 0x41, "V", "5 V", 5);
    row("68 1000 V", 0x44, "V", "1000 V", 1000);
    row("80 5 A", 0x50, "A", "5 A", 5);
    row("81 10 A", 0x51, "A", "10 A", 10);
    row("85 10 A", 0x55, "A", "10 A", 10);
    row("96 500 nF", 0x60, "Cx", "500 nF", 500);
    row("97 5 uF", 0x61, "Cx", "5 uF", 5000);
    row("99 500 uF", 0x63, "Cx", "500 uF", 500000);
    row("133 last mV", 0x85, "mV", "500 mV", 500);
    row("144 first mA", 0x90, "mA", "500 mA", 500);
    row("160 first Diode", 0xA0, "Diode", "5 V", 5);
    row("192 50 Hz", 0xC0, "Frequency", "50 Hz", 50);
    row("197 5M Hz", 0xC5, "Frequency", "5M Hz", 5000000);
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

    QTest::newRow("7 light grey") << 7 << 192 << 192 << 192;
    QTest::newRow("8 grey") << 8 << 128 << 128 << 128;
    QTest::newRow("28 wraps to 12") << 28 << 255 << 0 << 0;
    QTest::newRow("-7 wraps to 9") << -7 << 0 << 0 << 255;
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
