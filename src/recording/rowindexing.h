#pragma once

#include "recording/datafileitems.h"
#include "recording/minmaxpyramid.h"
#include "recording/rowstarts.h"

#include <QByteArrayView>

#include <functional>

// Finding the rows of a big text on every core: the text is cut into
// chunks just after line ends (no item reaches over one), each chunk is
// split on its own, and the chunks' rows are joined in order.

namespace recording {

// The key a graph orders rows by, from a row's cells (see RecordListModel).
using RowValuer = double (*)(const RowCells &cells);

struct RowIndexing
{
    qsizetype chunkBytes = 4 * 1024 * 1024; // a text no longer is split on this thread
    qsizetype rowLimit = 0;                  // stop after this many rows (0: none)
    RowValuer valuer = nullptr;              // when set, each row's key goes to `keys`
    // Told, on the calling thread, how many rows were just joined, after each
    // chunk's rows are in `starts` (and `keys`): a list shows them while
    // later chunks are still being read.
    std::function<void(qsizetype rows)> joined;
};

// Appends the begin of every item of `text` to `starts` and, with a valuer,
// each item's key to `keys`. Returns how many rows were added.
qsizetype indexRows(QByteArrayView text, const RowIndexing &how, RowStarts &starts,
                    MinMaxPyramid *keys);

} // namespace recording
