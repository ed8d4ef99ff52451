#pragma once

#include "graphs/storedgraphdesign.h"
#include "recording/rowindexing.h"

#include <QLatin1StringView>
#include <QStringView>
#include <QtGlobal>

// Where a stored record lands on the value axis of a stored-data graph.
//
// The axis runs from y = 1000 twips (maximum) through 4000 (centre line,
// the minimum) to 7000 (minus the maximum). Positive values fill the upper
// half from the minimum up, negative values the lower half from minus the
// minimum down, so +v and -v are mirrored about the centre line.

namespace graphs {

constexpr double topLine = 1000;
constexpr double centreLine = 4000;
constexpr double bottomLine = 7000;
constexpr double aboveTop = 900;     // overload, and values above the maximum
constexpr double belowBottom = 7100; // negative overload, values below -maximum

// The number that turns a value shown in a range into the unit of that
// range's full scale ("5K Ohm" 1000, "5M Hz" 1000000, "5 V" 1; 0 for a text
// the table lacks). Exact: the whole text must equal a table text.
// Containment: the first table text, in table order, found inside the text.
qint32 rangefactor(QLatin1StringView range, RangeMatch match);
qint32 rangefactor(QStringView range, RangeMatch match);

// The value window: the minimum sits on the centre line, the maximum on the
// top line. Levels need maximum > minimum (the range windows refuse
// anything else); without it every record sits on the centre line.
struct LevelScale
{
    double minimum = 0; // c
    double maximum = 0; // M
};

// A range text looked up in the range factor table: its factor as a power
// of ten, or not listed (factor 0).
struct RangeScale
{
    bool listed = false;
    int powerOfTen = 0;
};
RangeScale rangeScale(QLatin1StringView range, RangeMatch match);

// The level (y in twips) of a record from its value cell and range cell:
// "-OL" anywhere in the value 7100, else "OL" 900; otherwise v = leading
// number x range factor, exactly, and
//   v >= 0: y = 4000 - 3000 (v - c) / (M - c), at most 4000, 900 above the top
//   v <  0: y = 4000 - 3000 (v + c) / (M - c), at least 4000, 7100 below the bottom
double recordLevel(QLatin1StringView value, QLatin1StringView range, const LevelScale &scale,
                   RangeMatch match);
// The same with the range already looked up.
double valueLevel(QLatin1StringView value, RangeScale range, const LevelScale &scale);

// A level is keyLevel(valueKey(value, range)): the key is v, or minus
// infinity for "-OL" and infinity for "OL", and the level never rises as
// the key grows. So the highest level of some records is that of their
// lowest key and the lowest that of their highest key, whatever the scale.
double valueKey(QLatin1StringView value, RangeScale range);
double keyLevel(double key, const LevelScale &scale);

// The key of a list row (its value and range cells), for the list's
// min/max pyramid.
double exactRowKey(const recording::RowCells &cells);
double containedRowKey(const recording::RowCells &cells);
recording::RowValuer rowValuer(RangeMatch match);

} // namespace graphs
