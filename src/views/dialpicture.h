#pragma once

#include "views/dial.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace views {

// Colours and font of the dial.
struct DialLook
{
    QFont font;                // scale numbers
    QColor text = Qt::black;   // scale arc and scale numbers
};

// The face of the dial: pale yellow.
QColor dialFaceColor();

// The dial's picture, kept in an image the window shows. A redraw paints
// the face, the scale arc, the ticks and the scale numbers; each needle
// first wipes the previous one with a yellow sector (palette 14) inside
// the arc, then draws itself in black.
class DialPicture
{
public:
    void redraw(QSize client, const QString &rangeText, const DialLook &look);
    // Wipes the old needle and draws a new one in the given direction
    // (no needle for nothing). Does nothing before the first redraw.
    void drawNeedle(std::optional<double> degrees);

    const QImage &image() const { return image_; }
    const DialFrame &frame() const { return frame_; }

private:
    QImage image_;
    DialFrame frame_;
};

} // namespace views
