#pragma once

#include "graphs/livegraph.h"
#include "graphs/livegraphsweep.h"

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;

// Drawing of the live strip chart into any painter (the chart's canvas,
// a page). Pixels, no antialiasing; filled boxes cover both corners given.

namespace graphs {

// The colours and font the chart borrows from its window.
struct ChartLook
{
    QFont font;                       // value labels and time labels
    QColor background = Qt::white;    // the window background, outside the plot area
    QColor text = Qt::black;          // value labels and time labels
};

// A colour of the 16-colour palette.
QColor paletteQColor(int index);

// The full picture without readings: cleared client area, axes, ticks,
// value labels and the white plot area.
void drawChartFrame(QPainter &painter, const PlotArea &area, const AxisLimits &limits,
                    const ChartLook &look);

// One reading: the wiped band ahead, the dotted grid, the segment (if
// any) and the time mark of its column. timeText labels a Labelled mark.
struct StepDrawing
{
    const SweepStep &step;
    int gridColor;        // palette index
    QString timeText;
};
void drawChartStep(QPainter &painter, const PlotArea &area, const StepDrawing &drawing,
                   const ChartLook &look);

} // namespace graphs
