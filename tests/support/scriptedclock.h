#pragma once

#include "platform/clock.h"

#include <QDate>

namespace testsupport {

// A clock that moves only when the test (or the scripted pump) says so.
// advance() moves the time of day and the steady seconds together; setting
// or stepping the time of day leaves the steady seconds where they are, as
// setting the computer's clock does.
class ScriptedClock : public platform::Clock
{
public:
    explicit ScriptedClock(double secondsSinceMidnight = 43200.0,
                           QDate date = QDate(2024, 1, 15));

    double secondsSinceMidnight() const override { return seconds_; }
    double steadySeconds() const override { return steady_; }
    QDateTime now() const override;

    // Sets the time of day; values outside [0, 86400) wrap into the day.
    void setSecondsSinceMidnight(double seconds);
    // Steps the time of day alone by `seconds` (either way), as a
    // daylight-saving change or a time server does.
    void stepWallClock(double seconds) { setSecondsSinceMidnight(seconds_ + seconds); }
    void setDate(QDate date) { date_ = date; }
    QDate date() const { return date_; }

    // Moves the clock forward; passing midnight (86400 -> 0) moves the
    // date on by one day. Negative amounts are ignored.
    void advance(double seconds);

private:
    double seconds_;
    double steady_ = 1000.0;
    QDate date_;
};

} // namespace testsupport
