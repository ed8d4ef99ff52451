#include "graphs/storedgraphlevel.h"

#include "common/numbers.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace graphs {

namespace {

struct RangeFactor
{
    QLatin1StringView range;
    qint32 factor;
    int powerOfTen; // factor = 10^powerOfTen
};

constexpr QLatin1StringView operator""_L1(const char *text, std::size_t size)
{
    return QLatin1StringView(text, qsizetype(size));
}

// In table order: down the left column, then down the right one.
constexpr std::array<RangeFactor, 26> rangeFactors{{
    {"Diode"_L1, 1, 0},        {"5000 uA"_L1, 1, 0},      {"500 Ohm"_L1, 1, 0},
    {"5K Ohm"_L1, 1000, 3},    {"50K Ohm"_L1, 1000, 3},   {"500K Ohm"_L1, 1000, 3},
    {"5M Ohm"_L1, 1000000, 6}, {"50M Ohm"_L1, 1000000, 6}, {"5 V"_L1, 1, 0},
    {"50 V"_L1, 1, 0},         {"500 V"_L1, 1, 0},        {"1000 V"_L1, 1, 0},
    {"5 A"_L1, 1, 0},          {"10 A"_L1, 1, 0},
    {"500 nF"_L1, 1, 0},       {"5 uF"_L1, 1000, 3},      {"50 uF"_L1, 1000, 3},
    {"500 uF"_L1, 1000, 3},    {"500 mV"_L1, 1, 0},       {"500 mA"_L1, 1, 0},
    {"50 Hz"_L1, 1, 0},        {"500 Hz"_L1, 1, 0},       {"5K Hz"_L1, 1000, 3},
    {"50K Hz"_L1, 1000, 3},    {"500K Hz"_L1, 1000, 3},   {"5M Hz"_L1, 1000000, 6},
}};

const RangeFactor *findRange(QLatin1StringView range, RangeMatch match)
{
    for (const RangeFactor &entry : rangeFactors) {
        if (match == RangeMatch::Exact ? range == entry.range : range.contains(entry.range))
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

enum class Overload { None, Positive, Negative };

// "-OL" anywhere makes a negative overload; otherwise "OL" anywhere a
// positive one.
Overload overloadIn(QLatin1StringView value)
{
    const char *text = value.data();
    bool positive = false;
    for (qsizetype i = 0; i + 1 < value.size(); ++i) {
        if (text[i] != 'O' || text[i + 1] != 'L')
            continue;
        if (i > 0 && text[i - 1] == '-')
            return Overload::Negative;
        positive = true;
    }
    return positive ? Overload::Positive : Overload::None;
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

RangeScale rangeScale(QLatin1StringView range, RangeMatch match)
{
    // Row after row of a file has the same range: the last answer is kept
    // (per thread, as a file's rows are valued on every core).
    struct Last
    {
        std::array<char, 16> text{};
        qsizetype size = -1;
        RangeMatch match = RangeMatch::Exact;
        RangeScale scale;
    };
    thread_local Last last;
    if (range.size() == last.size && match == last.match
        && std::equal(range.data(), range.data() + range.size(), last.text.data()))
        return last.scale;
    const RangeFactor *entry = findRange(range, match);
    const RangeScale scale = entry ? RangeScale{true, entry->powerOfTen} : RangeScale{};
    if (range.size() <= qsizetype(last.text.size())) {
        std::copy(range.data(), range.data() + range.size(), last.text.data());
        last.size = range.size();
        last.match = match;
        last.scale = scale;
    }
    return scale;
}

double recordLevel(QLatin1StringView value, QLatin1StringView range, const LevelScale &scale,
                   RangeMatch match)
{
    return valueLevel(value, rangeScale(range, match), scale);
}

double valueLevel(QLatin1StringView value, RangeScale range, const LevelScale &scale)
{
    return keyLevel(valueKey(value, range), scale);
}

double valueKey(QLatin1StringView value, RangeScale range)
{
    switch (overloadIn(value)) {
    case Overload::Negative: return -std::numeric_limits<double>::infinity();
    case Overload::Positive: return std::numeric_limits<double>::infinity();
    case Overload::None: break;
    }
    common::Decimal number;
    if (range.listed) {
        number = common::leadingDecimal(value);
        number.exponent += range.powerOfTen;
    }
    return toDouble(number);
}

double keyLevel(double v, const LevelScale &scale)
{
    // Infinite keys are the overloads, drawn whatever the scale.
    if (std::isinf(v))
        return v > 0 ? aboveTop : belowBottom;
    const double span = scale.maximum - scale.minimum;
    if (!(span > 0))
        return centreLine;
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

double exactRowKey(const recording::RowCells &cells)
{
    return valueKey(cells[3], rangeScale(cells[5], RangeMatch::Exact));
}

double containedRowKey(const recording::RowCells &cells)
{
    return valueKey(cells[3], rangeScale(cells[5], RangeMatch::Containment));
}

recording::RowValuer rowValuer(RangeMatch match)
{
    return match == RangeMatch::Exact ? &exactRowKey : &containedRowKey;
}

} // namespace graphs
