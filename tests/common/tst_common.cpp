// The exact decimal helpers and the function/range table, as tables of texts.

#include "common/functionrangetable.h"
#include "common/numbers.h"
#include "common/palette.h"

#include <QTest>
#include <cmath>
#include <limits>

using common::Decimal;
Q_DECLARE_METATYPE(Decimal)

class CommonTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void leadingNumber_data();
    void leadingNumber();
    void fromDouble_data();
    void fromDouble();
    void format_data();
    void format();
    void formatDate_data();
    void formatDate();
    void lookup_data();
    void lookup();
    void palette();
};

// Each text is read both as an exact Decimal and as the nearest double, and
// rounded half to even from each: a double rounds on its shortest decimal
// form, so both must agree.
void CommonTest::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("exact"); // numberText of leadingDecimal
    QTest::addColumn<double>("number");
    QTest::addColumn<qint64>("rounded");
    const QString nines(400, u'9'), tiny = "0." + QString(400, u'0') + "1";
    const QString largest = "179769313486231570" + QString(291, u'0');
    const qint64 high = std::numeric_limits<qint64>::max(), low = std::numeric_limits<qint64>::min();
    QTest::newRow("range K Ohm") << "5K Ohm" << "5" << 5.0 << qint64(5);
    QTest::newRow("negative overload") << "-OL" << "0" << 0.0 << qint64(0);
    QTest::newRow("negative reading") << "-01.234" << "-1.234" << -1.234 << qint64(-1);
    QTest::newRow("leading blanks and tab, 2.5 to even") << " \t2.5 Sec" << "2.5" << 2.5 << qint64(2);
    QTest::newRow("plus sign, 3.5 to even") << "+3.5" << "3.5" << 3.5 << qint64(4);
    QTest::newRow("-2.5 to even") << "-2.5" << "-2.5" << -2.5 << qint64(-2);
    QTest::newRow("-1.5 to even") << "-1.5" << "-1.5" << -1.5 << qint64(-2);
    QTest::newRow("just above half") << "2.5000000000000004" << "2.5000000000000004" << 2.5000000000000004 << qint64(3);
    QTest::newRow("2.50 exact half") << "2.50" << "2.5" << 2.5 << qint64(2);
    QTest::newRow("far below one") << "0.0000000999999999999999999" << "0.0000000999999999999999999" << 1e-7 << qint64(0);
    QTest::newRow("empty") << "" << "0" << 0.0 << qint64(0);
    QTest::newRow("minus zero fraction") << "-0.000" << "0" << 0.0 << qint64(0);
    QTest::newRow("no exponent") << "1e5" << "1" << 1.0 << qint64(1);
    QTest::newRow("second point stops") << "1.2.3" << "1.2" << 1.2 << qint64(1);
    QTest::newRow("blank after sign stops") << "- 5" << "0" << 0.0 << qint64(0);
    QTest::newRow("arabic-indic digit is no digit") << QString::fromUtf8("\u0665") << "0" << 0.0 << qint64(0);
    QTest::newRow("25 digits round up") << "1234567890123456785000000" << "1234567890123456790000000"
                                        << 1234567890123456790000000.0 << high;
    QTest::newRow("carry into 19th digit, saturates") << "9999999999999999999" << "10000000000000000000" << 1e19 << high;
    QTest::newRow("beyond the double range") << "-" + nines << "-1" + QString(400, u'0')
                                             << -std::numeric_limits<double>::infinity() << low;
    QTest::newRow("below the double range") << tiny << tiny << 0.0 << qint64(0);
    QTest::newRow("largest double") << largest << largest << std::numeric_limits<double>::max() << high;
}

void CommonTest::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QTEST(common::numberText(common::leadingDecimal(text)), "exact");
    const double actual = common::leadingNumber(text); // "-OL" and "-0" give +0
    QVERIFY2(actual == number && !(number == 0 && std::signbit(actual)), qPrintable(QString::number(actual, 'g', 17)));
    QTEST(common::roundHalfEven(common::leadingDecimal(text)), "rounded");
    QTEST(common::roundHalfEven(actual), "rounded");
}

void CommonTest::fromDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("mantissa");
    QTest::addColumn<int>("exponent");
    QTest::addColumn<QString>("text"); // numberText with the blank
    QTest::newRow("0.1 is exactly one tenth") << 0.1 << qint64(1) << -1 << " 0.1";
    QTest::newRow("no binary noise") << 123.6 << qint64(1236) << -1 << " 123.6";
    QTest::newRow("negative") << -5.0 << qint64(-5) << 0 << "-5";
    QTest::newRow("negative zero") << -0.0 << qint64(0) << 0 << " 0";
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << qint64(30000000000000004) << -17 << " 0.30000000000000004";
    QTest::newRow("small, no exponent") << 1e-7 << qint64(1) << -7 << " 0.0000001";
    QTest::newRow("large, no exponent") << 1e21 << qint64(1) << 21 << " 1" + QString(21, u'0');
    QTest::newRow("smallest subnormal") << 5e-324 << qint64(5) << -324 << " 0." + QString(323, u'0') + "5";
    QTest::newRow("largest") << std::numeric_limits<double>::max() << qint64(17976931348623157) << 292
                             << " 17976931348623157" + QString(292, u'0');
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << qint64(0) << 0 << " 0";
}

void CommonTest::fromDouble()
{
    QFETCH(double, value);
    const Decimal d = Decimal::fromDouble(value);
    QTEST(d.mantissa, "mantissa");
    QTEST(d.exponent, "exponent");
    QVERIFY(!std::isfinite(value) || d.toDouble() == value); // round trip (compares -0 == 0)
    QTEST(common::numberText(value, true), "text");
}

// A value is N x 10^k; a row with a double formats that double instead.
void CommonTest::format_data()
{
    QTest::addColumn<Decimal>("value");
    QTest::addColumn<double>("number"); // NaN: format the Decimal
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    const double exact = std::numeric_limits<double>::quiet_NaN();
    const auto row = [&](const char *name, Decimal value, const char *pattern, const char *text, double number) {
        QTest::newRow(name) << value << number << QString::fromLatin1(pattern) << QString::fromLatin1(text);
    };
    const auto dec = [&](const char *name, qint64 n, int k, const char *pattern, const char *text) { row(name, {n, k}, pattern, text, exact); };
    dec("500 range sixth nibble 5", 123455, -3, "0##.#0", "123.46");
    dec("500 range trailing zero on 0", 1234, -1, "0##.#0", "123.40");
    dec("5 range carry past placeholders", 999995, -5, "0.###0", "10.0000");
    dec("one section negative", -12345, -3, "0##.#0", "-012.35");
    dec("most negative mantissa", std::numeric_limits<qint64>::min(), 0, "0", "-9223372036854775808");
    dec("clock round up", 595, -1, "#00", "60");
    dec("label -2.5", -25, -1, "###0;\\-###0", "-3");
    dec("label -0.4 no negative zero", -4, -1, "###0;\\-###0", "0");
    dec("negative section without minus", -5, 0, "0;(0)", "(5)");
    dec("empty negative section", -5, 0, "0;", "-5");
    dec("-0.04 rounds to zero", -4, -2, "0.0", "0.0");
    dec("# zero is nothing", 0, 0, "#", "");
    dec("## point #, whole", 2, 0, "##.#", "2.");
    dec("## point 0, below one", 5, -1, "##.0", ".5");
    dec("0.#0 keeps zero on #", 15, -1, "0.#0", "1.50");
    dec("quoted text", 5, 0, "0\" #0;\"", "5 #0;");
    dec("large exponent", 1, 25, "0", "10000000000000000000000000");
    dec("empty pattern", 5, 0, "", "");
    // Each of the first two lies just below the half in binary.
    row("double 2.675", {}, "0.00", "2.68", 2.675);
    row("double 1.005", {}, "0.00", "1.01", 1.005);
    row("double negative zero", {}, "0.0", "0.0", -0.0);
}

void CommonTest::format()
{
    QFETCH(Decimal, value);
    QFETCH(double, number);
    QFETCH(QString, pattern);
    QTEST(std::isnan(number) ? common::formatNumber(value, pattern) : common::formatNumber(number, pattern), "text");
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
    QTEST(common::formatDate(date, pattern, common::dateSeparatorOf(localeFormat)), "text");
}

// A code's entry as "function|range|full scale", empty when unknown. The
// value decoder picks its pattern from the leading number of the range text,
// so each of the 51 known codes needs a positive one.
void CommonTest::lookup_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("entry");
    // Codes just outside each function's block, and the ends of the byte.
    for (int code : {0x00, 0x0F, 0x16, 0x26, 0x45, 0x56, 0x64, 0x86, 0x96, 0xA6, 0xC6, 0xFF})
        QTest::addRow("%d unknown", code) << code << QString();
    const std::pair<int, const char *> known[] = {
        {0x10, "uA|5000 uA|5000"}, {0x15, "uA|5000 uA|5000"}, {0x20, "Ohm|500 Ohm|500"},
        {0x25, "Ohm|50M Ohm|50000000"}, {0x40, "V|5 V|5"}, {0x41, "V|5 V|5"}, {0x44, "V|1000 V|1000"},
        {0x50, "A|5 A|5"}, {0x51, "A|10 A|10"}, {0x55, "A|10 A|10"}, {0x60, "Cx|500 nF|500"},
        {0x61, "Cx|5 uF|5000"}, {0x63, "Cx|500 uF|500000"}, {0x85, "mV|500 mV|500"}, {0x90, "mA|500 mA|500"},
        {0xA0, "Diode|5 V|5"}, {0xC0, "Frequency|50 Hz|50"}, {0xC5, "Frequency|5M Hz|5000000"}};
    for (const auto &[code, entry] : known)
        QTest::addRow("%d %s", code, entry) << code << QString::fromLatin1(entry);
}

void CommonTest::lookup()
{
    QFETCH(int, code);
    const auto found = common::lookupFunctionRange(static_cast<unsigned char>(code));
    QTEST(found ? QStringLiteral("%1|%2|%3").arg(found->functionText, found->rangeText).arg(found->fullScale, 0, 'f', 0)
                : QString(), "entry");
    int known = 0;
    for (int c = 0; c < 256; ++c) {
        const auto any = common::lookupFunctionRange(static_cast<unsigned char>(c));
        known += any && common::leadingNumber(any->rangeText) > 0 && !any->functionText.isEmpty();
    }
    QCOMPARE(known, 51);
}

void CommonTest::palette()
{
    QCOMPARE(common::paletteColor(7), (common::Rgb{192, 192, 192}));
    QCOMPARE(common::paletteColor(28), (common::Rgb{255, 0, 0})); // wraps to 12
    QCOMPARE(common::paletteColor(-7), (common::Rgb{0, 0, 255})); // wraps to 9
}

QTEST_GUILESS_MAIN(CommonTest)
#include "tst_common.moc"
