#include "logger/storedrecordclock.h"

namespace logger {

namespace {

constexpr int monthsPerYear = 12;
constexpr int yearsKept = 100; // two digits

bool leapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

void nextYear(MeterClock &c, int month)
{
    c.month = month;
    c.year = (c.year + 1) % yearsKept;
}

// At least two digits ("00" format), written straight into the text: a
// download stamps tens of thousands of rows.
void appendPadded(QString &text, int value)
{
    if (value >= 0 && value < 100) {
        text += QChar(char16_t(u'0' + value / 10));
        text += QChar(char16_t(u'0' + value % 10));
        return;
    }
    text += QString::number(value);
}

} // namespace

int monthLength(int month, int year)
{
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return leapYear(year) ? 29 : 28;
    default:
        return 31;
    }
}

StoredRecordClock::StoredRecordClock(const MeterClock &start, int intervalSeconds)
    : counters_(start)
    , startSecond_(start.second)
    , interval_(intervalSeconds)
{}

MeterClock StoredRecordClock::next()
{
    if (first_) {
        first_ = false;
        counters_.second = startSecond_;
    } else {
        counters_.second += interval_;
    }
    carry();
    return counters_;
}

void StoredRecordClock::carry()
{
    MeterClock &c = counters_;
    c.minute += c.second / 60;
    c.second %= 60;
    c.hour += c.minute / 60;
    c.minute %= 60;
    c.day += c.hour / 24;
    c.hour %= 24;
    // Whole months, one at a time, so a day never ends up as 0.
    for (int length = monthLength(c.month, c.year); c.day > length;
         length = monthLength(c.month, c.year)) {
        c.day -= length;
        if (++c.month > monthsPerYear)
            nextYear(c, 1);
    }
    // Only a corrupt header starts beyond December.
    if (c.month > monthsPerYear)
        nextYear(c, (c.month - 1) % monthsPerYear + 1);
    c.year %= yearsKept;
}

void appendRecordDate(QString &text, const MeterClock &stamp)
{
    appendPadded(text, stamp.year);
    text += QLatin1Char('-');
    appendPadded(text, stamp.month);
    text += QLatin1Char('-');
    appendPadded(text, stamp.day);
}

void appendRecordTime(QString &text, const MeterClock &stamp)
{
    appendPadded(text, stamp.hour);
    text += QLatin1Char(':');
    appendPadded(text, stamp.minute);
    text += QLatin1Char(':');
    appendPadded(text, stamp.second);
}

QString recordDateText(const MeterClock &stamp)
{
    QString text;
    appendRecordDate(text, stamp);
    return text;
}

QString recordTimeText(const MeterClock &stamp)
{
    QString text;
    appendRecordTime(text, stamp);
    return text;
}

} // namespace logger
