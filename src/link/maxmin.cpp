#include "link/maxmin.h"

#include "common/numbers.h"

namespace live {

namespace {
const QString overloadText = QStringLiteral("OL");
}

void setmaxmin(const QString &reading, MaxMin &extremes)
{
    const double value = common::leadingNumber(reading);
    if (reading == overloadText)
        extremes.max = reading;
    if (extremes.max != overloadText && common::leadingNumber(extremes.max) < value)
        extremes.max = reading;
    if (extremes.min == overloadText)
        extremes.min = reading;
    else if (reading != overloadText && value < common::leadingNumber(extremes.min))
        extremes.min = reading;
}

void updateMaxMin(const QString &reading, MaxMin &extremes)
{
    if (extremes.max.isEmpty())
        extremes.max = reading;
    if (extremes.min.isEmpty())
        extremes.min = reading;
    setmaxmin(reading, extremes);
}

} // namespace live
