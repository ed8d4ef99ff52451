#pragma once

#include "common/datarecord.h"
#include "common/meterreading.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// Readings as other programs take them: CSV rows and JSON lines, shared by
// the command line, the list export and the MQTT publisher so that every
// way out writes the same text.
//
//   CSV   time,value,function,range,flags,display
//         2026-12-06T14:03:07.250+01:00,-1.234,V,5 V,DC Auto,-01.234
//   JSON  {"time":"...","value":-1.234,"function":"V","range":"5 V",
//          "flags":["DC","Auto"],"display":"-01.234"}
//
// `value` is the displayed number with its own digits (leading zeros
// dropped, never through binary floating point): empty in CSV and null in
// JSON when the meter shows overload. Lines end with LF.

namespace recording {

struct ExportedReading
{
    QString time;     // ISO 8601: live with milliseconds and UTC offset, stored without offset
    QString display;  // the value exactly as the panel shows it: "-01.234", "-OL"
    QString function; // "mV"
    QString range;    // "500 mV"
    QStringList flags; // DC|AC|BEEP, Auto|Range, LOW_BATTERY, OL, MIN, MAX, REL
};

// A live reading decoded at `time` (local time).
ExportedReading exportedReading(const common::MeterReading &reading, const QDateTime &time);

// A row of a record list (a data file or a downloaded set); nothing when
// the row holds no reading (no valid date and time, or no value).
std::optional<ExportedReading> exportedRecord(const common::DataRecord &record);

// "2026-12-06T14:03:07.250+01:00"
QString isoTimeWithOffset(const QDateTime &time);

// A record's "yy-mm-dd" and "hh:mm:ss" as "2026-12-06T14:03:07"; two-digit
// years read as POSIX %y (69-99 are 1969-1999, 00-68 are 2000-2068).
// Nothing when either is not a valid date or time.
std::optional<QString> isoRecordTime(const QString &date, const QString &time);

// The display text as a plain decimal number: "-01.234" -> "-1.234",
// ".5" -> "0.5". Empty for overload or a text that is not a number.
QString plainDecimal(const QString &display);

QByteArray csvHeader();
QByteArray csvLine(const ExportedReading &reading);
QByteArray jsonLine(const ExportedReading &reading);
// "14:03:07  -01.234 V 5 V DC Auto": the line a terminal user reads.
QByteArray analogLine(const ExportedReading &reading);

} // namespace recording
