#pragma once

#include "platform/clock.h"

#include <QDate>

namespace testsupport {

// A clock that moves only when the test (or the scripted pump) says so.
class ScriptedClock : public platform::Clock
{
public:
    explicit ScriptedClock(double secondsSinceMidnight = 43200.0,
                           QDate date = QDate(2024, 1, 15));

    double secondsSinceMidnight() const override { return seconds_; }
    QDateTime now() const override;

    // Sets the time of day; values outside [0, 86400) wrap into the day.
    void setSecondsSinceMidnight(double seconds);
    void setDate(QDate date) { date_ = date; }
    QDate date() const { return date_; }

    // Moves the clock forward; passing midnight (86400 -> 0) moves the
    // date on by one day. Negative amounts are ignored.
    void advance(double seconds);

private:
    double seconds_;
    QDate date_;
};

} // namespace testsupport
