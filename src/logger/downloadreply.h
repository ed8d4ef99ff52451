#pragma once

// The reply to the set download "K": a 12-byte header, then 5 bytes per
// record (see storedrecord.h), record n (from 1) at offset 12 + 5 (n - 1).
//
//  header byte | content
//  ------------+-------------------------------------------------------
//      1-6     | start of the set: year, month, day, hour, minute,
//              |   second, packed BCD (see meterclock.h)
//      7-8     | not used
//      9-10    | interval between records in seconds, high byte first
//     11-12    | not used

#include "logger/meterclock.h"
#include "logger/storedrecord.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace logger {

constexpr int setHeaderBytes = 12;

struct SetHeader
{
    MeterClock start;
    int intervalSeconds = 0; // 0..65535
};

// The header at the start of a reply; nothing when it is not all there.
std::optional<SetHeader> setHeaderFrom(QByteArrayView reply);

// Length of the reply that holds `records` records.
constexpr qint64 downloadReplyBytes(qint64 records)
{
    return setHeaderBytes + storedRecordBytes * records;
}

// Whole records in a reply of `replyBytes` bytes (0 while the header is
// still incomplete).
constexpr qint64 recordsIn(qint64 replyBytes)
{
    return replyBytes < setHeaderBytes ? 0 : (replyBytes - setHeaderBytes) / storedRecordBytes;
}

// The bytes of record n (from 1). Precondition: 1 <= n <= recordsIn(size).
QByteArrayView recordAt(QByteArrayView reply, qint64 n);

// The download's progress: count, then " RECORDS COMPLETED".
QString recordsCompletedText(qint64 count);

// The record list's summary: count, "  RECORDS IN NO. ", set, "  SET".
QString downloadSummaryText(qint64 count, int setNumber);

// The message when the meter stopped sending before the set was complete.
QString incompleteDownloadText(qint64 received, qint64 expected);

} // namespace logger
