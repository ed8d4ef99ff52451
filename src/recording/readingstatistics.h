#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>

// Statistics of the readings of one function: what STATISTICS of the lists
// and `meterlink-cli --stats` show. Minimum and maximum are found on the
// decimal texts themselves, so they are exactly the numbers the meter
// showed; mean and deviation are running sums (Welford) in long double,
// which stay sound over millions of nearly equal readings.

namespace recording {

class RecordListModel;

// One end of the readings: the value as shown, where and when.
struct StatisticsExtreme
{
    QString value;  // plain decimal: "-1.234"
    qint64 record = 0;
    QString time;   // ISO 8601, as the export writes it
};

struct ReadingStatistics
{
    QString function;       // the unit and A/D texts of the first reading: "V DC"
    qint64 count = 0;       // readings counted
    StatisticsExtreme minimum;
    StatisticsExtreme maximum;
    long double mean = 0;
    long double deviation = 0; // sample standard deviation (n - 1); 0 below two readings
    int fractionDigits = 0;    // the most digits after the point among the readings
    qint64 overloaded = 0;     // left out: overloaded, of the function
    qint64 otherFunction = 0;  // left out: another unit or A/D
    qint64 withoutReading = 0; // left out: no value or no valid time
};

// Readings fed one at a time (a list's rows, the command line's readings).
class StatisticsAccumulator
{
public:
    // Which ends a reading became; the caller fills the time of those.
    enum Ends { NoEnd = 0, NewMinimum = 1, NewMaximum = 2 };

    // A row without a valid time passes hasTime = false.
    int add(qint64 record, QLatin1StringView display, QLatin1StringView unit,
            QLatin1StringView acDc, bool hasTime = true);
    ReadingStatistics &result() { return stats_; }
    const ReadingStatistics &result() const { return stats_; }

private:
    bool functionChosen_ = false;
    QByteArray unit_;
    QByteArray acDc_;
    QByteArray minimumText_; // the ends as plain decimals, compared with each reading
    QByteArray maximumText_;
    long double m2_ = 0;
    ReadingStatistics stats_;
};

// Rows first..last of a list (record numbers; clamped to the rows held).
struct RowSpan
{
    qint64 first = 1;
    qint64 last = -1; // below first: to the last row
};

// The statistics of the rows of `span`: the function is the first reading's.
ReadingStatistics listStatistics(const RecordListModel &list, RowSpan span = {});

// The statistics as lines for a message box or a terminal, numbers with the
// readings' digits plus one: one routine for every place that shows them.
QStringList statisticsLines(const ReadingStatistics &stats);

} // namespace recording
