#include "platform/qt/systemclock.h"

#include <QTime>

#include <chrono>

namespace platform {

double SystemClock::secondsSinceMidnight() const
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

double SystemClock::steadySeconds() const
{
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceStart).count();
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

} // namespace platform
