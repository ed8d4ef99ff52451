#pragma once

#include "common/meterreading.h"
#include "recording/readingstatistics.h"

#include <QDateTime>
#include <QStringList>

// --stats: the statistics the lists' STATISTICS shows, written to standard
// error after the readings, so that standard output stays the data in the
// format -O chose.

namespace cli {

// The live readings as they are written, numbered from 1.
class LiveStatistics
{
public:
    void take(const common::MeterReading &reading, const QDateTime &time);
    const recording::ReadingStatistics &result() const { return accumulator_.result(); }

private:
    recording::StatisticsAccumulator accumulator_;
    qint64 taken_ = 0;
};

// The statistics of downloaded rows (tab-separated record texts).
recording::ReadingStatistics downloadStatistics(const QStringList &rows);

// "statistics:" and the shared lines, on standard error.
void printStatistics(const recording::ReadingStatistics &stats);

} // namespace cli
