#pragma once

// The set directory, the reply to "I": 12 bytes per recorded set, sets in
// order 1, 2, ...
//
//  bytes | content
//  ------+-------------------------------------------------------------
//   1-6  | start of the set, a clock value (see meterclock.h)
//   7-10 | not used
//  11-12 | number of records in the set, unsigned 16-bit, high byte first

#include "logger/meterclock.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace logger {

constexpr int directoryEntryBytes = 12;

struct DirectoryEntry
{
    MeterClock start;
    int records = 0;
};

// Entry `setNumber` (from 1) of a directory; nothing when the directory
// does not hold that entry whole.
std::optional<DirectoryEntry> directoryEntry(const QByteArray &directory, int setNumber);

// Whole entries in `bytes` bytes of directory.
constexpr qint64 wholeEntries(qint64 bytes)
{
    return bytes / directoryEntryBytes;
}

// The set list rows for sets 1..setCount: the set number, a tab, and its
// start as "yy-mm-dd----hh:mm:ss". Only entries the directory holds whole
// are listed.
QStringList directoryRows(const QByteArray &directory, int setCount);

// " SETS COMPLETED" progress: whole entries received so far.
QString setsCompletedText(qint64 bytesReceived);

} // namespace logger
