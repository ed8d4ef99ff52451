#include "platform/wait.h"

#include <algorithm>

namespace platform {

namespace {
// The pump is never asked for less than this, so a wait whose end is the
// current reading still makes progress.
constexpr double minimumStep = 0.001;
}

bool waitSeconds(float seconds, const Clock &clock, EventPump &pump)
{
    const double end = clock.steadySeconds() + static_cast<double>(seconds);
    for (;;) {
        if (pump.ending())
            return false;
        const double now = clock.steadySeconds();
        if (now > end)
            return true;
        pump.runFor(std::max(end - now, minimumStep));
    }
}

} // namespace platform
