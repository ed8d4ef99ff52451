#pragma once

#include "recording/recordlistmodel.h"

#include <QString>

#include <array>

class QTableView;

namespace recording {

using WidthSamples = std::array<QString, RecordListModel::ColumnCount>;

// The opened-file list's width samples: "86400", "00/99/00", "23:21:20",
// "-371.84", "Frequency", " 50M Ohm ", "A/D ", " LOW ".
WidthSamples memoryListWidthSamples();

// Sets up the grid of a record list window: the model's captions as the
// fixed caption row, each column as wide as its sample text in the grid's
// font (plus the cell's own margins), rows one text line high, no row
// numbers. Safe for lists of millions of rows (nothing is measured per row).
void setUpRecordGrid(QTableView &grid, const WidthSamples &samples);

} // namespace recording
