#include "reclist/recselection.h"

#include "common/datarecord.h"
#include "common/numbers.h"
#include "recording/recordlistmodel.h"

#include <algorithm>

namespace reclist {

namespace {

QString timeOfRow(const recording::RecordListModel &list, qint64 row)
{
    return list.cell(row, common::DataRecord::Time);
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
    shared.recScaleLimit = shared.scaleMax;
    shared.recScaleHalf = shared.scaleHalf;
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
    shared.recFirst = common::leadingNumber(boxes.first);
    shared.recLast = common::leadingNumber(boxes.last);
    shared.recMin = common::leadingNumber(boxes.minimum);
    shared.scaleMax = common::leadingNumber(boxes.maximum);
    shared.recCount = recording::rangeCount(shared.recFirst, shared.recLast);

    const recording::RangeRequest request{shared.recFirst, shared.recLast, shared.recMin,
                                          shared.scaleMax};
    const recording::RangeBounds bounds{shared.recTotal, shared.recScaleLimit, list.recordCount()};
    if (auto refusal = recording::checkRange(request, bounds))
        return refusal;

    shared.recTimeFirst = timeOfRow(list, qint64(shared.recFirst));
    shared.recTimeMid = timeOfRow(list, recording::middleRow(shared.recFirst, shared.recLast));
    shared.recTimeLast = timeOfRow(list, qint64(shared.recLast));
    return std::nullopt;
}

} // namespace reclist
