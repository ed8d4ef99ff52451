#include "common/numbers.h"

#include "common/decimaldigits.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace common {

namespace {

constexpr int maxKeptDigits = 18;              // 10^18 still fits a qint64
constexpr qint64 exponentLimit = 1'000'000'000; // far beyond any real text

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

namespace {

// Readings have a few digits: while they fit a qint64 they are simply
// gathered. Nothing when the number has more than 18 digits.
template <typename Char>
std::optional<Decimal> gatheredDecimal(const Char *text, qsizetype size, bool negative)
{
    qint64 mantissa = 0;
    int digits = 0;
    int pointAfter = -1; // digits before the point, once one is seen
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned digit = unsigned(text[i]) - u'0';
        if (digit <= 9) {
            if (digits == maxKeptDigits)
                return std::nullopt;
            mantissa = mantissa * 10 + qint64(digit);
            ++digits;
        } else if (text[i] == u'.' && pointAfter < 0) {
            pointAfter = digits;
        } else {
            break;
        }
    }
    if (mantissa == 0)
        return Decimal{};
    const int exponent = pointAfter < 0 ? 0 : pointAfter - digits;
    return Decimal{negative ? -mantissa : mantissa, exponent};
}

// A longer number: the first 18 significant digits, rounded on the next.
template <typename Char>
Decimal roundedDecimal(const Char *text, qsizetype size, bool negative)
{
    DecimalReader reader;
    bool inFraction = false;
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned digit = unsigned(text[i]) - u'0';
        if (digit <= 9)
            reader.addDigit(int(digit), inFraction);
        else if (text[i] == u'.' && !inFraction)
            inFraction = true;
        else
            break;
    }
    return reader.result(negative);
}

// One reader for UTF-16 and Latin-1 texts: the files' rows are Latin-1 and
// are read millions at a time, without widening each value first.
template <typename Char>
Decimal readLeadingDecimal(const Char *text, qsizetype size)
{
    qsizetype i = 0;
    while (i < size && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < size && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (const std::optional<Decimal> gathered = gatheredDecimal(text + i, size - i, negative))
        return *gathered;
    return roundedDecimal(text + i, size - i, negative);
}

} // namespace

Decimal leadingDecimal(QStringView text)
{
    return readLeadingDecimal(text.utf16(), text.size());
}

Decimal leadingDecimal(QLatin1StringView text)
{
    return readLeadingDecimal(reinterpret_cast<const unsigned char *>(text.data()), text.size());
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
