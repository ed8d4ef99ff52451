#pragma once

#include "common/sharedvalues.h"
#include "recording/memoryselection.h"
#include "recording/rangecheck.h"

#include <QString>

#include <optional>

// The selection of the downloaded-record graph: what GRAPH of the record
// list and the apply of its range window put into the shared rec* values
// (and into scaleMax, the graph's maximum).

namespace recording {
class RecordListModel;
}

namespace reclist {

// GRAPH: recCount = recTotal, but never more than the list's rows (a list
// can hold fewer: the last set while the meter flags its value, or another
// set chosen since). With fewer than 2 the "Only 1 Record !" warning is
// returned and nothing else changes. Otherwise the three time texts come
// from records 1, nearest(recCount / 2) and recCount; recMin = 0,
// recFirst = 1, recLast = recCount; and the graph starts from the full
// scale of the listed set: the largest full scale among the function and
// range texts of its records (as the download found it), or else the full
// scale of record 1's unit (as the opened-file graph takes it), or else the
// previous limit. recScaleLimit and scaleMax take it, recScaleHalf and
// scaleHalf its half. Every GRAPH so starts afresh, whatever an earlier
// zoom left in scaleMax.
std::optional<recording::Notice> prepareRecGraph(const recording::RecordListModel &list,
                                                 common::SharedValues &shared);

// The range window's boxes when it is made: recFirst, recLast, recMin and
// scaleMax as decimal texts.
recording::RangeBoxes recRangeBoxes(const common::SharedValues &shared);

// LIMIT: the boxes the window holds with the last record set to recLast
// and the maximum to the graph's top value label.
recording::RangeBoxes limitBoxes(recording::RangeBoxes held, const common::SharedValues &shared,
                                 const QString &topValueLabel);

// Apply: the boxes' leading numbers are checked against recTotal,
// recScaleLimit and the rows the list holds (recording::checkRange). A
// refusal returns its message and changes nothing, so a typo neither
// empties the graph nor moves the limit. When they pass: recFirst,
// recLast, recMin, scaleMax (the graph's top) and recCount take them, and
// the three time texts come from rows recFirst, the middle row and recLast.
std::optional<recording::Notice> applyRecRange(const recording::RangeBoxes &boxes,
                                               const recording::RecordListModel &list,
                                               common::SharedValues &shared);

} // namespace reclist
