#include "views/dialpicture.h"

#include "common/palette.h"

#include <QPainter>

#include <cmath>

namespace views {

namespace {

QColor palette(int index)
{
    const common::Rgb rgb = common::paletteColor(index);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

constexpr int black = 0;
constexpr int yellow = 14; // the fill colour of closed shapes

// The square around the circle of factor x R about the pivot.
QRectF circleBox(const DialFrame &frame, double factor)
{
    const double r = factor * frame.radius();
    const QPointF c = frame.pivot();
    return QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r);
}

int sixteenths(double degrees)
{
    return static_cast<int>(std::lround(degrees * 16));
}

void drawScale(QPainter &painter, const DialFrame &frame, const QString &rangeText,
               const DialLook &look)
{
    painter.setPen(QPen(look.text, 2));
    painter.drawArc(circleBox(frame, 1.0), sixteenths(arcFromDegrees),
                    sixteenths(arcToDegrees - arcFromDegrees));

    painter.setPen(QPen(palette(black), 1));
    for (const DialTick &tick : dialTicks())
        painter.drawLine(frame.polar(1.0, tick.degrees), frame.polar(tick.outerFactor, tick.degrees));

    painter.setFont(look.font);
    painter.setPen(look.text);
    const QFontMetricsF metrics = painter.fontMetrics();
    for (const ScaleNumber &number : scaleNumbers(rangeText)) {
        const QPointF topLeft =
            scaleNumberTopLeft(frame, number, metrics.horizontalAdvance(number.text));
        painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), number.text);
    }
}

} // namespace

QColor dialFaceColor()
{
    return QColor(255, 255, 128);
}

void DialPicture::redraw(QSize client, const QString &rangeText, const DialLook &look)
{
    frame_ = DialFrame(QSizeF(client));
    if (image_.size() != client)
        image_ = QImage(client, QImage::Format_RGB32);
    if (image_.isNull())
        return;
    image_.fill(dialFaceColor());
    QPainter painter(&image_);
    drawScale(painter, frame_, rangeText, look);
}

void DialPicture::drawNeedle(std::optional<double> degrees)
{
    if (image_.isNull())
        return;
    QPainter painter(&image_);
    painter.setPen(QPen(palette(yellow), 1));
    painter.setBrush(palette(yellow));
    painter.drawPie(circleBox(frame_, eraseRadius), sixteenths(arcFromDegrees),
                    sixteenths(arcToDegrees - arcFromDegrees));
    if (!degrees)
        return;
    painter.setPen(QPen(palette(black), 1));
    painter.drawLine(frame_.polar(needleLength, *degrees), frame_.pivot());
}

} // namespace views
