#pragma once

#include "graphs/livegraph.h"
#include "graphs/livegraphpainter.h"
#include "graphs/livegraphsweep.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace graphs {

// What the chart reads from the panel for a reading.
struct PanelTexts
{
    QString value; // LBLVALUE: a number, "OL" or "-OL"
    QString range; // LBLRAN
    QString time;  // LBLTIME
    QString comm;  // LBLCOMM: " NO COM " while the link is lost
};

// The link-lost text of the panel.
bool linkLostText(const QString &commText);

// The live strip chart: its state and its picture. The picture is kept in
// an image that the window shows and prints; each reading adds to it, so
// it survives as long as the chart is not redrawn.
class LiveGraphChart
{
public:
    static constexpr int initialGridColor = 7;

    explicit LiveGraphChart(ChartLook look = {});

    void setLook(const ChartLook &look) { look_ = look; }

    // The actions of opening the window (apart from its move): grid
    // colour 7, and the next reading lands in column 0.
    void open();

    // The full redraw for a client area: reloads the limits from the range
    // unless the user set them, clears the picture and draws the frame.
    // The next reading lands in column 0. An empty range text (the link is
    // lost) stands for the range of the last redraw.
    void redraw(QSize client, const QString &rangeText);

    // True when the panel's range is no longer the one of the last redraw.
    bool rangeChanged(const QString &rangeText) const { return rangeText != lastRange_; }

    // The next redraw takes the limits from the range again.
    void releaseLimits() { keepLimits_ = false; }

    // One reading: advances the sweep and draws it.
    void plot(const PanelTexts &texts);

    // Next grid colour, 15 -> 0. Applies to what is drawn from now on.
    void cycleGridColor();

    // The user's limits: true when the answer was taken (the caller then
    // redraws); the limits are kept from then on. An empty range text
    // stands for the range of the last redraw.
    bool enterYMax(const QString &answer, const QString &rangeText);
    bool enterYMin(const QString &answer, const QString &rangeText);

    const QImage &image() const { return image_; }
    const PlotArea &area() const { return area_; }
    const AxisLimits &limits() const { return limits_; }
    const Sweep &sweep() const { return sweep_; }
    bool keepLimits() const { return keepLimits_; }
    int gridColor() const { return gridColor_; }
    QString lastRange() const { return lastRange_; }

private:
    QString knownRange(const QString &rangeText) const;

    ChartLook look_;
    QImage image_;
    PlotArea area_;
    AxisLimits limits_;
    Sweep sweep_;
    bool keepLimits_ = false;
    int gridColor_ = initialGridColor;
    QString lastRange_;
};

} // namespace graphs
