#include "platform/wait.h"

#include <algorithm>

namespace platform {

namespace {
constexpr double secondsPerDay = 86400.0;
// The pump is never asked for less than this, so a wait whose end is the
// current reading still makes progress.
constexpr double minimumStep = 0.001;
}

bool waitSeconds(float seconds, const Clock &clock, EventPump &pump)
{
    const double asked = static_cast<double>(seconds);
    const double start = clock.secondsSinceMidnight();
    double end = start + asked;
    for (;;) {
        if (pump.ending())
            return false;
        const double now = clock.secondsSinceMidnight();
        if (now < start)
            end = asked; // midnight passed: count from midnight
        if (now > end)
            return true;
        pump.runFor(std::max(end - now, minimumStep));
    }
}

double elapsedSince(double startSeconds, double nowSeconds)
{
    const double elapsed = nowSeconds - startSeconds;
    return elapsed >= 0 ? elapsed : elapsed + secondsPerDay;
}

} // namespace platform
