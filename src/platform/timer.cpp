#include "platform/timer.h"

namespace platform {

Timer::Timer(Mode mode, QObject *parent)
    : QObject(parent)
    , mode_(mode)
{
    qtimer_.setTimerType(Qt::PreciseTimer);
    connect(&qtimer_, &QTimer::timeout, this, &Timer::tick);
}

void Timer::setInterval(int milliseconds)
{
    interval_ = milliseconds;
    restart();
}

void Timer::setEnabled(bool enabled)
{
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    restart();
}

void Timer::fire()
{
    if (enabled_)
        Q_EMIT tick();
}

void Timer::restart()
{
    // A timer with interval 0 never ticks, as a window timer does.
    if (mode_ == Mode::Live && enabled_ && interval_ > 0)
        qtimer_.start(interval_);
    else
        qtimer_.stop();
}

} // namespace platform
