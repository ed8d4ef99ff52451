#include "graphs/livegraphchart.h"

#include "graphs/livegraphlimits.h"

#include <QPainter>

namespace graphs {

bool linkLostText(const QString &commText)
{
    return commText == QLatin1String(" NO COM ");
}

LiveGraphChart::LiveGraphChart(ChartLook look)
    : look_(std::move(look))
{
}

void LiveGraphChart::open()
{
    gridColor_ = initialGridColor;
    sweep_.restart();
}

QString LiveGraphChart::knownRange(const QString &rangeText) const
{
    return rangeText.isEmpty() ? lastRange_ : rangeText;
}

void LiveGraphChart::redraw(QSize client, const QString &rangeText)
{
    // While the link is lost the panel shows no range: the chart goes on
    // with the last one it had, so the meter's return is no range change.
    const QString range = knownRange(rangeText);
    if (!keepLimits_)
        limits_ = limitsForRange(range);
    area_ = plotAreaFor(client);
    if (image_.size() != client)
        image_ = QImage(client, QImage::Format_RGB32);
    if (!image_.isNull()) {
        QPainter painter(&image_);
        drawChartFrame(painter, area_, limits_, look_);
    }
    lastRange_ = range;
    sweep_.restart();
}

void LiveGraphChart::plot(const PanelTexts &texts)
{
    const double yOffset = readingOffset(texts.value, limits_, area_.plotHeight);
    const SweepStep step = sweep_.advance(area_, yOffset, !linkLostText(texts.comm));
    if (image_.isNull())
        return;
    QPainter painter(&image_);
    drawChartStep(painter, area_, StepDrawing{step, gridColor_, texts.time}, look_);
}

void LiveGraphChart::cycleGridColor()
{
    ++gridColor_;
    if (gridColor_ > 15)
        gridColor_ = 0;
}

bool LiveGraphChart::enterYMax(const QString &answer, const QString &rangeText)
{
    const auto yMax = acceptYMax(answer, limits_, fullScaleOf(knownRange(rangeText)));
    if (!yMax)
        return false;
    keepLimits_ = true;
    limits_.yMax = *yMax;
    return true;
}

bool LiveGraphChart::enterYMin(const QString &answer, const QString &rangeText)
{
    const auto yMin = acceptYMin(answer, limits_, fullScaleOf(knownRange(rangeText)));
    if (!yMin)
        return false;
    keepLimits_ = true;
    limits_.yMin = *yMin;
    return true;
}

} // namespace graphs
