#include "graphs/livegraphsweep.h"

#include "graphs/livegraph.h"

namespace graphs {

void Sweep::restart()
{
    sweepPos_ = -1;
    prevX_ = 0;
    prevY_ = 0;
}

SweepStep Sweep::advance(const PlotArea &area, double yOffset, bool linkUp)
{
    ++sweepPos_;
    if (sweepPos_ >= area.plotWidth)
        sweepPos_ = 0;

    SweepStep step;
    step.column = sweepPos_;
    step.point = QPointF(leftMargin + sweepPos_, area.plotBase - yOffset);
    if (linkUp && prevX_ != 0 && sweepPos_ != 0)
        step.segmentFrom = QPointF(prevX_, prevY_);
    step.mark = timeMarkAt(sweepPos_);

    prevX_ = leftMargin + sweepPos_;
    prevY_ = step.point.y();
    return step;
}

TimeMark timeMarkAt(int column)
{
    if (column % labelledMarkEvery == 0)
        return TimeMark::Labelled;
    if (column % shortMarkEvery == 0)
        return TimeMark::Short;
    return TimeMark::None;
}

} // namespace graphs
