#pragma once

#include <QDateTime>

namespace platform {

// The computer's clock. Kept behind an interface so that tests can set the
// time of day, cross midnight, step the wall clock and advance time without
// sleeping.
class Clock
{
public:
    virtual ~Clock() = default;

    // Local time of day in seconds since midnight, with fractions. For what
    // is shown and stamped only: it jumps at midnight, at daylight-saving
    // changes and whenever the system time is set.
    virtual double secondsSinceMidnight() const = 0;

    // Seconds from an arbitrary fixed start that only ever move forward at
    // the pace of real time. Every wait and time-out measures on this.
    virtual double steadySeconds() const = 0;

    // Local date and time.
    virtual QDateTime now() const = 0;
};

// Lets the window system handle pending events for a while. Waits and
// reply collections call it in their loops; tests replace it with a pump
// that advances a scripted clock instead of sleeping.
class EventPump
{
public:
    virtual ~EventPump() = default;

    // Handles pending events, returning after at most `seconds` (or as soon
    // as the program is ending). 0 handles what is pending and returns.
    virtual void runFor(double seconds) = 0;

    // True once the program is ending: every wait returns at once.
    virtual bool ending() const = 0;
};

} // namespace platform
