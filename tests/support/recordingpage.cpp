#include "support/recordingpage.h"

#include "support/recordingengine.h"

#include <cmath>

namespace testsupport {

RecordingPage::RecordingPage(QSize sizePixels, int dotsPerInch)
    : size_(sizePixels), dpi_(dotsPerInch),
      engine_(std::make_unique<RecordingEngine>(sizePixels, dotsPerInch))
{
}

RecordingPage::~RecordingPage() = default;

QPaintEngine *RecordingPage::paintEngine() const
{
    return engine_.get();
}

void RecordingPage::startNewPage()
{
    engine_->startNewPage();
}

QList<QImage> RecordingPage::pages() const
{
    return engine_->pages();
}

const QList<DrawnText> &RecordingPage::texts() const
{
    return engine_->texts();
}

int RecordingPage::metric(PaintDeviceMetric metric) const
{
    const auto millimetres = [this](int pixels) {
        return static_cast<int>(std::lround(pixels * 25.4 / dpi_));
    };
    switch (metric) {
    case PdmWidth:
        return size_.width();
    case PdmHeight:
        return size_.height();
    case PdmWidthMM:
        return millimetres(size_.width());
    case PdmHeightMM:
        return millimetres(size_.height());
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return dpi_;
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDepth:
        return 32;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}

} // namespace testsupport
