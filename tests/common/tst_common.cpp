// The exact decimal helpers, the date patterns, the function/range table and
// the palette: each row works out one text and compares it whole.

#include "common/functionrangetable.h"
#include "common/numbers.h"
#include "common/palette.h"

#include <QTest>
#include <cmath>
#include <functional>
#include <limits>

using Probe = std::function<QString()>;
Q_DECLARE_METATYPE(Probe)

namespace {

void row(const QByteArray &name, const Probe &probe, const QString &text)
{
    QTest::newRow(name.constData()) << probe << text;
}

// A text read as an exact Decimal ("exact rounded") and as the nearest double,
// each rounded half to even: both must agree. "-OL" and "-0" give +0.
void leading(const char *name, const QString &text, const QString &found, double number)
{
    row(name, [=] {
        const common::Decimal exact = common::leadingDecimal(text);
        const double actual = common::leadingNumber(text);
        const qint64 rounded = common::roundHalfEven(exact);
        const bool same = actual == number && !(number == 0 && std::signbit(actual)) && common::roundHalfEven(actual) == rounded;
        return common::numberText(exact) + u' ' + QString::number(rounded) + (same ? "" : " double " + QString::number(actual, 'g', 17));
    }, found);
}

// "mantissa e exponent text", the text as numberText writes it, with its blank.
void fromDouble(const char *name, double value, const QString &found)
{
    row(name, [=] {
        const common::Decimal d = common::Decimal::fromDouble(value);
        const bool roundTrip = !std::isfinite(value) || d.toDouble() == value;
        return QStringLiteral("%1e%2").arg(d.mantissa).arg(d.exponent) + (roundTrip ? "" : " lost") + u' ' + common::numberText(value, true);
    }, found);
}

void format(const char *name, qint64 mantissa, int exponent, const QString &pattern, const QString &text)
{
    row(name, [=] { return common::formatNumber(common::Decimal{mantissa, exponent}, pattern); }, text);
}

// The separator comes from the locale's date format.
void date(const char *name, QDate day, const QString &pattern, const QString &localeFormat, const QString &text)
{
    row(name, [=] { return common::formatDate(day, pattern, common::dateSeparatorOf(localeFormat)); }, text);
}

// A code's entry as "function|range|full scale", empty when unknown.
QString entry(int code)
{
    const auto found = common::lookupFunctionRange(static_cast<unsigned char>(code));
    return found ? QStringLiteral("%1|%2|%3").arg(found->functionText, found->rangeText).arg(found->fullScale, 0, 'f', 0) : QString();
}

} // namespace

class CommonTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void texts_data();
    void texts();
};

void CommonTest::texts_data()
{
    QTest::addColumn<Probe>("probe");
    QTest::addColumn<QString>("text");
    const QString nines(400, u'9'), tiny = "0." + QString(400, u'0') + "1";
    const QString largest = "179769313486231570" + QString(291, u'0');
    const QString high = QString::number(std::numeric_limits<qint64>::max()), low = QString::number(std::numeric_limits<qint64>::min());
    leading("range K Ohm", "5K Ohm", "5 5", 5.0);
    leading("negative overload", "-OL", "0 0", 0.0);
    leading("negative reading", "-01.234", "-1.234 -1", -1.234);
    leading("leading blanks and tab, 2.5 to even", " \t2.5 Sec", "2.5 2", 2.5);
    leading("plus sign, 3.5 to even", "+3.5", "3.5 4", 3.5);
    leading("-2.5 to even", "-2.5", "-2.5 -2", -2.5);
    leading("-1.5 to even", "-1.5", "-1.5 -2", -1.5);
    leading("just above half", "2.5000000000000004", "2.5000000000000004 3", 2.5000000000000004);
    leading("2.50 exact half", "2.50", "2.5 2", 2.5);
    leading("far below one", "0.0000000999999999999999999", "0.0000000999999999999999999 0", 1e-7);
    leading("empty", "", "0 0", 0.0);
    leading("minus zero fraction", "-0.000", "0 0", 0.0);
    leading("no exponent", "1e5", "1 1", 1.0);
    leading("second point stops", "1.2.3", "1.2 1", 1.2);
    leading("blank after sign stops", "- 5", "0 0", 0.0);
    leading("arabic-indic digit is no digit", QString::fromUtf8("\u0665"), "0 0", 0.0);
    leading("25 digits round up", "1234567890123456785000000", "1234567890123456790000000 " + high, 1234567890123456790000000.0);
    leading("carry into 19th digit, saturates", "9999999999999999999", "10000000000000000000 " + high, 1e19);
    leading("beyond the double range", "-" + nines, "-1" + QString(400, u'0') + u' ' + low, -std::numeric_limits<double>::infinity());
    leading("below the double range", tiny, tiny + " 0", 0.0);
    leading("largest double", largest, largest + u' ' + high, std::numeric_limits<double>::max());

    fromDouble("double 0.1 is exactly one tenth", 0.1, "1e-1  0.1");
    fromDouble("double without binary noise", 123.6, "1236e-1  123.6");
    fromDouble("double negative", -5.0, "-5e0 -5");
    fromDouble("double negative zero", -0.0, "0e0  0");
    fromDouble("double 0.1 + 0.2", 0.1 + 0.2, "30000000000000004e-17  0.30000000000000004");
    fromDouble("double small, no exponent", 1e-7, "1e-7  0.0000001");
    fromDouble("double large, no exponent", 1e21, "1e21  1" + QString(21, u'0'));
    fromDouble("double smallest subnormal", 5e-324, "5e-324  0." + QString(323, u'0') + "5");
    fromDouble("double largest", std::numeric_limits<double>::max(), "17976931348623157e292  17976931348623157" + QString(292, u'0'));
    fromDouble("double nan", std::numeric_limits<double>::quiet_NaN(), "0e0  0");

    format("500 range sixth nibble 5", 123455, -3, "0##.#0", "123.46");
    format("500 range trailing zero on 0", 1234, -1, "0##.#0", "123.40");
    format("5 range carry past placeholders", 999995, -5, "0.###0", "10.0000");
    format("one section negative", -12345, -3, "0##.#0", "-012.35");
    format("most negative mantissa", std::numeric_limits<qint64>::min(), 0, "0", "-9223372036854775808");
    format("clock round up", 595, -1, "#00", "60");
    format("label -2.5", -25, -1, "###0;\\-###0", "-3");
    format("label -0.4 no negative zero", -4, -1, "###0;\\-###0", "0");
    format("negative section without minus", -5, 0, "0;(0)", "(5)");
    format("empty negative section", -5, 0, "0;", "-5");
    format("-0.04 rounds to zero", -4, -2, "0.0", "0.0");
    format("# zero is nothing", 0, 0, "#", "");
    format("## point #, whole", 2, 0, "##.#", "2.");
    format("## point 0, below one", 5, -1, "##.0", ".5");
    format("0.#0 keeps zero on #", 15, -1, "0.#0", "1.50");
    format("quoted text", 5, 0, "0\" #0;\"", "5 #0;");
    format("large exponent", 1, 25, "0", "10000000000000000000000000");
    format("empty pattern", 5, 0, "", "");
    // Each of the first two lies just below the half in binary.
    for (const auto &[name, value, text] : {std::tuple{"formatted double 2.675", 2.675, "2.68"}, std::tuple{"formatted double 1.005", 1.005, "1.01"},
                                            std::tuple{"formatted double -0", -0.0, "0.00"}})
        row(name, [value = value] { return common::formatNumber(value, QStringLiteral("0.00")); }, text);

    const QDate newYearsEve(2009, 12, 31);
    date("date mm/dd/yy, US", newYearsEve, "mm/dd/yy", "M/d/yy", "12/31/09");
    date("date yy/mm/dd, German", newYearsEve, "yy/mm/dd", "dd.MM.yy", "09.12.31");
    date("date padding, ISO", QDate(2001, 2, 3), "yy/mm/dd", "yyyy-MM-dd", "01-02-03");
    date("date quoted letters skipped", QDate(2001, 2, 3), "dd/mm", "'d'dd-MM", "03-02");
    date("date C locale has only blanks", newYearsEve, "dd/mm", "d MMM yyyy", "31/12");
    date("date four-digit year, upper case", QDate(2000, 1, 5), "YYYY-MM-DD", "", "2000-01-05");
    date("date century year", QDate(2100, 7, 4), "yy", "", "00");
    date("date invalid", QDate(), "yy/mm/dd", "", "");

    // Codes just outside each function's block, and the ends of the byte.
    for (int code : {0x00, 0x0F, 0x16, 0x26, 0x45, 0x56, 0x64, 0x86, 0x96, 0xA6, 0xC6, 0xFF})
        row(QByteArray::number(code, 16) + " unknown", [code] { return entry(code); }, QString());
    const std::pair<int, const char *> known[] = {
        {0x10, "uA|5000 uA|5000"}, {0x15, "uA|5000 uA|5000"}, {0x20, "Ohm|500 Ohm|500"}, {0x25, "Ohm|50M Ohm|50000000"},
        {0x40, "V|5 V|5"}, {0x41, "V|5 V|5"}, {0x44, "V|1000 V|1000"}, {0x50, "A|5 A|5"}, {0x51, "A|10 A|10"}, {0x55, "A|10 A|10"},
        {0x60, "Cx|500 nF|500"}, {0x61, "Cx|5 uF|5000"}, {0x63, "Cx|500 uF|500000"}, {0x85, "mV|500 mV|500"}, {0x90, "mA|500 mA|500"},
        {0xA0, "Diode|5 V|5"}, {0xC0, "Frequency|50 Hz|50"}, {0xC5, "Frequency|5M Hz|5000000"}};
    for (const auto &[code, text] : known)
        row(QByteArray::number(code, 16) + ' ' + text, [code = code] { return entry(code); }, QString::fromLatin1(text));
    // The value decoder picks its pattern from the leading number of the
    // range text, so every known code needs a positive one.
    row("51 known codes, each with a range number", [] {
        int count = 0;
        for (int c = 0; c < 256; ++c)
            count += !entry(c).isEmpty() && common::leadingNumber(entry(c).section(u'|', 1, 1)) > 0 && !entry(c).startsWith(u'|');
        return QString::number(count);
    }, "51");

    const auto rgb = [](int index) { const common::Rgb c = common::paletteColor(index); return QStringLiteral("%1 %2 %3").arg(c.red).arg(c.green).arg(c.blue); };
    row("palette 7", [=] { return rgb(7); }, "192 192 192");
    row("palette 28 wraps to 12", [=] { return rgb(28); }, "255 0 0");
    row("palette -7 wraps to 9", [=] { return rgb(-7); }, "0 0 255");
}

void CommonTest::texts()
{
    QFETCH(Probe, probe);
    QTEST(probe(), "text");
}

QTEST_GUILESS_MAIN(CommonTest)
#include "tst_common.moc"
