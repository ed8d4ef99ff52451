#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QPaintDevice>
#include <QPointF>
#include <QString>

#include <memory>

namespace testsupport {

// One piece of text drawn on a page, as the painter handed it over.
struct DrawnText
{
    int page = 0;          // 0-based
    QString text;
    QPointF position;      // baseline start, in page pixels
    QFont font;
};

class RecordingEngine;

// A paint device of fixed size and resolution that paints into an image
// page by page and records every text item drawn on it. It lets tests see
// both what a printout looks like and which texts it holds.
class RecordingPage : public QPaintDevice
{
public:
    RecordingPage(QSize sizePixels, int dotsPerInch);
    ~RecordingPage() override;

    QPaintEngine *paintEngine() const override;

    // Closes the current page and starts a blank one; may be called while
    // a painter is active (the painter keeps its state).
    void startNewPage();

    // Pages finished so far plus the current one.
    QList<QImage> pages() const;
    const QList<DrawnText> &texts() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize size_;
    int dpi_;
    std::unique_ptr<RecordingEngine> engine_;
};

} // namespace testsupport
