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
// from records 1, nearest(recCount / 2) and recCount; recScaleLimit =
// scaleMax, recScaleHalf = scaleHalf, recMin = 0, recFirst = 1,
// recLast = recCount. scaleMax stays the graph's maximum.
std::optional<recording::Notice> prepareRecGraph(const recording::RecordListModel &list,
                                                 common::SharedValues &shared);

// The range window's boxes when it is made: recFirst, recLast, recMin and
// scaleMax as decimal texts.
recording::RangeBoxes recRangeBoxes(const common::SharedValues &shared);

// LIMIT: the boxes the window holds with the last record set to recLast
// and the maximum to the graph's top value label.
recording::RangeBoxes limitBoxes(recording::RangeBoxes held, const common::SharedValues &shared,
                                 const QString &topValueLabel);

// Apply: recFirst, recLast, recMin and scaleMax from the boxes' leading
// numbers, recCount from first and last (they stay even when refused);
// checked against recTotal, recScaleLimit and the rows the list holds
// (recording::checkRange); when they pass, the three time texts from rows
// recFirst, the middle row and recLast. Returns the message of a refusal.
std::optional<recording::Notice> applyRecRange(const recording::RangeBoxes &boxes,
                                               const recording::RecordListModel &list,
                                               common::SharedValues &shared);

} // namespace reclist
