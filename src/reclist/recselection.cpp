#include "reclist/recselection.h"

#include "common/datarecord.h"
#include "common/functionrangetable.h"
#include "common/numbers.h"
#include "recording/recordlistmodel.h"

#include <algorithm>
#include <vector>

namespace reclist {

namespace {

QString timeOfRow(const recording::RecordListModel &list, qint64 row)
{
    return list.cell(row, common::DataRecord::Time);
}

// The distinct rows of the meter's function/range table.
const std::vector<common::FunctionRange> &functionRanges()
{
    static const std::vector<common::FunctionRange> rows = [] {
        std::vector<common::FunctionRange> distinct;
        for (int code = 0; code <= 0xFF; ++code) {
            const auto row = common::lookupFunctionRange(static_cast<unsigned char>(code));
            if (row && (distinct.empty() || distinct.back().rangeText != row->rangeText
                        || distinct.back().functionText != row->functionText))
                distinct.push_back(*row);
        }
        return distinct;
    }();
    return rows;
}

// The full scale of a listed unit and range.
std::optional<double> fullScaleOfRange(QLatin1StringView unit, QLatin1StringView range)
{
    for (const common::FunctionRange &row : functionRanges())
        if (row.functionText == unit && row.rangeText == range)
            return row.fullScale;
    return std::nullopt;
}

// The largest full scale among the ranges the set was recorded in: what
// the download met while decoding it. Nothing when no range is listed.
std::optional<double> setFullScale(const recording::RecordListModel &list)
{
    std::optional<double> highest;
    QLatin1StringView unit, range;
    std::optional<double> scale;
    for (qint64 row = 1; row <= list.recordCount(); ++row) {
        const QLatin1StringView rowUnit = list.cellView(row, common::DataRecord::Unit);
        const QLatin1StringView rowRange = list.cellView(row, common::DataRecord::Range);
        if (row == 1 || rowUnit != unit || rowRange != range) {
            unit = rowUnit;
            range = rowRange;
            scale = fullScaleOfRange(unit, range);
        }
        if (scale && (!highest || *scale > *highest))
            highest = scale;
    }
    return highest;
}

} // namespace

std::optional<recording::Notice> prepareRecGraph(const recording::RecordListModel &list,
                                                 common::SharedValues &shared)
{
    shared.recCount = std::min(shared.recTotal, double(list.recordCount()));
    if (shared.recCount < 2)
        return recording::onlyOneRecordNotice();
    const qint64 count = common::roundHalfEven(shared.recCount);
    shared.recTimeFirst = timeOfRow(list, 1);
    shared.recTimeMid = timeOfRow(list, common::roundHalfEven(shared.recCount / 2));
    shared.recTimeLast = timeOfRow(list, count);
    // scaleMax is also what the last apply zoomed to: the limit must not
    // come from it, or one zoom would stick for good.
    if (const auto full = setFullScale(list))
        shared.recScaleLimit = *full;
    else if (const auto unitScale = recording::fullScaleForUnit(list.cell(1, common::DataRecord::Unit)))
        shared.recScaleLimit = *unitScale;
    shared.recScaleHalf = shared.recScaleLimit / 2;
    shared.scaleMax = shared.recScaleLimit;
    shared.scaleHalf = shared.recScaleHalf;
    shared.recMin = 0;
    shared.recFirst = 1;
    shared.recLast = shared.recCount;
    return std::nullopt;
}

recording::RangeBoxes recRangeBoxes(const common::SharedValues &shared)
{
    return {common::numberText(shared.recFirst), common::numberText(shared.recLast),
            common::numberText(shared.recMin), common::numberText(shared.scaleMax)};
}

recording::RangeBoxes limitBoxes(recording::RangeBoxes held, const common::SharedValues &shared,
                                 const QString &topValueLabel)
{
    held.last = common::numberText(shared.recLast);
    held.maximum = topValueLabel;
    return held;
}

std::optional<recording::Notice> applyRecRange(const recording::RangeBoxes &boxes,
                                               const recording::RecordListModel &list,
                                               common::SharedValues &shared)
{
    const recording::RangeRequest request = recording::rangeRequest(boxes);
    const recording::RangeBounds bounds{shared.recTotal, shared.recScaleLimit, list.recordCount()};
    if (auto refusal = recording::checkRange(request, bounds))
        return refusal;

    shared.recFirst = request.first;
    shared.recLast = request.last;
    shared.recMin = request.minimum;
    shared.scaleMax = request.maximum;
    shared.scaleHalf = request.maximum / 2;
    shared.recCount = recording::rangeCount(request.first, request.last);
    shared.recTimeFirst = timeOfRow(list, qint64(request.first));
    shared.recTimeMid = timeOfRow(list, recording::middleRow(request.first, request.last));
    shared.recTimeLast = timeOfRow(list, qint64(request.last));
    return std::nullopt;
}

} // namespace reclist
