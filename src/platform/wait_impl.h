#pragma once

#include <algorithm>

namespace platform {

template <typename Ready>
bool waitUntil(Ready ready, double limitSeconds, const Clock &clock, EventPump &pump)
{
    // Poll often enough that a reply is seen within a few milliseconds,
    // without spinning: the pump sleeps in the event loop between polls.
    constexpr double pollSeconds = 0.005;
    const double start = clock.steadySeconds();
    for (;;) {
        if (ready())
            return true;
        if (pump.ending())
            return false;
        const double elapsed = clock.steadySeconds() - start;
        if (elapsed > limitSeconds)
            return ready();
        pump.runFor(std::min(pollSeconds, limitSeconds - elapsed + 0.001));
    }
}

} // namespace platform
