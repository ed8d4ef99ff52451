#pragma once

// The emulated meter's data-logger memory. Usage:
//
//   emulator::LoggerContent content = emulator::LoggerContent::sample();
//   content.idCode = 4711;
//   content.sets.append({QDateTime(QDate(2024, 3, 1), QTime(8, 0, 0)), 10,
//                        {{0x80, 123450, emulator::status::Dc},
//                         {0x42, 12340, emulator::status::Dc | emulator::status::Negative}}});
//   port.emulator().setLogger(content);
//
// Times are taken field by field (year, month, day, hour, minute, second),
// whatever time zone the QDateTime carries; only the last two digits of
// the year reach the meter.

#include <QDateTime>
#include <QList>
#include <QtGlobal>

namespace emulator {

// One stored reading: 5 bytes in the memory.
struct LoggerRecord
{
    quint8 code = 0x80;   // function/range code
    quint32 digits = 0;   // six decimal digits 0..999999 (capacitance: five)
    quint8 status = 0;    // status bits (negative, low battery, overload, DC)
    // When true, `digits` is sent as the raw 24-bit value 0xAABBCC (to store
    // value bytes that are not BCD).
    bool rawValue = false;
};

// One recorded set: 12 header bytes plus its records in the memory.
struct LoggerSet
{
    QDateTime start;
    quint16 interval = 1; // seconds between records
    QList<LoggerRecord> records;
};

struct LoggerContent
{
    quint16 idCode = 1234;
    quint16 samplingTime = 2;   // seconds
    quint8 memorySizeCode = 2;  // 1..4 = 64K..256K; 0 or 5 to test a bad code
    QDateTime clock;            // the meter's clock when the content is loaded
    QList<LoggerSet> sets;

    // Bytes of memory in use, as the status block reports it: 12 for each
    // set's header plus 5 for each record.
    quint32 bytesInUse() const;

    // Four sets of different functions, lengths and intervals (one with a
    // negative value, an overload, a low battery and a continuity reading;
    // one starting 00-02-28 23:59:55 every 5 s, crossing into a leap day).
    static LoggerContent sample();
};

} // namespace emulator
