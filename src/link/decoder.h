#pragma once

// Decoder of the meter's live frame.
//
//  byte | RxV | content
//  -----+-----+-------------------------------------------------------------
//    1  |  -  | start byte, always 2 (checked by the frame reception)
//    2  |  0  | function/range code, looked up in the function/range table
//    3  |  1  | value byte 1: two BCD digits, high nibble first
//    4  |  2  | value byte 2: two BCD digits
//    5  |  3  | value byte 3: high nibble a digit; low nibble a digit or flags
//       |     |   (bit 2 is kept in valueByteFlag)
//    6  |  4  | status: bit0 negative, bit1 low battery, bit2 overload,
//       |     |   bit3 DC (in "Ohm": clear means BEEP), bit4 auto range,
//       |     |   bit5 MIN, bit6 MAX, bit7 REL
//    7  |  5  | end byte, always 3 (checked by the frame reception)
//
// The decoder takes RxV, the six bytes after the start byte, and runs three
// steps in this order on the same frame, each reading what the one before
// wrote: DecodeSecondByte, DecodesixByte, decodedata.

#include "common/meterreading.h"
#include "common/sharedvalues.h"

#include <QByteArray>
#include <QString>

namespace live {

// The two labels DecodeSecondByte writes: the panel's for live frames, the
// logger window's for stored records.
struct FunctionRangeLabels
{
    QString &functionText; // LBLFUN
    QString &rangeText;    // LBLRAN
};

// Looks RxV(0) up in the function/range table. A known code sets both
// texts; an unknown one leaves them as they were. With CheckMaxMin the
// largest full scale met is kept in shared.scaleMax (and half in scaleHalf).
void DecodeSecondByte(const QByteArray &RxV, FunctionRangeLabels target, bool CheckMaxMin,
                      common::SharedValues &shared);

// Decodes the status byte RxV(4) into the indicators of the reading, using
// its current functionText. Overload sets valueText to "OL" at once.
// Does nothing if RxV is too short to hold a status byte.
void DecodesixByte(const QByteArray &RxV, common::MeterReading &reading);

// Decodes the value bytes RxV(1..3) into reading.valueText with the range
// pattern of reading.rangeText, and stores bit 2 of RxV(3) in valueByteFlag.
// Keeps the previous valueText if RxV is too short.
void decodedata(const QByteArray &RxV, common::MeterReading &reading, qint16 &valueByteFlag);

// The three steps in order on a live frame.
void decodeLiveFrame(const QByteArray &RxV, common::MeterReading &reading,
                     common::SharedValues &shared);

// The value text of three value bytes for a function and range, without
// sign or overload: what decodedata writes for a positive reading.
// Shared with the download of stored records.
QString valueTextFor(unsigned char byte1, unsigned char byte2, unsigned char byte3,
                     const QString &functionText, const QString &rangeText);

} // namespace live
