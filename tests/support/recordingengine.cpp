#include "support/recordingengine.h"

#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace testsupport {

RecordingEngine::RecordingEngine(QSize sizePixels, int dotsPerInch)
    : QPaintEngine(QPaintEngine::AllFeatures), size_(sizePixels), dpi_(dotsPerInch)
{
    current_ = blankPage();
}

QImage RecordingEngine::blankPage() const
{
    QImage page(size_, QImage::Format_ARGB32_Premultiplied);
    const auto dotsPerMeter = static_cast<int>(std::lround(dpi_ / 0.0254));
    page.setDotsPerMeterX(dotsPerMeter);
    page.setDotsPerMeterY(dotsPerMeter);
    page.fill(Qt::white);
    return page;
}

bool RecordingEngine::begin(QPaintDevice *)
{
    if (!inner_.begin(&current_))
        return false;
    if (painter())
        copyStateFrom(*painter());
    return true;
}

bool RecordingEngine::end()
{
    return inner_.end();
}

void RecordingEngine::copyStateFrom(const QPainter &outer)
{
    inner_.setPen(outer.pen());
    inner_.setBrush(outer.brush());
    inner_.setBrushOrigin(outer.brushOrigin());
    inner_.setFont(outer.font());
    inner_.setBackground(outer.background());
    inner_.setBackgroundMode(outer.backgroundMode());
    inner_.setRenderHints(outer.renderHints());
    inner_.setOpacity(outer.opacity());
    inner_.setCompositionMode(outer.compositionMode());
    inner_.setTransform(outer.combinedTransform());
}

void RecordingEngine::updateState(const QPaintEngineState &s)
{
    const auto dirty = s.state();
    if (dirty & DirtyPen)
        inner_.setPen(s.pen());
    if (dirty & DirtyBrush)
        inner_.setBrush(s.brush());
    if (dirty & DirtyBrushOrigin)
        inner_.setBrushOrigin(s.brushOrigin());
    if (dirty & DirtyFont)
        inner_.setFont(s.font());
    if (dirty & DirtyBackground)
        inner_.setBackground(s.backgroundBrush());
    if (dirty & DirtyBackgroundMode)
        inner_.setBackgroundMode(s.backgroundMode());
    if (dirty & DirtyHints)
        inner_.setRenderHints(s.renderHints());
    if (dirty & DirtyOpacity)
        inner_.setOpacity(s.opacity());
    if (dirty & DirtyCompositionMode)
        inner_.setCompositionMode(s.compositionMode());
    // The transform first: a clip is given in the coordinates it sets up.
    if (dirty & DirtyTransform)
        inner_.setTransform(s.transform());
    applyClip(s);
}

void RecordingEngine::applyClip(const QPaintEngineState &s)
{
    const auto dirty = s.state();
    if (dirty & DirtyClipRegion) {
        if (s.clipOperation() == Qt::NoClip)
            inner_.setClipping(false);
        else
            inner_.setClipRegion(s.clipRegion(), s.clipOperation());
    }
    if (dirty & DirtyClipPath) {
        if (s.clipOperation() == Qt::NoClip)
            inner_.setClipping(false);
        else
            inner_.setClipPath(s.clipPath(), s.clipOperation());
    }
    if (dirty & DirtyClipEnabled)
        inner_.setClipping(s.isClipEnabled());
}

void RecordingEngine::drawRects(const QRectF *rects, int count)
{
    inner_.drawRects(rects, count);
}

void RecordingEngine::drawLines(const QLineF *lines, int count)
{
    inner_.drawLines(lines, count);
}

void RecordingEngine::drawEllipse(const QRectF &rect)
{
    inner_.drawEllipse(rect);
}

void RecordingEngine::drawPath(const QPainterPath &path)
{
    inner_.drawPath(path);
}

void RecordingEngine::drawPoints(const QPointF *points, int count)
{
    inner_.drawPoints(points, count);
}

void RecordingEngine::drawPolygon(const QPointF *points, int count, PolygonDrawMode mode)
{
    switch (mode) {
    case PolylineMode:
        inner_.drawPolyline(points, count);
        break;
    case WindingMode:
        inner_.drawPolygon(points, count, Qt::WindingFill);
        break;
    default:
        inner_.drawPolygon(points, count, Qt::OddEvenFill);
        break;
    }
}

void RecordingEngine::drawPixmap(const QRectF &target, const QPixmap &pixmap, const QRectF &source)
{
    inner_.drawPixmap(target, pixmap, source);
}

void RecordingEngine::drawTiledPixmap(const QRectF &rect, const QPixmap &pixmap,
                                      const QPointF &offset)
{
    inner_.drawTiledPixmap(rect, pixmap, offset);
}

void RecordingEngine::drawImage(const QRectF &target, const QImage &image, const QRectF &source,
                                Qt::ImageConversionFlags flags)
{
    inner_.drawImage(target, image, source, flags);
}

void RecordingEngine::drawTextItem(const QPointF &position, const QTextItem &item)
{
    texts_.append({static_cast<int>(done_.size()), item.text(),
                   inner_.transform().map(position), item.font()});
    // The painter has already applied the item's font through updateState.
    inner_.drawText(position, item.text());
}

void RecordingEngine::startNewPage()
{
    done_.append(current_.copy());
    if (!inner_.isActive()) {
        current_ = blankPage();
        return;
    }
    inner_.save();
    inner_.resetTransform();
    inner_.setClipping(false);
    inner_.setOpacity(1.0);
    inner_.setCompositionMode(QPainter::CompositionMode_Source);
    inner_.fillRect(QRect(QPoint(0, 0), size_), Qt::white);
    inner_.restore();
}

QList<QImage> RecordingEngine::pages() const
{
    QList<QImage> all = done_;
    all.append(current_);
    return all;
}

} // namespace testsupport
