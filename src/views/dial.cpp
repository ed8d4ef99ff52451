#include "views/dial.h"

#include "common/numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace views {

namespace {

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

QPointF DialFrame::toPixel(QPointF dial) const
{
    return QPointF(dial.x() + client_.width() / 2, 1.2 * client_.height() - dial.y());
}

QPointF DialFrame::polar(double factor, double degrees) const
{
    const double r = factor * radius();
    return toPixel(QPointF(r * std::cos(radians(degrees)), r * std::sin(radians(degrees))));
}

std::array<DialTick, 41> dialTicks()
{
    std::array<DialTick, 41> ticks;
    for (int i = 0; i <= 40; ++i) {
        const double outer = i % 10 == 0 ? 1.08 : i % 5 == 0 ? 1.06 : 1.03;
        ticks[static_cast<std::size_t>(i)] = DialTick{36.0 + 2.7 * i, outer};
    }
    return ticks;
}

std::array<ScaleNumber, 5> scaleNumbers(const QString &rangeText)
{
    const common::Decimal r = common::leadingDecimal(rangeText);
    // Halving is exact in decimal: r x 5 x 10^-1.
    const common::Decimal half{r.mantissa * 5, r.exponent - 1};
    const common::Decimal minusHalf{-half.mantissa, half.exponent};
    const common::Decimal minusR{-r.mantissa, r.exponent};
    return {{
        {QStringLiteral("0"), 90.0, 1.0},
        {common::numberText(half, true), 63.0, 0},
        {common::numberText(minusHalf, true), 117.0, 0},
        {common::numberText(r, true), 39.6, 0},
        {common::numberText(minusR, true), 140.4, 0},
    }};
}

QPointF scaleNumberTopLeft(const DialFrame &frame, const ScaleNumber &number, double textWidth)
{
    const QPointF at = frame.polar(scaleNumberRadius, number.degrees);
    return QPointF(at.x() - textWidth / 2 + number.shift, at.y());
}

std::optional<double> needleAngle(const QString &readingText, const QString &rangeText)
{
    if (readingText == QLatin1String("OL"))
        return needleMinDegrees;
    if (readingText == QLatin1String("-OL"))
        return needleMaxDegrees;
    const double r = common::leadingNumber(rangeText);
    if (r == 0)
        return std::nullopt;
    const double v = common::leadingNumber(readingText);
    return std::clamp(90.0 - 54.0 * v / r, needleMinDegrees, needleMaxDegrees);
}

} // namespace views
