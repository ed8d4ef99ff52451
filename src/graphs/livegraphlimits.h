#pragma once

#include "graphs/livegraph.h"

#include <QString>

#include <optional>

// The user's limits of the value axis ("Ymax" and "Ymin" of the Scale menu).

namespace graphs {

struct LimitPrompt
{
    QString prompt;
    QString title;
    QString defaultAnswer; // the current limit, " 500" / "-500"
};

LimitPrompt yMaxPrompt(const AxisLimits &limits);
LimitPrompt yMinPrompt(const AxisLimits &limits);

// The new yMax for an answer, or nothing when the answer is refused:
// empty, equal to the current yMax, or below yMin. An accepted number is
// cut to the range's full scale and rounded to a whole number ("###0"). A
// result that would not stay above yMin is refused too, so the two limits
// never meet (the axis would have no height).
std::optional<double> acceptYMax(const QString &answer, const AxisLimits &limits,
                                 double fullScale);

// The same for yMin: refused when empty, equal to yMin or above yMax;
// raised to -(full scale); rounded; refused unless it stays below yMax.
std::optional<double> acceptYMin(const QString &answer, const AxisLimits &limits,
                                 double fullScale);

// A limit rounded as the axis writes it (123.6 -> 124, -2.5 -> -3).
double roundedLimit(double value);

} // namespace graphs
