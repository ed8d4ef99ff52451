#include "support/scriptedclock.h"

#include <QTime>

#include <algorithm>
#include <cmath>

namespace testsupport {

namespace {
constexpr double secondsPerDay = 86400.0;
}

ScriptedClock::ScriptedClock(double secondsSinceMidnight, QDate date)
    : seconds_(0.0), date_(date)
{
    setSecondsSinceMidnight(secondsSinceMidnight);
}

QDateTime ScriptedClock::now() const
{
    // Nearest millisecond, so that 0.1 s after midnight reads 00:00:00.100.
    const auto msecs = std::min(static_cast<int>(std::lround(seconds_ * 1000.0)), 86'399'999);
    return QDateTime(date_, QTime::fromMSecsSinceStartOfDay(msecs));
}

void ScriptedClock::setSecondsSinceMidnight(double seconds)
{
    seconds_ = std::fmod(seconds, secondsPerDay);
    if (seconds_ < 0)
        seconds_ += secondsPerDay;
}

void ScriptedClock::advance(double seconds)
{
    if (!(seconds > 0))
        return;
    steady_ += seconds;
    seconds_ += seconds;
    while (seconds_ >= secondsPerDay) {
        seconds_ -= secondsPerDay;
        date_ = date_.addDays(1);
    }
}

} // namespace testsupport
