#pragma once

#include "support/recordingpage.h"

#include <QPaintEngine>
#include <QPainter>

namespace testsupport {

// Paint engine behind RecordingPage: forwards every drawing call to a
// QPainter on the current page image and records text items on the way.
class RecordingEngine : public QPaintEngine
{
public:
    RecordingEngine(QSize sizePixels, int dotsPerInch);

    bool begin(QPaintDevice *device) override;
    bool end() override;
    void updateState(const QPaintEngineState &s) override;
    Type type() const override { return QPaintEngine::User; }

    void drawRects(const QRectF *rects, int count) override;
    void drawLines(const QLineF *lines, int count) override;
    void drawEllipse(const QRectF &rect) override;
    void drawPath(const QPainterPath &path) override;
    void drawPoints(const QPointF *points, int count) override;
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override;
    void drawPixmap(const QRectF &target, const QPixmap &pixmap, const QRectF &source) override;
    void drawTiledPixmap(const QRectF &rect, const QPixmap &pixmap, const QPointF &offset) override;
    void drawImage(const QRectF &target, const QImage &image, const QRectF &source,
                   Qt::ImageConversionFlags flags) override;
    void drawTextItem(const QPointF &position, const QTextItem &item) override;
    using QPaintEngine::drawEllipse;
    using QPaintEngine::drawLines;
    using QPaintEngine::drawPoints;
    using QPaintEngine::drawPolygon;
    using QPaintEngine::drawRects;

    void startNewPage();
    QList<QImage> pages() const;
    const QList<DrawnText> &texts() const { return texts_; }

private:
    QImage blankPage() const;
    void copyStateFrom(const QPainter &outer);
    void applyClip(const QPaintEngineState &s);

    QSize size_;
    int dpi_;
    QList<QImage> done_;
    QImage current_;
    QPainter inner_;
    QList<DrawnText> texts_;
};

} // namespace testsupport
