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
    static Decimal fromDouble(double value);
    double toDouble() const;
    friend bool operator==(const Decimal &, const Decimal &) = default;
};

// The number at the start of a text: leading blanks are skipped, reading
// stops at the first character that cannot continue a decimal number, and a
// text without a number gives 0 ("500 mV" -> 500, "5K Ohm" -> 5, "OL" -> 0,
// "-01.234" -> -1.234, " 2,5" -> 2).
double leadingNumber(QStringView text);
Decimal leadingDecimal(QStringView text);

// The shortest plain decimal form of a number: 5, -0.5, 123.6, 1E-07 never
// (always plain digits). withBlank puts one blank before numbers of 0 or
// more (" 5", "-5").
QString numberText(double value, bool withBlank = false);
QString numberText(const Decimal &value, bool withBlank = false);

// Rounds to the nearest integer, a half to the even one (2.5 -> 2, 3.5 -> 4).
qint64 roundHalfEven(double value);
qint64 roundHalfEven(const Decimal &value);

// Formats a number with a format pattern:
//   0   a digit always written (leading zeros fill)
//   #   a digit written only when significant
//   .   the decimal point
//   ;   separates the pattern for numbers of 0 or more from the one for
//       negative numbers (which then supplies its own sign)
//   \-  a literal minus sign
// Other characters are copied. The fraction gets as many digits as there are
// placeholders after the point, rounded half away from zero on the exact
// decimal value. Examples: formatNumber(12.345, "0##.#0") -> "012.35",
// formatNumber(-3, "###0;\\-###0") -> "-3", formatNumber(7, "#00") -> "07".
QString formatNumber(const Decimal &value, QStringView pattern);
QString formatNumber(double value, QStringView pattern);

// The system's date separator ("/" unless the locale's short date uses
// another one).
QChar systemDateSeparator();

// Formats a date with "yy", "mm", "dd" (two digits each) and "yyyy"; "/"
// stands for `separator`. Example: formatDate(2009-12-31, "mm/dd/yy", '/')
// -> "12/31/09".
QString formatDate(const QDate &date, QStringView pattern, QChar separator = systemDateSeparator());

} // namespace common
