// The exact decimal helpers and the function/range table, as tables of texts.

#include "common/functionrangetable.h"
#include "common/numbers.h"
#include "common/palette.h"

#include <QTest>
#include <cmath>
#include <limits>

using common::Decimal;



class CommonTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void leadingNumber_data();
    void leadingNumber();
    void fromDouble_data();
    void fromDouble();
    void roundHalfEven_data();
    void roundHalfEven();
    void formatDecimal_data();
    void formatDecimal();
    void formatDouble_data();
    void formatDouble();
    void formatDate_data();
    void formatDate();
    void lookup_data();
    void lookup();
    void everyRangeHasALeadingNumber();
    void palette_data();
    void palette();
};

void CommonTest::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("exact"); // numberText of leadingDecimal
    QTest::addColumn<double>("number");

    QTest::newRow("range K Ohm") << "5K Ohm" << "5" << 5.0;
    QTest::newRow("overload") << "OL" << "0" << 0.0;
    QTest::newRow("negative overload") << "-OL" << "0" << 0.0;
    QTest::newRow("negative reading") << "-01.234" << "-1.234" << -1.234;
    QTest::newRow("leading blanks") << "  2.5 Sec" << "2.5" << 2.5;
    QTest::newRow("leading tab") << "\t7" << "7" << 7.0;
    QTest::newRow("plus sign") << "+3.5" << "3.5" << 3.5;
    QTest::newRow("empty") << "" << "0" << 0.0;
    QTest::newRow("minus zero fraction") << "-0.000" << "0" << 0.0;
    QTest::newRow("no exponent") << "1e5" << "1" << 1.0;
    QTest::newRow("comma stops") << "2,5" << "2" << 2.0;
    QTest::newRow("second point stops") << "1.2.3" << "1.2" << 1.2;
    QTest::newRow("blank after sign stops") << "- 5" << "0" << 0.0;
    QTest::newRow("arabic-indic digit is no digit") << QString::fromUtf8("\u0665") << "0" << 0.0;
    QTest::newRow("25 digits round up") << "1234567890123456785000000" << "1234567890123456790000000"
                                        << 1234567890123456790000000.0;
    QTest::newRow("carry into 19th digit") << "9999999999999999999" << "10000000000000000000" << 1e19;
    const QString nines(400, QLatin1Char('9')), tiny = "0." + QString(400, QLatin1Char('0')) + "1";
    QTest::newRow("beyond the double range") << "-" + nines << "-1" + QString(400, QLatin1Char('0'))
                                             << -std::numeric_limits<double>::infinity();
    QTest::newRow("below the double range") << tiny << tiny << 0.0;
    QTest::newRow("largest double") << "179769313486231570" + QString(291, QLatin1Char('0'))
                                    << "179769313486231570" + QString(291, QLatin1Char('0'))
                                    << std::numeric_limits<double>::max();
}

void CommonTest::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(QString, exact);
    QFETCH(double, number);

    QCOMPARE(common::numberText(common::leadingDecimal(text)), exact);
    const double actual = common::leadingNumber(text);
    QVERIFY2(actual == number, qPrintable(QString::number(actual, 'g', 17)));
    if (number == 0)
        QVERIFY(!std::signbit(actual)); // "-OL" and "-0" give +0
}

void CommonTest::fromDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("mantissa");
    QTest::addColumn<int>("exponent");
    QTest::addColumn<QString>("text"); // numberText with the blank

    const double largest = std::numeric_limits<double>::max();
    QTest::newRow("0.1 is exactly one tenth") << 0.1 << qint64(1) << -1 << " 0.1";
    QTest::newRow("no binary noise") << 123.6 << qint64(1236) << -1 << " 123.6";
    QTest::newRow("negative") << -5.0 << qint64(-5) << 0 << "-5";
    QTest::newRow("negative zero") << -0.0 << qint64(0) << 0 << " 0";
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << qint64(30000000000000004) << -17 << " 0.30000000000000004";
    QTest::newRow("small, no exponent") << 1e-7 << qint64(1) << -7 << " 0.0000001";
    QTest::newRow("large, no exponent") << 1e21 << qint64(1) << 21 << " 1" + QString(21, QLatin1Char('0'));
    QTest::newRow("smallest subnormal") << 5e-324 << qint64(5) << -324 << " 0." + QString(323, QLatin1Char('0')) + "5";
    QTest::newRow("largest") << largest << qint64(17976931348623157) << 292
                             << " 17976931348623157" + QString(292, QLatin1Char('0'));
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << qint64(0) << 0 << " 0";
}

void CommonTest::fromDouble()
{
    QFETCH(double, value);
    QFETCH(qint64, mantissa);
    QFETCH(int, exponent);

    const Decimal d = Decimal::fromDouble(value);
    QCOMPARE(d.mantissa, mantissa);
    QCOMPARE(d.exponent, exponent);
    if (std::isfinite(value))
        QVERIFY(d.toDouble() == value); // round trip (compares -0 == 0)
    QTEST(common::numberText(value, true), "text");
}

// Each text is read both as an exact Decimal and as the nearest double; a
// double rounds on its shortest decimal form, so both must agree.
void CommonTest::roundHalfEven_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("rounded");

    QTest::newRow("2.5 to even") << "2.5" << qint64(2);
    QTest::newRow("3.5 to even") << "3.5" << qint64(4);
    QTest::newRow("-2.5 to even") << "-2.5" << qint64(-2);
    QTest::newRow("-1.5 to even") << "-1.5" << qint64(-2);
    QTest::newRow("2.50 exact half") << "2.50" << qint64(2);
    QTest::newRow("just above half") << "2.5000000000000004" << qint64(3);
    QTest::newRow("decimal half of a binary fraction") << "1000.5" << qint64(1000);
    QTest::newRow("far below one") << "0.0000000999999999999999999" << qint64(0);
    QTest::newRow("saturate high") << "10000000000000000000" << std::numeric_limits<qint64>::max();
    QTest::newRow("saturate low") << "-10000000000000000000" << std::numeric_limits<qint64>::min();
}

void CommonTest::roundHalfEven()
{
    QFETCH(QString, text);
    QTEST(common::roundHalfEven(common::leadingDecimal(text)), "rounded");
    QTEST(common::roundHalfEven(common::leadingNumber(text)), "rounded");
}

void CommonTest::formatDecimal_data()
{
    QTest::addColumn<qint64>("mantissa");
    QTest::addColumn<int>("exponent");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");

    // Readings: N x 10^k with the range's pattern.
    QTest::newRow("500 range sixth nibble 5") << qint64(123455) << -3 << "0##.#0" << "123.46";
    QTest::newRow("500 range trailing zero on 0") << qint64(1234) << -1 << "0##.#0" << "123.40";
    QTest::newRow("5 range carry past placeholders") << qint64(999995) << -5 << "0.###0" << "10.0000";
    QTest::newRow("one section negative") << qint64(-12345) << -3 << "0##.#0" << "-012.35";
    QTest::newRow("most negative mantissa") << std::numeric_limits<qint64>::min() << 0 << "0"
                                            << "-9223372036854775808";
    // Clock and graph labels.
    QTest::newRow("clock round up") << qint64(595) << -1 << "#00" << "60";
    QTest::newRow("label -2.5") << qint64(-25) << -1 << "###0;\\-###0" << "-3";
    QTest::newRow("label -0.4 no negative zero") << qint64(-4) << -1 << "###0;\\-###0" << "0";
    QTest::newRow("negative section without minus") << qint64(-5) << 0 << "0;(0)" << "(5)";
    QTest::newRow("empty negative section") << qint64(-5) << 0 << "0;" << "-5";
    // Sign of zero with one section.
    QTest::newRow("-0.04 rounds to zero") << qint64(-4) << -2 << "0.0" << "0.0";
    // '#' against '0'.
    QTest::newRow("# zero is nothing") << qint64(0) << 0 << "#" << "";
    QTest::newRow("## point #, whole") << qint64(2) << 0 << "##.#" << "2.";
    QTest::newRow("## point 0, below one") << qint64(5) << -1 << "##.0" << ".5";
    QTest::newRow("0.#0 keeps zero on #") << qint64(15) << -1 << "0.#0" << "1.50";
    // Literals.
    QTest::newRow("quoted text") << qint64(5) << 0 << "0\" #0;\"" << "5 #0;";
    // Extremes.
    QTest::newRow("large exponent") << qint64(1) << 25 << "0" << "10000000000000000000000000";
    QTest::newRow("empty pattern") << qint64(5) << 0 << "" << "";
}

void CommonTest::formatDecimal()
{
    QFETCH(qint64, mantissa);
    QFETCH(int, exponent);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(common::formatNumber(Decimal{mantissa, exponent}, pattern), text);
}

void CommonTest::formatDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");

    // Each of the first two lies just below the half in binary.
    QTest::newRow("2.675") << 2.675 << "0.00" << "2.68";
    QTest::newRow("1.005") << 1.005 << "0.00" << "1.01";
    QTest::newRow("negative zero") << -0.0 << "0.0" << "0.0";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "0" << "0";
}

void CommonTest::formatDouble()
{
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(common::formatNumber(value, pattern), text);
}

void CommonTest::formatDate_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("localeFormat"); // the separator comes from it
    QTest::addColumn<QString>("text");

    const QDate newYearsEve(2009, 12, 31);
    QTest::newRow("mm/dd/yy, US") << newYearsEve << "mm/dd/yy" << "M/d/yy" << "12/31/09";
    QTest::newRow("yy/mm/dd, German") << newYearsEve << "yy/mm/dd" << "dd.MM.yy" << "09.12.31";
    QTest::newRow("padding, ISO") << QDate(2001, 2, 3) << "yy/mm/dd" << "yyyy-MM-dd" << "01-02-03";
    QTest::newRow("quoted letters skipped") << QDate(2001, 2, 3) << "dd/mm" << "'d'dd-MM" << "03-02";
    QTest::newRow("C locale has only blanks") << newYearsEve << "dd/mm" << "d MMM yyyy" << "31/12";
    QTest::newRow("four-digit year, upper case") << QDate(2000, 1, 5) << "YYYY-MM-DD" << "" << "2000-01-05";
    QTest::newRow("century year") << QDate(2100, 7, 4) << "yy" << "" << "00";
    QTest::newRow("invalid date") << QDate() << "yy/mm/dd" << "" << "";
}

void CommonTest::formatDate()
{
    QFETCH(QDate, date);
    QFETCH(QString, pattern);
    QFETCH(QString, localeFormat);
    QFETCH(QString, text);
    QCOMPARE(common::formatDate(date, pattern, common::dateSeparatorOf(localeFormat)), text);
}

void CommonTest::lookup_data()
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

void CommonTest::lookup()
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
void CommonTest::everyRangeHasALeadingNumber()
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

void CommonTest::palette_data()
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

void CommonTest::palette()
{
    QFETCH(int, index);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QCOMPARE(common::paletteColor(index), (common::Rgb{red, green, blue}));
}

QTEST_GUILESS_MAIN(CommonTest)
#include "tst_common.moc"
