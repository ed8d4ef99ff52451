#include "graphs/storedgraphtrace.h"

#include "recording/recordlistmodel.h"

#include <algorithm>
#include <cmath>

namespace graphs {

namespace {

// The records of one pixel column, as the outline drawn for them.
struct ColumnSpan
{
    QPointF first, last;
    double low = 0, high = 0; // lowest and highest y
    qint64 count = 0;
};

// Collects the points of one pixel column and writes its outline: the
// first point, the lowest and highest level at the first point's x, the
// last point.
class ColumnReducer
{
public:
    explicit ColumnReducer(QPolygonF &out) : out_(out) {}

    void add(double column, const ColumnSpan &span)
    {
        if (current_.count > 0 && column != column_)
            flush();
        if (current_.count == 0) {
            column_ = column;
            current_ = span;
            return;
        }
        current_.low = std::min(current_.low, span.low);
        current_.high = std::max(current_.high, span.high);
        current_.last = span.last;
        current_.count += span.count;
    }

    void add(double column, QPointF point) { add(column, {point, point, point.y(), point.y(), 1}); }

    void flush()
    {
        if (current_.count == 0)
            return;
        push(current_.first);
        if (current_.count > 1) {
            push({current_.first.x(), current_.low});
            push({current_.first.x(), current_.high});
            push(current_.last);
        }
        current_.count = 0;
    }

private:
    void push(QPointF point)
    {
        if (out_.isEmpty() || out_.constLast() != point)
            out_.append(point);
    }

    QPolygonF &out_;
    double column_ = 0;
    ColumnSpan current_;
};

// Where records fall on the time axis and into pixel columns.
struct TimeAxis
{
    qint64 first;
    double dx;
    double pixelsPerTwip;
    double x(qint64 row) const { return timeAxisStart + double(row - first) * dx; }
    double column(qint64 row) const { return std::floor(x(row) * pixelsPerTwip); }

    // The last row of from..to in the pixel column of `from` (columns
    // never go back as rows go on).
    qint64 lastInColumn(qint64 from, qint64 to) const
    {
        const double wanted = column(from);
        qint64 low = from, high = to;
        while (low < high) {
            const qint64 mid = low + (high - low + 1) / 2;
            if (column(mid) <= wanted)
                low = mid;
            else
                high = mid - 1;
        }
        return low;
    }
};

} // namespace

QPolygonF storedGraphTrace(const recording::RecordListModel &list, const TraceRequest &request,
                           double pixelsPerTwip)
{
    QPolygonF trace;
    if (request.first > request.last || !(request.count >= 2)
        || !(request.scale.maximum > request.scale.minimum) || !(pixelsPerTwip > 0))
        return trace;

    // A count below the rows plotted (a span from the caption row counts
    // one less) would run the last records past the end of the axis.
    const double spacing = std::max(request.count, double(request.last - request.first + 1));
    const TimeAxis axis{request.first, (timeAxisEnd - timeAxisStart) / (spacing - 1), pixelsPerTwip};
    const recording::RowValuer valuer = rowValuer(request.match);
    const auto level = [&](double key) { return keyLevel(key, request.scale); };
    const auto pointOf = [&](qint64 row) {
        return QPointF(axis.x(row), level(list.rowKey(row, valuer)));
    };
    ColumnReducer reducer(trace);

    // Per pixel column only its first and last record are read; the
    // extremes between come from the list's min/max pyramid, so a redraw
    // costs the width of the picture, not the number of records.
    const qint64 lastHeld = std::min<qint64>(request.last, list.recordCount());
    for (qint64 row = request.first; row <= lastHeld;) {
        const qint64 end = axis.lastInColumn(row, lastHeld);
        ColumnSpan span{pointOf(row), {}, 0, 0, end - row + 1};
        span.last = end == row ? span.first : pointOf(end);
        const recording::KeySpan keys = list.keySpan(row, end, valuer);
        span.low = level(keys.high);
        span.high = level(keys.low);
        reducer.add(axis.column(row), span);
        row = end + 1;
    }
    // Rows beyond the list all read as empty cells: one level, a straight
    // line from the first of them to the last.
    const qint64 firstMissing = std::max(lastHeld + 1, request.first);
    if (firstMissing <= request.last) {
        const double y = recordLevel({}, {}, request.scale, request.match);
        for (const qint64 row : {firstMissing, request.last})
            reducer.add(axis.column(row), QPointF(axis.x(row), y));
    }
    reducer.flush();
    return trace;
}

} // namespace graphs
