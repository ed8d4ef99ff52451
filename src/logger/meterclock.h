#pragma once

// The meter's clock value: six bytes of packed BCD (high nibble tens, low
// nibble units), used by the clock read and set and by the set directory.
//
//  byte | content
//  -----+----------------------------
//    1  | year, last two digits
//    2  | month
//    3  | day
//    4  | hour
//    5  | minute
//    6  | second
//
// A byte becomes a number by reading its two hexadecimal digits as a
// decimal number: 0x25 is 25, 0x05 is 5. Digits that are not decimal end
// the number as they would end a typed one: 0x1A is 1, 0xA5 and 0x0A are 0.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <optional>

namespace logger {

struct MeterClock
{
    int year = 0; // two digits
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const MeterClock &, const MeterClock &) = default;
};

constexpr int clockValueBytes = 6;

// The number of one clock byte (see above).
int bcdValue(quint8 byte);

// 0..99 as a packed-BCD byte (16 x tens + units). Precondition: 0..99.
quint8 bcdByte(int value);

// The clock value at the start of `bytes`; nothing when fewer than six
// bytes are given.
std::optional<MeterClock> meterClockFrom(QByteArrayView bytes);

// The six bytes of a clock value.
QByteArray clockBytes(const MeterClock &clock);

// The computer's date and time as the meter keeps it (year modulo 100).
MeterClock meterClockOf(const QDateTime &time);

// "yy-mm-dd----hh:mm:ss": the start of a set in the set list.
QString setStartText(const MeterClock &clock);

// "yy-mm-dd-----hh:mm:ss": the meter's clock in the logger window.
QString meterClockText(const MeterClock &clock);

} // namespace logger
