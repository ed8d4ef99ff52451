#include "recording/memoryselection.h"

#include "common/datarecord.h"
#include "common/numbers.h"
#include "recording/recordlistmodel.h"

#include <array>

namespace recording {

namespace {

struct UnitScale
{
    const char16_t *unit;
    double fullScale;
};

constexpr std::array<UnitScale, 9> unitScales{{
    {u"mV", 500},
    {u"V", 1000},
    {u"Frequency", 10000000},
    {u"Ohm", 50000000},
    {u"Diode", 5},
    {u"Cx", 500000},
    {u"uA", 6000},
    {u"mA", 500},
    {u"A", 20},
}};

QString timeOfRow(const RecordListModel &list, qint64 row)
{
    return list.cell(row, common::DataRecord::Time);
}

} // namespace

std::optional<double> fullScaleForUnit(QStringView unit)
{
    for (const UnitScale &entry : unitScales)
        if (unit == QStringView(entry.unit))
            return entry.fullScale;
    return std::nullopt;
}

std::optional<Notice> prepareMemoryGraph(const RecordListModel &list, common::SharedValues &shared)
{
    shared.memTotal = list.recordCount();
    if (list.recordCount() < 2)
        return onlyOneRecordNotice();
    if (const auto limit = fullScaleForUnit(list.cell(1, common::DataRecord::Unit)))
        shared.memScaleLimit = *limit;
    const qint64 total = list.recordCount();
    shared.memTimeFirst = timeOfRow(list, 1);
    shared.memTimeMid = timeOfRow(list, common::roundHalfEven(double(total) / 2));
    shared.memTimeLast = timeOfRow(list, total);
    shared.memMax = shared.memScaleLimit;
    shared.memMin = 0;
    shared.memFirst = 1;
    shared.memLast = shared.memTotal;
    shared.memCount = shared.memTotal;
    return std::nullopt;
}

RangeBoxes memoryRangeBoxes(const common::SharedValues &shared)
{
    return {common::numberText(shared.memFirst), common::numberText(shared.memLast),
            common::numberText(shared.memMin), common::numberText(shared.memMax)};
}

RangeRequest rangeRequest(const RangeBoxes &boxes)
{
    return {common::leadingNumber(boxes.first), common::leadingNumber(boxes.last),
            common::leadingNumber(boxes.minimum), common::leadingNumber(boxes.maximum)};
}

std::optional<Notice> applyMemoryRange(const RangeBoxes &boxes, const RecordListModel &list,
                                       common::SharedValues &shared)
{
    const RangeRequest request = rangeRequest(boxes);
    const RangeBounds bounds{shared.memTotal, shared.memScaleLimit, list.recordCount()};
    if (auto refusal = checkRange(request, bounds))
        return refusal;

    shared.memMin = request.minimum;
    shared.memMax = request.maximum;
    shared.memFirst = request.first;
    shared.memLast = request.last;
    shared.memCount = rangeCount(request.first, request.last);
    shared.memTimeFirst = timeOfRow(list, qint64(request.first));
    shared.memTimeMid = timeOfRow(list, middleRow(request.first, request.last));
    shared.memTimeLast = timeOfRow(list, qint64(request.last));
    return std::nullopt;
}

} // namespace recording
