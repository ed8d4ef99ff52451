#pragma once

#include "recording/rowindexing.h"

#include <QString>

namespace recording {

class RecordListModel;

// What reading a data file gave.
struct ReadOutcome
{
    qsizetype rowsAdded = 0;
    bool complete = false; // false: the file could not be opened or read to its end
    bool tooLarge = false; // nothing read: the file is larger than can be shown
    QString errorText;     // the reason when not complete
};

// How OPEN FILE reads a file.
struct ReadOptions
{
    // Read the file into memory instead of mapping it: for the file being
    // recorded into, which the program itself writes under the list.
    bool copy = false;
    // The largest file shown, in bytes; below 0: the memory left.
    qint64 sizeLimit = -1;
    // Texts longer than this are split on every core.
    qsizetype chunkBytes = RowIndexing{}.chunkBytes;
};

// OPEN FILE's reading: appends every item of the file as a new last row of
// g1 (its tab-separated pieces fill the row's cells from column 0). The file
// is mapped, not read in, and the list keeps the map: only the start of each
// row is kept. A file larger than the limit adds nothing and says its size.
// On a failure the rows of the complete lines read so far stay. No message:
// the caller decides.
ReadOutcome filelistu(RecordListModel &g1, const QString &ListFileName, const ReadOptions &options = {});

// True when the file can be opened for reading (it is opened and closed
// again); `reason` tells why not.
bool canOpenForReading(const QString &fileName, QString *reason = nullptr);

// The memory the system can still give, in bytes (its own estimate).
qint64 memoryLeft();

// A size for a message: "512 bytes", "47.7 MB", "100.0 GB".
QString sizeText(qint64 bytes);

} // namespace recording
