#pragma once

// Time stamps of the records of a set: the set's start (the download
// header's clock value) plus the set's interval for every record after the
// first, counted on calendar counters:
//
//   second += interval (not for the first record)
//   minute += second / 60, second %= 60
//   hour   += minute / 60, minute %= 60
//   day    += hour / 24,   hour   %= 24
//   while day > length of month: day -= that length, month += 1
//   month > 12: month back into 1..12, year += 1; year kept to two digits
//
// Month lengths: 31 for 1, 3, 5, 7, 8, 10, 12; 30 for 4, 6, 9, 11; February
// 29 when the two-digit year y has (y % 4 == 0 and y % 100 != 0) or
// y % 400 == 0 (so 00 is a leap year), else 28. A month number outside
// 1..12, which only a corrupt header can give, counts 31 days.
//
// Dates print as "yy-mm-dd", times as "hh:mm:ss", two digits at least.

#include "logger/meterclock.h"

#include <QString>

namespace logger {

// Days of `month` in the two-digit `year`.
int monthLength(int month, int year);

class StoredRecordClock
{
public:
    // `intervalSeconds`: 0..65535.
    StoredRecordClock(const MeterClock &start, int intervalSeconds);

    // The stamp of the next record: the start for the first one, then one
    // interval later each time.
    MeterClock next();

private:
    void carry();

    MeterClock counters_;
    int startSecond_;
    int interval_;
    bool first_ = true;
};

QString recordDateText(const MeterClock &stamp);
QString recordTimeText(const MeterClock &stamp);
// The same, appended to `text`.
void appendRecordDate(QString &text, const MeterClock &stamp);
void appendRecordTime(QString &text, const MeterClock &stamp);

} // namespace logger
