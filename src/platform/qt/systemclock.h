#pragma once

#include "platform/clock.h"

namespace platform {

// The computer's local clock.
class SystemClock : public Clock
{
public:
    double secondsSinceMidnight() const override;
    QDateTime now() const override;
};

} // namespace platform
