#include "logger/polling.h"

#include "platform/timer.h"

namespace logger {

void TimerPolling::pause()
{
    timer_.setEnabled(false);
}

void TimerPolling::resume()
{
    timer_.setEnabled(true);
}

bool TimerPolling::running() const
{
    return timer_.isEnabled();
}

} // namespace logger
