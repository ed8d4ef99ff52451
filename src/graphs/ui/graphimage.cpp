#include "graphs/ui/graphimage.h"

#include "recording/wholefile.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace graphs {

namespace {

constexpr double pngScale = 2.0;
constexpr int pdfDpi = 96; // a window pixel is a pixel of a 96 dpi screen on the page or drawing

// Paints into `device` through one painter; false when it cannot begin.
bool paintOn(QPaintDevice &device, double scale, const PicturePainter &paint)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    paint(painter, scale);
    return painter.end();
}

bool writeTo(QIODevice &file, ImageFormat format, QSize size, const PicturePainter &paint)
{
    switch (format) {
    case ImageFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setResolution(pdfDpi);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        return paintOn(svg, 1.0, paint);
    }
    case ImageFormat::Pdf: {
        QPdfWriter pdf(&file);
        pdf.setResolution(pdfDpi);
        pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / pdfDpi, QPageSize::Point));
        pdf.setPageMargins(QMarginsF());
        return paintOn(pdf, 1.0, paint);
    }
    case ImageFormat::Png:
        break;
    }
    QImage image(size * pngScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    return paintOn(image, pngScale, paint) && image.save(&file, "PNG");
}

} // namespace

ImageFormat imageFormatFor(const QString &fileName)
{
    if (fileName.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return ImageFormat::Svg;
    if (fileName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return ImageFormat::Pdf;
    return ImageFormat::Png;
}

ImageSaveResult saveGraphImage(const QString &fileName, QSize size, const PicturePainter &paint)
{
    ImageSaveResult result;
    if (size.isEmpty()) {
        result.errorText = QStringLiteral("cannot write to %1: the window has no picture").arg(fileName);
        return result;
    }
    result.ok = recording::writeWholeFile(
        fileName, [&](QIODevice &out) { return writeTo(out, imageFormatFor(fileName), size, paint); },
        &result.errorText);
    return result;
}

QString imageFileFilter()
{
    return QStringLiteral("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf);;All files (*)");
}

} // namespace graphs
