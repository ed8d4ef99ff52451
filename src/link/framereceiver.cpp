#include "link/framereceiver.h"

namespace live {

namespace {
constexpr int restLength = FrameReceiver::frameLength - 1;
}

FrameReceiver::Step FrameReceiver::step(bool frequencyShown)
{
    return collecting_ ? collect() : hunt(frequencyShown);
}

void FrameReceiver::reset()
{
    collecting_ = false;
    noDataTicks_ = 0;
}

FrameReceiver::Step FrameReceiver::hunt(bool frequencyShown)
{
    if (port_.bytesWaiting() == 0) {
        const int limit = frequencyShown ? emptyTickLimitFrequency : emptyTickLimit;
        return ++noDataTicks_ > limit ? silent() : Step{};
    }
    noDataTicks_ = 0;
    const QByteArray first = port_.read(1);
    if (first.size() != 1 || first.at(0) != startByte)
        return {};
    collecting_ = true;
    // The rest of the frame is usually in already: take it in this step.
    return port_.bytesWaiting() >= restLength ? collect() : Step{};
}

FrameReceiver::Step FrameReceiver::collect()
{
    if (port_.bytesWaiting() < restLength)
        return ++noDataTicks_ > collectTickLimit ? silent() : Step{};
    collecting_ = false;
    QByteArray RxV = port_.read(restLength);
    if (RxV.size() != restLength || RxV.at(restLength - 1) != endByte) {
        port_.read(0); // drop everything waiting
        return {};
    }
    noDataTicks_ = 0;
    return {Outcome::Frame, std::move(RxV)};
}

FrameReceiver::Step FrameReceiver::silent()
{
    reset();
    return {Outcome::Silent, {}};
}

} // namespace live
