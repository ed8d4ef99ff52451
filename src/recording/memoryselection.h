#pragma once

#include "common/sharedvalues.h"
#include "recording/rangecheck.h"

#include <QString>
#include <QStringView>

#include <optional>

// The selection of the opened-file graph: what GRAPH of the opened-file list
// and the apply of its range window put into the shared mem* values.

namespace recording {

class RecordListModel;

// Full-scale value of a unit text, compared exactly: "mV" 500, "V" 1000,
// "Frequency" 10000000, "Ohm" 50000000, "Diode" 5, "Cx" 500000, "uA" 6000,
// "mA" 500, "A" 20; nothing for any other text.
std::optional<double> fullScaleForUnit(QStringView unit);

// GRAPH: memTotal = records; with fewer than 2 the "Only 1 Record !"
// warning is returned and nothing else changes. Otherwise memScaleLimit
// comes from record 1's unit (kept for an unlisted unit), the three time
// texts from records 1, nearest(memTotal / 2) and memTotal, memMax =
// memScaleLimit, memMin = 0, memFirst = 1, memLast = memCount = memTotal.
std::optional<Notice> prepareMemoryGraph(const RecordListModel &list, common::SharedValues &shared);

// The four boxes of the range window, as texts.
struct RangeBoxes
{
    QString first;   // TXTT1
    QString last;    // TXTT2
    QString minimum; // TXTR1
    QString maximum; // TXTR2
    friend bool operator==(const RangeBoxes &, const RangeBoxes &) = default;
};

// The boxes filled from memFirst, memLast, memMin, memMax (decimal texts).
RangeBoxes memoryRangeBoxes(const common::SharedValues &shared);

// The numbers at the start of the boxes' texts (0 where there is none).
RangeRequest rangeRequest(const RangeBoxes &boxes);

// Apply: checks the boxes' leading numbers (checkRange). A refusal returns
// its message and changes nothing, so the graph and LIMIT go on from the
// last selection that passed. When they pass: memMin, memMax, memFirst,
// memLast and memCount take them, and the three time texts come from rows
// memFirst, the middle row and memLast.
std::optional<Notice> applyMemoryRange(const RangeBoxes &boxes, const RecordListModel &list,
                                       common::SharedValues &shared);

} // namespace recording
