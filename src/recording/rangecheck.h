#pragma once

#include "platform/dialogs.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// The checks of a graph's range selection (the opened-file range window and
// its twin for downloaded records), with the messages they answer.

namespace recording {

// A message box to show instead of going on.
struct Notice
{
    QString text;
    QString title;
    platform::MessageIcon icon = platform::MessageIcon::None;
    friend bool operator==(const Notice &, const Notice &) = default;
};

// "Only 1 Record !" with the title "Warning".
Notice onlyOneRecordNotice();

// The four numbers of a selection, read from their boxes.
struct RangeRequest
{
    double first = 0;   // TXTT1
    double last = 0;    // TXTT2
    double minimum = 0; // TXTR1
    double maximum = 0; // TXTR2
};

struct RangeBounds
{
    double total = 0;      // records when GRAPH was chosen
    double scaleLimit = 0; // highest allowed maximum
    qint64 rows = 0;       // data rows the list holds now
};

// Records plotted: last - first + 1, one less when first is 0.
double rangeCount(double first, double last);

// Nothing when the selection can be plotted; otherwise the message:
// "Input No.s must be >=0, please try again !" when a number is below 0,
// " Invalid No.s,  please try again !" when the maximum exceeds the limit,
// the count exceeds the total, first is not below last, or the minimum is
// not below the maximum. The second message also refuses selections that
// would read rows the list does not have: a last record beyond the last
// row, and record numbers that are not whole.
std::optional<Notice> checkRange(const RangeRequest &request, const RangeBounds &bounds);

// The middle row of a span: (first + last) / 2 to the nearest integer, a
// half to the even one.
qint64 middleRow(double first, double last);

} // namespace recording
