#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <QtGlobal>

// Number helpers shared by every window. Readings are decimal: values built
// from digits and a power of ten are held as a Decimal and rounded on their
// exact decimal value, never through binary floating point.

namespace common {

// An exact decimal value: mantissa x 10^exponent.
struct Decimal
{
    qint64 mantissa = 0;
    int exponent = 0;

    // The exact decimal value of a double as its shortest round-trip
    // decimal text (0.1 is 1 x 10^-1, not 0.1000000000000000055...).
    // Not normalised (100 is 1 x 10^2); NaN, infinities and -0 give 0.
    static Decimal fromDouble(double value);
    // The nearest double; beyond the double range +-infinity or 0.
    double toDouble() const;
    friend bool operator==(const Decimal &, const Decimal &) = default;
};

// The number at the start of a text: leading blanks are skipped, reading
// stops at the first character that cannot continue a decimal number, and a
// text without a number gives 0 ("500 mV" -> 500, "5K Ohm" -> 5, "OL" -> 0,
// "-01.234" -> -1.234, " 2,5" -> 2, "1e5" -> 1, "-OL" -> 0). Blanks are
// spaces and tabs; the sign is '-' or '+'; one '.' at most; no exponent.
// Up to 18 significant digits are kept, the rest rounded away (never an
// overflow); a result of zero is always +0.
double leadingNumber(QStringView text);
Decimal leadingDecimal(QStringView text);
Decimal leadingDecimal(QLatin1StringView text);

// The shortest plain decimal form of a number: 5, -0.5, 123.6, 0.0000001
// (never an exponent, no trailing zeros, a 0 before the point, never "-0").
// withBlank puts one blank before numbers of 0 or more (" 5", "-5").
QString numberText(double value, bool withBlank = false);
QString numberText(const Decimal &value, bool withBlank = false);

// Rounds to the nearest integer, a half to the even one (2.5 -> 2, 3.5 -> 4).
// A double is rounded on the exact decimal of its shortest form, so 0.5,
// 2.5 are halves. Results beyond qint64 saturate; NaN gives 0.
qint64 roundHalfEven(double value);
qint64 roundHalfEven(const Decimal &value);

// Formats a number with a format pattern:
//   0   a digit always written (leading zeros fill)
//   #   a digit written only when significant
//   .   the decimal point
//   ;   separates the pattern for numbers of 0 or more from the one for
//       negative numbers (which then supplies its own sign)
//   \-  a literal minus sign
//   \x  x copied as it is; "text" copied as it is
// Other characters are copied. The value is rounded, half away from zero on
// its exact decimal value, to as many places as there are placeholders after
// the point; trailing zeros that fall on a '#' after the point are then left
// out ("##.#": 2 -> "2.", 2.5 -> "2.5"; "0##.#0": 123.4 -> "123.40"). The
// integer part has at least as many digits as placeholders from the leftmost
// '0' to the point; digits beyond the placeholders are all written. With one
// section a negative number gets a leading "-"; a number that rounds to zero
// is written as zero, without a sign. Examples: formatNumber(12.345,
// "0##.#0") -> "012.35", formatNumber(-2.5, "###0;\\-###0") -> "-3",
// formatNumber(7, "#00") -> "07", formatNumber(0.5, "##.0") -> ".5".
QString formatNumber(const Decimal &value, QStringView pattern);
QString formatNumber(double value, QStringView pattern);

// The first character of a date format that is neither a letter, a digit
// nor a quote ("dd.MM.yy" -> '.'); '/' when there is none.
QChar dateSeparatorOf(QStringView dateFormat);

// The system's date separator: dateSeparatorOf the system locale's short
// date format.
QChar systemDateSeparator();

// Formats a date with "yy", "mm", "dd" (two digits each) and "yyyy"; "/"
// stands for `separator`; other characters are copied. Example:
// formatDate(2009-12-31, "mm/dd/yy", '/') -> "12/31/09". An invalid date
// gives the empty text.
QString formatDate(const QDate &date, QStringView pattern, QChar separator = systemDateSeparator());

} // namespace common
