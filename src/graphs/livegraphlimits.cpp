#include "graphs/livegraphlimits.h"

#include "common/numbers.h"

#include <algorithm>

namespace graphs {

LimitPrompt yMaxPrompt(const AxisLimits &limits)
{
    return {QStringLiteral("Enter maximum value for Y (vertical) axis"), QStringLiteral("Max Y"),
            common::numberText(limits.yMax, true)};
}

LimitPrompt yMinPrompt(const AxisLimits &limits)
{
    return {QStringLiteral("Enter minimum value for Y (vertical) axis"), QStringLiteral("MIN Y"),
            common::numberText(limits.yMin, true)};
}

double roundedLimit(double value)
{
    return common::leadingNumber(levelText(value));
}

std::optional<double> acceptYMax(const QString &answer, const AxisLimits &limits,
                                 double fullScale)
{
    if (answer.isEmpty())
        return std::nullopt;
    const double number = common::leadingNumber(answer);
    if (number == limits.yMax || number < limits.yMin)
        return std::nullopt;
    const double yMax = roundedLimit(std::min(number, fullScale));
    if (yMax <= limits.yMin)
        return std::nullopt;
    return yMax;
}

std::optional<double> acceptYMin(const QString &answer, const AxisLimits &limits,
                                 double fullScale)
{
    if (answer.isEmpty())
        return std::nullopt;
    const double number = common::leadingNumber(answer);
    if (number == limits.yMin || number > limits.yMax)
        return std::nullopt;
    const double yMin = roundedLimit(std::max(number, -fullScale));
    if (yMin >= limits.yMax)
        return std::nullopt;
    return yMin;
}

} // namespace graphs
