#pragma once

// A record of the meter's logger, as the set download ("K") delivers it:
// 5 bytes each, after the reply's 12-byte header.
//
//  byte | content
//  -----+----------------------------------------------------------------
//    1  | function/range code, looked up in the function/range table
//   2-4 | value: six decimal digits in packed BCD, most significant first
//    5  | status: bit0 negative, bit1 low battery, bit2 overload,
//       |   bit3 DC (1) or AC (0); bits 4-7 not used here
//
// The texts made from it:
//   unit, range  what the function/range table gives the code; a code the
//                table lacks keeps the texts of the record before it
//   AC/DC        bit3 set: "" for "Ohm", "Frequency" and "Cx", else "DC";
//                bit3 clear: "BEEP" for "Ohm", else "AC"
//   value        overload: "-OL    " when negative (not for "Frequency"),
//                else " OL    "; otherwise the digits scaled and formatted
//                for the range as the live decoder does it, then "-" in
//                front when negative (not for "Frequency"), else " ". A
//                range without a number (0) formats nothing: the text of
//                the record before is kept and gets a sign or blank in
//                front again, in place of its own leading blank if it has
//                one (so a run of such records cannot grow the text). A
//                text that then starts with "--" loses one "-".
//   battery      " Low " when bit1 is set

#include "common/sharedvalues.h"

#include <QByteArrayView>
#include <QString>

namespace logger {

constexpr int storedRecordBytes = 5;

struct DecodedRecord
{
    QString value;
    QString unit;
    QString range;
    QString acDc;
    bool lowBattery = false;
};

// Decodes the records of one set in order; it keeps the unit, range and
// value texts of the last record for the next one.
class StoredRecordDecoder
{
public:
    // Starts from the unit and range texts the logger window shows now.
    StoredRecordDecoder(QString functionText = {}, QString rangeText = {});

    // Decodes one record and raises shared.scaleMax (and scaleHalf) to its
    // range's full scale. Precondition: `record` holds storedRecordBytes.
    DecodedRecord decode(QByteArrayView record, common::SharedValues &shared);

    // The unit and range texts of the last record (LBLFUN, LBLRAN).
    const QString &functionText() const { return functionText_; }
    const QString &rangeText() const { return rangeText_; }

private:
    QString valueText(QByteArrayView record, quint8 status);

    QString functionText_;
    QString rangeText_;
    QString valueText_;
};

// The AC/DC text of a status byte for a unit text.
QString acDcText(quint8 status, const QString &unit);

} // namespace logger
