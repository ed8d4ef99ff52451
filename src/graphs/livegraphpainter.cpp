#include "graphs/livegraphpainter.h"

#include "common/palette.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace graphs {

namespace {

constexpr int black = 0;
constexpr int white = 15;

// A filled box covering both corners, on whole pixels.
void fillBox(QPainter &painter, QPointF a, QPointF b, const QColor &colour)
{
    const auto whole = [](double v) { return static_cast<int>(std::lround(v)); };
    const int left = whole(std::min(a.x(), b.x()));
    const int right = whole(std::max(a.x(), b.x()));
    const int top = whole(std::min(a.y(), b.y()));
    const int bottom = whole(std::max(a.y(), b.y()));
    painter.fillRect(QRect(QPoint(left, top), QPoint(right, bottom)), colour);
}

void setPen(QPainter &painter, const QColor &colour, int width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, width, style);
    // Thin lines are cosmetic and cover both end pixels; the thick axes end
    // flat where they are told to.
    pen.setCosmetic(width == 1);
    pen.setCapStyle(width == 1 ? Qt::SquareCap : Qt::FlatCap);
    painter.setPen(pen);
}

// Writes text with its top-left corner at topLeft.
void writeText(QPainter &painter, QPointF topLeft, const QString &text, const QColor &colour)
{
    painter.setPen(colour);
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + painter.fontMetrics().ascent()), text);
}

void drawAxes(QPainter &painter, const PlotArea &area)
{
    const int base = area.plotBase;
    const int top = area.plotBase - area.plotHeight;
    setPen(painter, paletteQColor(black), 2);
    painter.drawLine(QPointF(38, base + 5), QPointF(38, top));
    painter.drawLine(QPointF(38, base + 6), QPointF(leftMargin + area.plotWidth + 2, base + 6));

    setPen(painter, paletteQColor(black), 1);
    for (int i = 0; i <= 8; ++i) {
        const double y = base - area.plotHeight * i / 8.0;
        painter.drawLine(QPointF(38, y), QPointF(33, y));
        if (i % 2 == 0)
            painter.drawLine(QPointF(38, y), QPointF(30, y));
    }
}

void drawLevelLabels(QPainter &painter, const PlotArea &area, const AxisLimits &limits,
                     const ChartLook &look)
{
    const QFontMetricsF metrics = painter.fontMetrics();
    for (const LevelLabel &label : levelLabels(area, limits)) {
        const double w = metrics.horizontalAdvance(label.text);
        const double h = metrics.height();
        writeText(painter, QPointF(18 - w / 2, label.centreY - h / 2), label.text, look.text);
    }
}

void drawGrid(QPainter &painter, const PlotArea &area, const QColor &colour)
{
    setPen(painter, colour, 1, Qt::DotLine);
    for (const double share : {0.25, 0.5, 0.75}) {
        const double y = area.plotBase - area.plotHeight * share;
        painter.drawLine(QPointF(leftMargin, y), QPointF(leftMargin + area.plotWidth, y));
    }
}

void drawTimeMark(QPainter &painter, const PlotArea &area, const StepDrawing &drawing,
                  const ChartLook &look)
{
    const double x = drawing.step.point.x();
    const QColor colour = paletteQColor(drawing.gridColor);
    if (drawing.step.mark == TimeMark::Short) {
        setPen(painter, colour, 1);
        painter.drawLine(QPointF(x, area.plotBase - 3 * area.plotHeight / 8.0),
                         QPointF(x, area.plotBase - 5 * area.plotHeight / 8.0));
        return;
    }
    setPen(painter, colour, 1, Qt::DotLine);
    painter.drawLine(QPointF(x, area.plotBase), QPointF(x, area.plotBase - area.plotHeight));
    setPen(painter, paletteQColor(black), 1);

    const double w = painter.fontMetrics().horizontalAdvance(drawing.timeText);
    fillBox(painter, QPointF(x - w / 2, area.plotBase + 10), QPointF(x + w / 2, area.clientHeight),
            paletteQColor(white));
    writeText(painter, QPointF(x - w / 2, area.plotBase + 10), drawing.timeText, look.text);
}

} // namespace

QColor paletteQColor(int index)
{
    const common::Rgb rgb = common::paletteColor(index);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

void drawChartFrame(QPainter &painter, const PlotArea &area, const AxisLimits &limits,
                    const ChartLook &look)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(look.font);
    painter.fillRect(QRect(0, 0, area.clientWidth, area.clientHeight), look.background);
    drawAxes(painter, area);
    drawLevelLabels(painter, area, limits, look);
    fillBox(painter, QPointF(leftMargin, area.plotBase),
            QPointF(leftMargin + area.plotWidth, area.plotBase - area.plotHeight),
            paletteQColor(white));
}

void drawChartStep(QPainter &painter, const PlotArea &area, const StepDrawing &drawing,
                   const ChartLook &look)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(look.font);
    const double x = drawing.step.point.x();
    fillBox(painter, QPointF(x, area.plotBase + 3),
            QPointF(x + 5, area.plotBase - area.plotHeight - 5), paletteQColor(white));
    drawGrid(painter, area, paletteQColor(drawing.gridColor));

    if (drawing.step.segmentFrom) {
        setPen(painter, paletteQColor(black), 1);
        painter.drawLine(*drawing.step.segmentFrom, drawing.step.point);
    }
    if (drawing.step.mark != TimeMark::None)
        drawTimeMark(painter, area, drawing, look);
}

} // namespace graphs
