#include "link/clockdisplay.h"

#include "common/numbers.h"

namespace live {

namespace {
constexpr qint64 secondsPerDay = 86400;
constexpr int shortestInterval = 100;
}

QString clockText(double secondsSinceMidnight)
{
    // Hours, minutes and seconds all come from the same rounded second, so
    // a tick at hh:mm:59.7 shows the next minute with 00 seconds (never a
    // seconds field of 60), and the last half second of the day shows
    // 00:00:00 rather than 24:00:00.
    const qint64 n = common::roundHalfEven(secondsSinceMidnight) % secondsPerDay;
    const auto part = [](qint64 value) {
        return common::formatNumber(static_cast<double>(value), u"#00");
    };
    return part(n / 3600) + QLatin1Char(':') + part((n / 60) % 60) + QLatin1Char(':')
        + part(n % 60);
}

bool clockRefreshDue(common::SharedValues &shared, double samplingSeconds)
{
    if (shared.pcSampling != 1)
        return true;
    ++shared.sampleTick;
    if (samplingSeconds > shared.sampleTick)
        return false;
    shared.sampleTick = 0;
    return true;
}

int nextClockInterval(int millisecondsOfDay, int tickPeriod)
{
    if (tickPeriod <= 0)
        return shortestInterval;
    int interval = tickPeriod - millisecondsOfDay % tickPeriod;
    if (interval < shortestInterval)
        interval += tickPeriod;
    return interval;
}

} // namespace live
