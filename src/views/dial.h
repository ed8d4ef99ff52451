#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>

#include <array>
#include <optional>

// Arithmetic of the centre-zero dial. Dial coordinates: x runs from -W/2 at
// the left edge of the client area to W/2 at the right edge, y from 1.2 H at
// the top edge down to 0.2 H at the bottom edge (y grows upwards), so the
// pivot (0, 0) lies 0.2 H below the bottom edge. One dial unit is one pixel.
// Angles are in degrees, counterclockwise from the positive x axis.

namespace views {

inline constexpr double arcFromDegrees = 34.2;  // 0.19 pi
inline constexpr double arcToDegrees = 145.8;   // 0.81 pi
inline constexpr double needleMinDegrees = 35;  // "OL" and readings beyond +full scale
inline constexpr double needleMaxDegrees = 145; // "-OL" and readings beyond -full scale
inline constexpr double needleLength = 0.96;    // of the radius
inline constexpr double eraseRadius = 0.98;     // of the radius: the sector wiped before a needle
inline constexpr double scaleNumberRadius = 1.16;

class DialFrame
{
public:
    explicit DialFrame(QSizeF client = {}) : client_(client) {}

    QSizeF client() const { return client_; }
    // R: half the client width.
    double radius() const { return client_.width() / 2; }
    // Pixel position of a point in dial coordinates.
    QPointF toPixel(QPointF dial) const;
    // Pixel of the point at factor x R in a direction.
    QPointF polar(double factor, double degrees) const;
    // Pixel of the pivot (0, 0).
    QPointF pivot() const { return toPixel({0, 0}); }

private:
    QSizeF client_;
};

// The 41 ticks, 36 to 144 degrees in steps of 2.7: from R out to 1.08 R at
// every 10th, 1.06 R at every other 5th, 1.03 R otherwise.
struct DialTick
{
    double degrees = 0;
    double outerFactor = 0;
};
std::array<DialTick, 41> dialTicks();

// The five scale numbers of a range: "0" straight up, +-r/2 at 63 and 117
// degrees, +-r at 39.6 and 140.4 degrees, r being the range text's leading
// number. Numbers of 0 and more carry a leading blank (" 2.5", "-2.5").
struct ScaleNumber
{
    QString text;
    double degrees = 0;
    double shift = 0; // added to the left edge ("0" sits one unit to the right)
};
std::array<ScaleNumber, 5> scaleNumbers(const QString &rangeText);

// Top-left pixel of a scale number of the given width: its left edge at
// x - width / 2, its top at y, (x, y) being 1.16 R in its direction.
QPointF scaleNumberTopLeft(const DialFrame &frame, const ScaleNumber &number, double textWidth);

// The needle's direction for the reading text (Text1) on a range: 35 for
// "OL", 145 for "-OL", else 90 - 54 v / r clamped to 35 .. 145. Nothing
// when the range has no leading number (no needle).
std::optional<double> needleAngle(const QString &readingText, const QString &rangeText);

} // namespace views
