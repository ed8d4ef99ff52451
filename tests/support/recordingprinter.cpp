#include "support/recordingprinter.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>

#include <climits>

namespace testsupport {

// The page and its engine in one: every drawing call goes to a painter on
// the current page image, text items are recorded on the way.
class RecordingPage : public QPaintDevice, public QPaintEngine
{
    QSize size_;
    int dpi_;

public:
    RecordingPage(QSize size, int dpi) : QPaintEngine(AllFeatures), size_(size), dpi_(dpi)
    {
        current_.setDotsPerMeterX(qRound(dpi_ / 0.0254));
        current_.setDotsPerMeterY(qRound(dpi_ / 0.0254));
        current_.fill(Qt::white);
    }
    QPaintEngine *paintEngine() const override { return const_cast<RecordingPage *>(this); }
    Type type() const override { return User; }

    bool begin(QPaintDevice *) override
    {
        const bool begun = inner_.begin(&current_);
        if (begun)
            updateState(*state); // the painter's state as it begins
        return begun;
    }
    bool end() override { return inner_.end(); }
    void updateState(const QPaintEngineState &s) override
    {
        const DirtyFlags dirty = s.state();
        inner_.setPen(s.pen());
        inner_.setBrush(s.brush());
        inner_.setFont(s.font());
        inner_.setRenderHints(s.renderHints());
        inner_.setTransform(s.transform()); // first: a clip is given in its coordinates
        if ((dirty & (DirtyClipRegion | DirtyClipPath)) && s.clipOperation() == Qt::NoClip)
            inner_.setClipping(false);
        else if (dirty & DirtyClipRegion)
            inner_.setClipRegion(s.clipRegion(), s.clipOperation());
        else if (dirty & DirtyClipPath)
            inner_.setClipPath(s.clipPath(), s.clipOperation());
        if (dirty & DirtyClipEnabled)
            inner_.setClipping(s.isClipEnabled());
    }

    void drawRects(const QRectF *rects, int count) override { inner_.drawRects(rects, count); }
    void drawLines(const QLineF *lines, int count) override { inner_.drawLines(lines, count); }
    void drawEllipse(const QRectF &rect) override { inner_.drawEllipse(rect); }
    void drawPath(const QPainterPath &path) override { inner_.drawPath(path); }
    void drawPoints(const QPointF *points, int count) override { inner_.drawPoints(points, count); }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        mode == PolylineMode ? inner_.drawPolyline(points, count)
                             : inner_.drawPolygon(points, count, mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    }
    void drawPixmap(const QRectF &to, const QPixmap &pixmap, const QRectF &from) override { inner_.drawPixmap(to, pixmap, from); }
    void drawImage(const QRectF &to, const QImage &image, const QRectF &from, Qt::ImageConversionFlags flags) override { inner_.drawImage(to, image, from, flags); }
    void drawTextItem(const QPointF &position, const QTextItem &item) override
    {
        texts.append({int(done.size()), item.text(), inner_.transform().map(position), item.font()});
        inner_.drawText(position, item.text()); // the item's font is set already
    }
    using QPaintEngine::drawEllipse, QPaintEngine::drawLines, QPaintEngine::drawPoints, QPaintEngine::drawPolygon, QPaintEngine::drawRects;

    // Keeps the painter's state for the blank page after.
    void startNewPage()
    {
        done.append(current_.copy());
        inner_.save();
        inner_.resetTransform();
        inner_.setClipping(false);
        inner_.setOpacity(1.0);
        inner_.setCompositionMode(QPainter::CompositionMode_Source);
        inner_.fillRect(QRect(QPoint(0, 0), size_), Qt::white);
        inner_.restore();
    }

    QList<QImage> done;
    QList<DrawnText> texts;
    QImage current_{size_, QImage::Format_ARGB32_Premultiplied};

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmWidthMM: return qRound(size_.width() * 25.4 / dpi_);
        case PdmHeightMM: return qRound(size_.height() * 25.4 / dpi_);
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return dpi_;
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        default: return QPaintDevice::metric(metric);
        }
    }

private:
    QPainter inner_;
};

RecordingPrinter::RecordingPrinter(Setup setup) : setup_(setup) {}

RecordingPrinter::~RecordingPrinter() = default; // painter_ ends before its page goes

QPainter *RecordingPrinter::begin(const QString &documentName)
{
    documentName_ = documentName;
    if (whileChoosing_)
        whileChoosing_();
    errorText_ = refusal_.value_or(QStringLiteral("A document is already being printed"));
    if (refusal_ || painter_.isActive())
        return nullptr;
    errorText_.clear();
    ended_ = aborted_ = false;
    device_ = std::make_unique<RecordingPage>(setup_.pagePixels, setup_.dotsPerInch);
    return painter_.begin(device_.get()) ? &painter_ : nullptr;
}

bool RecordingPrinter::newPage()
{
    if (failing_ || !painter_.isActive())
        return false;
    device_->startNewPage();
    return true;
}

QList<QImage> RecordingPrinter::pages() const { return device_ ? device_->done + QList<QImage>{device_->current_} : QList<QImage>{}; }

const QList<DrawnText> &RecordingPrinter::texts() const
{
    static const QList<DrawnText> none;
    return device_ ? device_->texts : none;
}

QStringList RecordingPrinter::pageTexts(int page) const
{
    QStringList result;
    for (const DrawnText &t : texts())
        if (page < 0 || t.page == page)
            result.append(t.text);
    return result;
}

} // namespace testsupport
