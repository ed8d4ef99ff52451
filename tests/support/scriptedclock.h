#pragma once

#include "platform/clock.h"

#include <QDate>
#include <QTime>

#include <cmath>

namespace testsupport {

// A clock that moves only when the test (or the scripted pump) says so;
// setting or stepping the time of day leaves the steady seconds alone.
class ScriptedClock : public platform::Clock
{
public:
    explicit ScriptedClock(double secondsSinceMidnight = 43200.0, QDate date = QDate(2024, 1, 15)) : date_(date) { setSecondsSinceMidnight(secondsSinceMidnight); }

    double secondsSinceMidnight() const override { return seconds_; }
    double steadySeconds() const override { return steady_; }
    // To the nearest millisecond: 0.1 s after midnight reads 00:00:00.100.
    QDateTime now() const override
    {
        return {date_, QTime::fromMSecsSinceStartOfDay(std::min(int(std::lround(seconds_ * 1000.0)), 86'399'999))};
    }

    // Values outside the day wrap into it.
    void setSecondsSinceMidnight(double seconds)
    {
        seconds_ = std::fmod(seconds, 86400.0);
        seconds_ += seconds_ < 0 ? 86400.0 : 0.0;
    }
    // The time of day alone, either way, as a daylight-saving change does.
    void stepWallClock(double seconds) { setSecondsSinceMidnight(seconds_ + seconds); }
    void setDate(QDate date) { date_ = date; }
    QDate date() const { return date_; }

    // Forward only; passing midnight moves the date on.
    void advance(double seconds)
    {
        if (!(seconds > 0))
            return;
        steady_ += seconds;
        for (seconds_ += seconds; seconds_ >= 86400.0; seconds_ -= 86400.0)
            date_ = date_.addDays(1);
    }

private:
    double seconds_ = 0.0, steady_ = 1000.0;
    QDate date_;
};

} // namespace testsupport
