#pragma once

#include "graphs/storedgraphlevel.h"

#include <QPolygonF>
#include <QtGlobal>

namespace recording {
class RecordListModel;
}

namespace graphs {

constexpr double timeAxisStart = 1000; // x of the first plotted record
constexpr double timeAxisEnd = 5000;   // x of the last one, when the count matches

// Which records a trace joins.
struct TraceRequest
{
    qint64 first = 0;  // first grid row plotted (0 is the caption row)
    qint64 last = 0;   // last grid row plotted
    double count = 0;  // records plotted: the spacing is 4000 / (count - 1) twips,
                       // or by the rows first..last when they are more
    LevelScale scale;
    RangeMatch match = RangeMatch::Exact;
};

// The trace through rows first..last of the list: record i at
// x = 1000 + (i - first) * dx, y = its level (recordLevel of its value and
// range cells). Rows the list does not have read as empty cells.
//
// The polyline is reduced to what a device with `pixelsPerTwip` can show:
// the records falling into one pixel column become the first one, the
// lowest and highest level, and the last one, so the drawn picture is that
// of the full polyline however many records there are. The extremes come
// from the list's min/max pyramid: the cost grows with the columns, not
// with the records. No point lies outside x = 1000..5000, y = 900..7100.
//
// Empty when there is nothing to draw: first > last, a count below 2, or
// a maximum not above the minimum.
QPolygonF storedGraphTrace(const recording::RecordListModel &list, const TraceRequest &request,
                           double pixelsPerTwip);

} // namespace graphs
