#include "graphs/livegraph.h"

#include "common/numbers.h"

#include <algorithm>

namespace graphs {

PlotArea plotAreaFor(QSize client)
{
    const int w = client.width() - leftMargin;
    PlotArea area;
    area.plotBase = client.height() - 27;
    area.plotHeight = client.height() - 40;
    area.plotWidth = std::max(0, w - w % shortMarkEvery);
    area.clientWidth = client.width();
    area.clientHeight = client.height();
    return area;
}

double fullScaleOf(const QString &rangeText)
{
    return common::leadingNumber(rangeText);
}

AxisLimits limitsForRange(const QString &rangeText)
{
    const double fullScale = fullScaleOf(rangeText);
    return AxisLimits{-fullScale, fullScale};
}

QString levelText(double value)
{
    return common::formatNumber(value, u"###0;\\-###0");
}

std::array<LevelLabel, 5> levelLabels(const PlotArea &area, const AxisLimits &limits)
{
    std::array<LevelLabel, 5> labels;
    for (int j = 0; j < 5; ++j) {
        const double value = limits.yMin + j * (limits.yMax - limits.yMin) / 4;
        labels[static_cast<std::size_t>(j)] =
            LevelLabel{levelText(value), area.plotBase - area.plotHeight * j / 4.0};
    }
    return labels;
}

double readingOffset(const QString &valueText, const AxisLimits &limits, int plotHeight)
{
    // The overload texts are judged before their number (0): "-OL" stays at
    // the bottom even when both limits are below zero.
    if (valueText == QLatin1String("OL"))
        return plotHeight + 5;
    if (valueText == QLatin1String("-OL"))
        return -3;
    const double number = common::leadingNumber(valueText);
    if (number > limits.yMax)
        return plotHeight + 5;
    if (number < limits.yMin)
        return -3;
    const double span = limits.yMax - limits.yMin;
    if (span <= 0)
        return 0; // equal limits: the reading sits on them, at the bottom edge
    return (number - limits.yMin) / span * plotHeight;
}

} // namespace graphs
