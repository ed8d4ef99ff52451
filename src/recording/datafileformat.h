#pragma once

#include "common/datarecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// Lines of a data file (*.dat), as the recording and the list SAVE write
// them. Text is single-byte (Latin-1: every byte maps to one character, so
// any file reads back unchanged); -> stands for a tab (9), CR LF for 13 10.
//
//   Recorded line (one per sampling tick):
//     | REC | -> | DATE | -> | TIME | -> | VALUE | -> | UNIT | -> | RANGE | -> | A/D | -> | BAT | CR LF
//     REC    record number, decimal, no leading blanks or zeros, 1 upwards
//     DATE   yy-mm-dd          TIME  hh:mm:ss (24 hours)
//     VALUE  the reading, normalised: "   OL  ", "  -OL  ", " 1.234", "-0.012"
//     UNIT   function text ("V", "Ohm", ...)   RANGE  range text ("5 V")
//     A/D    "DC", "AC", "BEEP" or empty       BAT    "Low" or empty
//     So a line without low battery ends with a tab before CR LF.
//
//   List line (SAVE of a record list): every cell followed by a tab, the
//   whole enclosed in double quotes (34):
//     | " | cell0 | -> | cell1 | -> | ... | cellN | -> | " | CR LF

namespace recording {

// The value field: "OL" -> "   OL  ", "-OL" -> "  -OL  "; any other text
// gets one blank in front when its leading number is 0 or more (an empty or
// non-numeric text counts as 0) and is kept as it is when negative. The
// digits are never reformatted.
QString normaliseValue(const QString &valueText);

// What the panel shows at a recording tick.
struct PanelTexts
{
    QString value;    // LBLVALUE
    QString function; // LBLFUN
    QString range;    // LBLRAN
    QString acDc;     // LBLAD
    QString battery;  // LBLBAT: any text means low battery
};

// The record one tick writes: number, date and time of `now`, the panel's
// texts with the value normalised and the battery as "Low" or "".
common::DataRecord recordedRecord(qint32 recordNumber, const QDateTime &now,
                                  const PanelTexts &texts);

// The recorded line of a record, CR LF included.
QByteArray recordedLine(const common::DataRecord &record);

// The list line of a row's cells, CR LF included.
QByteArray quotedLine(const QStringList &cells);

} // namespace recording
