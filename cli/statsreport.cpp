#include "cli/statsreport.h"

#include "recording/readingexport.h"
#include "recording/recordlistmodel.h"

#include <cstdio>

namespace cli {

void LiveStatistics::take(const common::MeterReading &reading, const QDateTime &time)
{
    const QByteArray display = reading.valueText.toLatin1();
    const QByteArray unit = reading.functionText.toLatin1();
    const QByteArray acDc = reading.acDcText.toLatin1();
    const int ends = accumulator_.add(++taken_, QLatin1StringView(display), QLatin1StringView(unit),
                                      QLatin1StringView(acDc));
    recording::ReadingStatistics &stats = accumulator_.result();
    if (ends & recording::StatisticsAccumulator::NewMinimum)
        stats.minimum.time = recording::isoTimeWithOffset(time);
    if (ends & recording::StatisticsAccumulator::NewMaximum)
        stats.maximum.time = recording::isoTimeWithOffset(time);
}

recording::ReadingStatistics downloadStatistics(const QStringList &rows)
{
    recording::RecordListModel list;
    list.appendRows(rows);
    return recording::listStatistics(list);
}

void printStatistics(const recording::ReadingStatistics &stats)
{
    const QByteArray text = recording::statisticsLines(stats).join(QLatin1Char('\n')).toLocal8Bit() + '\n';
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    std::fflush(stderr);
}

} // namespace cli
