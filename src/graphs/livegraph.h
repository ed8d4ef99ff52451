#pragma once

#include <QSize>
#include <QString>

#include <array>

// Geometry and value arithmetic of the live strip chart. Coordinates are
// client-area pixels, x to the right and y downwards from the top left.

namespace graphs {

// x of the left edge of the plot area.
inline constexpr int leftMargin = 40;
// Readings per labelled time mark, and per short mark between them.
inline constexpr int labelledMarkEvery = 60;
inline constexpr int shortMarkEvery = 30;

struct PlotArea
{
    int plotBase = 0;     // y of the bottom edge
    int plotHeight = 0;   // the top edge is at plotBase - plotHeight
    int plotWidth = 0;    // a whole multiple of 30 (never negative)
    int clientWidth = 0;
    int clientHeight = 0;
};

// The plot area of a client area: plotBase = height - 27, plotHeight =
// height - 40, plotWidth = (width - 40) cut down to a multiple of 30.
// 350 x 184 gives plotBase 157, plotHeight 144, plotWidth 300.
PlotArea plotAreaFor(QSize client);

// The values at the top and the bottom of the plot area.
struct AxisLimits
{
    double yMin = 0;
    double yMax = 0;
    friend bool operator==(const AxisLimits &, const AxisLimits &) = default;
};

// The full scale of a range: the leading number of its text ("500 mV" ->
// 500, "5K Ohm" -> 5, "Diode" -> 0).
double fullScaleOf(const QString &rangeText);

// +- full scale of the range.
AxisLimits limitsForRange(const QString &rangeText);

// A value written as the axis writes it: a whole number, rounded half away
// from zero ("###0;\-###0": 2.5 -> "3", -2.5 -> "-3").
QString levelText(double value);

// One of the five labelled levels of the value axis, bottom (j = 0) to top.
struct LevelLabel
{
    QString text;
    double centreY = 0; // the label is centred on this y (and on x = 18)
};
std::array<LevelLabel, 5> levelLabels(const PlotArea &area, const AxisLimits &limits);

// Height of a reading above the bottom edge of the plot area, from the
// panel's value text: "OL" -> plotHeight + 5 and "-OL" -> -3, whatever the
// limits; a number above yMax -> plotHeight + 5, below yMin -> -3; otherwise in proportion between the limits. When the limits
// are equal a reading at them lies on the bottom edge (0).
double readingOffset(const QString &valueText, const AxisLimits &limits, int plotHeight);

} // namespace graphs
