#include "graphs/storedgraphtrace.h"

#include "common/datarecord.h"
#include "recording/recordlistmodel.h"

#include <algorithm>
#include <cmath>

namespace graphs {

namespace {

// Collects the points of one pixel column and writes its outline.
class ColumnReducer
{
public:
    explicit ColumnReducer(QPolygonF &out) : out_(out) {}

    void add(double column, QPointF point)
    {
        if (count_ > 0 && column != column_)
            flush();
        if (count_ == 0) {
            column_ = column;
            first_ = point;
            low_ = high_ = point.y();
        }
        low_ = std::min(low_, point.y());
        high_ = std::max(high_, point.y());
        last_ = point;
        ++count_;
    }

    void flush()
    {
        if (count_ == 0)
            return;
        push(first_);
        if (count_ > 1) {
            push({first_.x(), low_});
            push({first_.x(), high_});
            push(last_);
        }
        count_ = 0;
    }

private:
    void push(QPointF point)
    {
        if (out_.isEmpty() || out_.constLast() != point)
            out_.append(point);
    }

    QPolygonF &out_;
    double column_ = 0;
    long long count_ = 0;
    QPointF first_, last_;
    double low_ = 0, high_ = 0;
};

} // namespace

QPolygonF storedGraphTrace(const recording::RecordListModel &list, const TraceRequest &request,
                           double pixelsPerTwip)
{
    QPolygonF trace;
    if (request.first > request.last || !(request.count >= 2)
        || !(request.scale.maximum > request.scale.minimum) || !(pixelsPerTwip > 0))
        return trace;

    const double dx = (timeAxisEnd - timeAxisStart) / (request.count - 1);
    const auto xOf = [&](qint64 row) { return timeAxisStart + double(row - request.first) * dx; };
    const auto columnOf = [&](double x) { return std::floor(x * pixelsPerTwip); };
    ColumnReducer reducer(trace);

    // Successive records nearly always share their range: look it up once.
    QLatin1StringView lastRange;
    RangeScale lastScale = rangeScale(lastRange, request.match);
    const qint64 lastHeld = std::min<qint64>(request.last, list.recordCount());
    for (qint64 row = request.first; row <= lastHeld; ++row) {
        const recording::RecordListModel::Cells cells = list.rowCells(row);
        const QLatin1StringView range = cells[common::DataRecord::Range];
        if (range != lastRange) {
            lastRange = range;
            lastScale = rangeScale(range, request.match);
        }
        const double y = valueLevel(cells[common::DataRecord::Value], lastScale, request.scale);
        const double x = xOf(row);
        reducer.add(columnOf(x), {x, y});
    }
    // Rows beyond the list all read as empty cells: one level, a straight
    // line from the first of them to the last.
    const qint64 firstMissing = std::max(lastHeld + 1, request.first);
    if (firstMissing <= request.last) {
        const double y = recordLevel({}, {}, request.scale, request.match);
        for (const qint64 row : {firstMissing, request.last}) {
            const double x = xOf(row);
            reducer.add(columnOf(x), {x, y});
        }
    }
    reducer.flush();
    return trace;
}

} // namespace graphs
