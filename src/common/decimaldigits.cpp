#include "common/decimaldigits.h"

#include <algorithm>

namespace common::detail {

namespace {

quint64 magnitude(qint64 mantissa)
{
    // 0 - x in unsigned arithmetic is safe for the most negative value too.
    return mantissa < 0 ? 0 - static_cast<quint64>(mantissa) : static_cast<quint64>(mantissa);
}

QString zeros(qint64 count)
{
    return count > 0 ? QString(static_cast<qsizetype>(count), QLatin1Char('0')) : QString();
}

void dropLeadingZeros(QString &digits)
{
    qsizetype first = 0;
    while (first < digits.size() && digits.at(first) == QLatin1Char('0'))
        ++first;
    digits.remove(0, first);
}

void dropTrailingZeros(QString &digits)
{
    qsizetype end = digits.size();
    while (end > 0 && digits.at(end - 1) == QLatin1Char('0'))
        --end;
    digits.truncate(end);
}

// Adds one unit of the last digit; a carry out of the first digit prepends a 1.
void incrementDigits(QString &digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits.at(i) != QLatin1Char('9')) {
            digits[i] = QChar(digits.at(i).unicode() + 1);
            return;
        }
        digits[i] = QLatin1Char('0');
    }
    digits.prepend(QLatin1Char('1'));
}

} // namespace

bool DecimalDigits::isZero() const
{
    // integer never has leading zeros, so only the fraction needs looking at.
    return integer.isEmpty() && std::all_of(fraction.cbegin(), fraction.cend(),
                                            [](QChar c) { return c == QLatin1Char('0'); });
}

DecimalDigits exactDigits(const Decimal &value)
{
    DecimalDigits result;
    result.negative = value.mantissa < 0;
    const QString digits = QString::number(magnitude(value.mantissa));
    const qint64 exponent = value.exponent;
    if (exponent >= 0) {
        result.integer = digits + zeros(exponent);
    } else {
        const qint64 shift = -exponent;
        if (shift >= digits.size()) {
            result.fraction = zeros(shift - digits.size()) + digits;
        } else {
            const qsizetype split = digits.size() - static_cast<qsizetype>(shift);
            result.integer = digits.left(split);
            result.fraction = digits.mid(split);
        }
    }
    dropLeadingZeros(result.integer);
    dropTrailingZeros(result.fraction);
    return result;
}

DecimalDigits roundedAwayFromZero(const Decimal &value, int fractionDigits)
{
    const qsizetype places = std::max(fractionDigits, 0);
    DecimalDigits result;
    // |mantissa| < 10^19: far enough below the last place it rounds to 0.
    if (static_cast<qint64>(value.exponent) + 20 < -static_cast<qint64>(places)) {
        result.fraction = zeros(places);
        return result;
    }
    result = exactDigits(value);
    if (result.fraction.size() <= places) {
        result.fraction += zeros(places - result.fraction.size());
        return result;
    }
    const bool roundUp = result.fraction.at(places) >= QLatin1Char('5');
    result.fraction.truncate(places);
    if (roundUp) {
        QString all = result.integer + result.fraction;
        incrementDigits(all);
        result.integer = all.left(all.size() - places);
        result.fraction = all.right(places);
    }
    return result;
}

} // namespace common::detail
