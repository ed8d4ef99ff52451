#include "common/numbers.h"

#include "common/decimaldigits.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace common {

namespace {

constexpr int maxKeptDigits = 18;              // 10^18 still fits a qint64
constexpr qint64 exponentLimit = 1'000'000'000; // far beyond any real text

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Accumulates the digits of a decimal text, keeping the first 18
// significant ones and rounding on the first digit dropped.
class DecimalReader
{
public:
    void addDigit(int digit, bool inFraction)
    {
        sawDigit = true;
        if (mantissa == 0 && digit == 0) { // not significant yet
            if (inFraction)
                --exponent;
            return;
        }
        if (kept < maxKeptDigits) {
            mantissa = mantissa * 10 + digit;
            ++kept;
            if (inFraction)
                --exponent;
            return;
        }
        if (!dropped) {
            dropped = true;
            roundUp = digit >= 5;
        }
        if (!inFraction)
            ++exponent;
    }

    Decimal result(bool negative) const
    {
        if (!sawDigit || mantissa == 0)
            return {};
        qint64 m = mantissa;
        qint64 e = exponent;
        if (roundUp && ++m == 1'000'000'000'000'000'000) {
            m /= 10;
            ++e;
        }
        e = std::clamp(e, -exponentLimit, exponentLimit);
        return {negative ? -m : m, static_cast<int>(e)};
    }

    bool sawDigit = false;

private:
    qint64 mantissa = 0;
    qint64 exponent = 0;
    int kept = 0;
    bool dropped = false;
    bool roundUp = false;
};

qint64 saturated(bool negative)
{
    return negative ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

} // namespace

Decimal Decimal::fromDouble(double value)
{
    if (!std::isfinite(value))
        return {};
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::scientific);
    if (ec != std::errc())
        return {};
    // Shortest scientific form: [-]d[.ddd]e(+|-)xx, at most 17 digits.
    qint64 mantissa = 0;
    int digits = 0;
    const char *p = buffer;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    for (; p != end && *p != 'e'; ++p) {
        if (*p != '.') {
            mantissa = mantissa * 10 + (*p - '0');
            ++digits;
        }
    }
    int exponent = 0;
    if (p != end)
        std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
    if (mantissa == 0)
        return {};
    return {negative ? -mantissa : mantissa, exponent - (digits - 1)};
}

double Decimal::toDouble() const
{
    if (mantissa == 0)
        return 0.0;
    const std::string text = std::to_string(mantissa) + 'e' + std::to_string(exponent);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        const double magnitude = exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return mantissa < 0 ? -magnitude : magnitude;
    }
    return value;
}

Decimal leadingDecimal(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text.at(i)))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    DecimalReader reader;
    bool inFraction = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isDigit(c))
            reader.addDigit(c.unicode() - '0', inFraction);
        else if (c == QLatin1Char('.') && !inFraction)
            inFraction = true;
        else
            break;
    }
    return reader.result(negative);
}

double leadingNumber(QStringView text)
{
    return leadingDecimal(text).toDouble();
}

QString numberText(const Decimal &value, bool withBlank)
{
    const detail::DecimalDigits digits = detail::exactDigits(value);
    QString text;
    if (digits.isZero())
        text = QStringLiteral("0");
    else
        text = (digits.negative ? QStringLiteral("-") : QString())
               + (digits.integer.isEmpty() ? QStringLiteral("0") : digits.integer)
               + (digits.fraction.isEmpty() ? QString() : QLatin1Char('.') + digits.fraction);
    if (withBlank && !text.startsWith(QLatin1Char('-')))
        text.prepend(QLatin1Char(' '));
    return text;
}

QString numberText(double value, bool withBlank)
{
    return numberText(Decimal::fromDouble(value), withBlank);
}

qint64 roundHalfEven(const Decimal &value)
{
    if (value.mantissa == 0 || value.exponent < -20) // |value| < 0.01
        return 0;
    const bool negative = value.mantissa < 0;
    if (value.exponent > 19) // |value| >= 10^19
        return saturated(negative);
    const detail::DecimalDigits digits = detail::exactDigits(value);
    // fraction has no trailing zeros: "5" alone is an exact half.
    bool up = false;
    if (!digits.fraction.isEmpty()) {
        const QChar first = digits.fraction.at(0);
        const bool odd = !digits.integer.isEmpty() && (digits.integer.back().unicode() - '0') % 2 == 1;
        up = first > QLatin1Char('5') || (first == QLatin1Char('5') && (digits.fraction.size() > 1 || odd));
    }
    bool ok = false;
    quint64 magnitude = digits.integer.isEmpty() ? 0 : digits.integer.toULongLong(&ok);
    if (!digits.integer.isEmpty() && !ok)
        return saturated(negative);
    if (up)
        ++magnitude;
    const quint64 limit = negative ? quint64(std::numeric_limits<qint64>::max()) + 1
                                   : quint64(std::numeric_limits<qint64>::max());
    if (magnitude > limit)
        return saturated(negative);
    return negative ? static_cast<qint64>(0 - magnitude) : static_cast<qint64>(magnitude);
}

qint64 roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    if (std::isinf(value))
        return saturated(value < 0);
    return roundHalfEven(Decimal::fromDouble(value));
}

} // namespace common
