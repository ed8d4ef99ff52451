#pragma once

#include <QByteArray>
#include <QString>

namespace recording {

class RecordListModel;

// What reading a data file gave.
struct ReadOutcome
{
    qsizetype rowsAdded = 0;
    bool complete = false; // false: the file could not be opened or read to its end
    QString errorText;     // the reason when not complete
};

// The bytes of a file, read to its end. On a failure part way, the bytes up
// to the last line end before the failure are kept (a line cut short is
// dropped) and `outcome` says why it stopped.
QByteArray readDataFileText(const QString &fileName, ReadOutcome &outcome);

// OPEN FILE's reading: appends every item of the file as a new last row of
// g1 (its tab-separated pieces fill the row's cells from column 0). On a
// failure the rows of the complete lines read so far stay; the file is
// always closed. No message: the caller decides.
ReadOutcome filelistu(RecordListModel &g1, const QString &ListFileName);

// True when the file can be opened for reading (it is opened and closed
// again); `reason` tells why not.
bool canOpenForReading(const QString &fileName, QString *reason = nullptr);

} // namespace recording
