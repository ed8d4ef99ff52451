#include "graphs/storedgraphlevel.h"

#include "common/numbers.h"

#include <QString>

#include <array>
#include <cmath>
#include <cstdint>

namespace graphs {

namespace {

struct RangeFactor
{
    const char *range;
    qint32 factor;
    int powerOfTen; // factor = 10^powerOfTen
};

// In table order: down the left column, then down the right one.
constexpr std::array<RangeFactor, 26> rangeFactors{{
    {"Diode", 1, 0},        {"5000 uA", 1, 0},      {"500 Ohm", 1, 0},
    {"5K Ohm", 1000, 3},    {"50K Ohm", 1000, 3},   {"500K Ohm", 1000, 3},
    {"5M Ohm", 1000000, 6}, {"50M Ohm", 1000000, 6}, {"5 V", 1, 0},
    {"50 V", 1, 0},         {"500 V", 1, 0},        {"1000 V", 1, 0},
    {"5 A", 1, 0},          {"10 A", 1, 0},
    {"500 nF", 1, 0},       {"5 uF", 1000, 3},      {"50 uF", 1000, 3},
    {"500 uF", 1000, 3},    {"500 mV", 1, 0},       {"500 mA", 1, 0},
    {"50 Hz", 1, 0},        {"500 Hz", 1, 0},       {"5K Hz", 1000, 3},
    {"50K Hz", 1000, 3},    {"500K Hz", 1000, 3},   {"5M Hz", 1000000, 6},
}};

const RangeFactor *findRange(QLatin1StringView range, RangeMatch match)
{
    for (const RangeFactor &entry : rangeFactors) {
        const QLatin1StringView text(entry.range);
        if (match == RangeMatch::Exact ? range == text : range.contains(text))
            return &entry;
    }
    return nullptr;
}

// The nearest double to an exact decimal. Small mantissas and exponents
// take one correctly rounded multiplication or division; the rest goes
// through the general conversion.
double toDouble(const common::Decimal &value)
{
    static constexpr std::array<double, 23> powers{
        1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr qint64 exactLimit = qint64(1) << 53;
    if (value.mantissa > -exactLimit && value.mantissa < exactLimit && value.exponent >= -22
        && value.exponent <= 22) {
        const double m = double(value.mantissa);
        return value.exponent >= 0 ? m * powers[std::size_t(value.exponent)]
                                   : m / powers[std::size_t(-value.exponent)];
    }
    return value.toDouble();
}

common::Decimal leadingDecimalOf(QLatin1StringView text)
{
    constexpr qsizetype stackLength = 64;
    if (text.size() > stackLength)
        return common::leadingDecimal(QString(text));
    char16_t wide[stackLength];
    for (qsizetype i = 0; i < text.size(); ++i)
        wide[i] = static_cast<unsigned char>(text[i].toLatin1());
    return common::leadingDecimal(QStringView(wide, text.size()));
}

} // namespace

qint32 rangefactor(QLatin1StringView range, RangeMatch match)
{
    const RangeFactor *entry = findRange(range, match);
    return entry ? entry->factor : 0;
}

qint32 rangefactor(QStringView range, RangeMatch match)
{
    return rangefactor(QLatin1StringView(range.toLatin1()), match);
}

double recordLevel(QLatin1StringView value, QLatin1StringView range, const LevelScale &scale,
                   RangeMatch match)
{
    if (value.contains(QLatin1StringView("-OL")))
        return belowBottom;
    if (value.contains(QLatin1StringView("OL")))
        return aboveTop;
    const double span = scale.maximum - scale.minimum;
    if (!(span > 0))
        return centreLine;

    common::Decimal number = leadingDecimalOf(value);
    const RangeFactor *entry = findRange(range, match);
    if (!entry)
        number = {};
    else
        number.exponent += entry->powerOfTen;
    const double v = toDouble(number);

    if (v >= 0) {
        const double y = centreLine - 3000 * (v - scale.minimum) / span;
        if (y > centreLine)
            return centreLine;
        return y < topLine ? aboveTop : y;
    }
    const double y = centreLine - 3000 * (v + scale.minimum) / span;
    if (y < centreLine)
        return centreLine;
    return y > bottomLine ? belowBottom : y;
}

} // namespace graphs
