#include "link/framereceiver.h"

#include "platform/wait.h"

namespace live {

FrameReceiver::FrameReceiver(platform::SerialPort &port, const platform::Clock &clock,
                             platform::EventPump &pump)
    : port_(port)
    , clock_(clock)
    , pump_(pump)
{
}

void FrameReceiver::setLinkLostHandler(std::function<void()> nodataroutine)
{
    nodataroutine_ = std::move(nodataroutine);
}

std::optional<QByteArray> FrameReceiver::tick(bool frequencyShown)
{
    if (port_.bytesWaiting() == 0) {
        ++noDataTicks_;
        const int limit = frequencyShown ? emptyTickLimitFrequency : emptyTickLimit;
        if (noDataTicks_ > limit)
            linkLost();
        return std::nullopt;
    }
    noDataTicks_ = 0;
    const QByteArray first = port_.read(1);
    if (first.size() != 1 || first.at(0) != startByte)
        return std::nullopt;
    return collectFrame();
}

std::optional<QByteArray> FrameReceiver::collectFrame()
{
    constexpr int restLength = 6;
    const auto frameComplete = [this] { return port_.bytesWaiting() >= restLength; };
    while (!frameComplete()) {
        // Each wait ends as soon as the rest of the frame is in, so a frame
        // is shown within milliseconds of its last byte.
        platform::waitUntil(frameComplete, collectWaitSeconds, clock_, pump_);
        if (pump_.ending())
            return std::nullopt;
        if (frameComplete())
            break;
        if (++noDataTicks_ > collectWaitLimit) {
            linkLost();
            return std::nullopt;
        }
    }
    const QByteArray RxV = port_.read(restLength);
    if (RxV.size() != restLength || RxV.at(restLength - 1) != endByte) {
        port_.read(0); // drop everything waiting
        return std::nullopt;
    }
    noDataTicks_ = 0;
    return RxV;
}

void FrameReceiver::linkLost()
{
    if (nodataroutine_)
        nodataroutine_();
    noDataTicks_ = 0;
}

} // namespace live
