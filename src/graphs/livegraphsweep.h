#pragma once

#include <QPointF>

#include <optional>

namespace graphs {

struct PlotArea;

enum class TimeMark {
    None,
    Labelled, // every 60th column (0, 60, 120, ...): dotted full-height line and the time
    Short,    // the columns halfway between (30, 90, ...): a short solid line
};

// What one reading adds to the chart.
struct SweepStep
{
    int column = 0;                  // sweepPos: 0 .. plotWidth - 1
    QPointF point;                   // where the reading lies
    std::optional<QPointF> segmentFrom; // the line to draw to `point`, if any
    TimeMark mark = TimeMark::None;
};

// The sweep across the plot area, one column per reading. The first
// reading after a restart lands in column 0 without a segment; after the
// last column the sweep wraps to column 0, again without a segment back.
// No segment is drawn while the link is lost, but the sweep and the last
// point still advance.
class Sweep
{
public:
    void restart();
    SweepStep advance(const PlotArea &area, double yOffset, bool linkUp);

    int sweepPos() const { return sweepPos_; }
    int prevX() const { return prevX_; }
    double prevY() const { return prevY_; }

private:
    int sweepPos_ = -1; // column of the newest reading; -1 before the first
    int prevX_ = 0;     // x of the last point; 0 when there is none
    double prevY_ = 0;
};

// The mark a column gets.
TimeMark timeMarkAt(int column);

} // namespace graphs
