#include "link/livelink.h"

#include <utility>

namespace live {

namespace {
// More bytes waiting than two frames is a backlog to be worked off.
constexpr int backlogBytes = 2 * FrameReceiver::frameLength;
// A step takes one byte or one frame: 256 a tick is twenty times the line
// rate, and never holds the tick for long.
constexpr int maxStepsPerTick = 256;
// Ticks do not come at exact multiples of their interval; a nudge due
// within this much counts as due.
constexpr double nudgeSlackSeconds = 0.001;
} // namespace

LiveLink::LiveLink(platform::SerialPort &port, const platform::Clock &clock, QObject *parent)
    : QObject(parent)
    , port_(port)
    , clock_(clock)
    , receiver_(port)
{
}

void LiveLink::start()
{
    port_.read(0);
    port_.send(QByteArrayLiteral(" "));
    receiver_.reset();
    if (std::exchange(lost_, false))
        Q_EMIT linkBack();
}

QByteArrayList LiveLink::tick(bool frequencyShown)
{
    if (lost_) {
        tickWhileLost();
        return {};
    }
    return receive(frequencyShown);
}

QByteArrayList LiveLink::receive(bool frequencyShown)
{
    // One step a tick, as the reception was designed, unless bytes pile up:
    // whole frames queued behind a frame are taken at once, and a backlog
    // (a meter or noise faster than the ticks) is worked off within the
    // tick, so the display never falls further and further behind. A few
    // stray bytes still cost a tick each.
    QByteArrayList frames;
    for (int step = 0; step < maxStepsPerTick; ++step) {
        FrameReceiver::Step taken = receiver_.step(frequencyShown);
        if (taken.outcome == FrameReceiver::Outcome::Silent) {
            // Nudged before anyone hears of it, so a tick run from inside a
            // handler finds the loss under way.
            lost_ = true;
            nudge();
            Q_EMIT linkLost();
            break;
        }
        const bool frame = taken.outcome == FrameReceiver::Outcome::Frame;
        if (frame)
            frames.append(std::move(taken.RxV));
        const int waiting = port_.bytesWaiting();
        if (waiting <= backlogBytes && !(frame && waiting >= FrameReceiver::frameLength))
            break;
    }
    return frames;
}

void LiveLink::tickWhileLost()
{
    if (clock_.steadySeconds() - lastNudge_ + nudgeSlackSeconds < nudgeIntervalSeconds)
        return;
    if (port_.bytesWaiting() == 0) {
        nudge();
        return;
    }
    // The bytes that ended the loss stay for the next ticks to read.
    lost_ = false;
    receiver_.reset();
    Q_EMIT linkBack();
}

void LiveLink::nudge()
{
    if (port_.deviceLost())
        port_.reopen();
    port_.send(QByteArrayLiteral(" "));
    lastNudge_ = clock_.steadySeconds();
}

} // namespace live
