#pragma once

#include "platform/clock.h"

namespace platform {

// The computer's local clock, and its monotonic clock for waits.
class SystemClock : public Clock
{
public:
    double secondsSinceMidnight() const override;
    double steadySeconds() const override;
    QDateTime now() const override;
};

} // namespace platform
