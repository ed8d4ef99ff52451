#pragma once

#include <QSize>
#include <QString>

#include <functional>

class QPainter;

// SAVE IMAGE of the graph windows: the picture the window shows, painted
// again by the window's own routine into a PNG (twice the window's size),
// an SVG or a PDF page, chosen by the file name's suffix.

namespace graphs {

enum class ImageFormat { Png, Svg, Pdf };

// ".svg" and ".pdf" (any case) are those; every other name is PNG.
ImageFormat imageFormatFor(const QString &fileName);

// Paints the picture with `scale` device units to a window pixel.
using PicturePainter = std::function<void(QPainter &painter, double scale)>;

struct ImageSaveResult
{
    bool ok = false;
    QString errorText; // "cannot write to FILE: reason" when not ok
};

// Writes the picture of a window `size` pixels large to `fileName`, all or
// nothing.
ImageSaveResult saveGraphImage(const QString &fileName, QSize size, const PicturePainter &paint);

// The filter of the save dialog.
QString imageFileFilter();

} // namespace graphs
