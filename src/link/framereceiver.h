#pragma once

#include "platform/clock.h"
#include "platform/serialport.h"

#include <QByteArray>
#include <functional>
#include <optional>

namespace live {

// Hunts for the meter's seven-byte live frame, one step per polling tick.
//
//  state       | what a tick does
//  ------------+-------------------------------------------------------------
//  hunting     | nothing waiting: count an empty tick (link lost after more
//              |   than 40, or 80 while "Frequency" is shown); else read one
//              |   byte and drop it unless it is the start byte 2
//  collecting  | start byte found: wait up to 0.05 s at a time (events run)
//              |   until six more bytes are waiting; link lost after more
//              |   than 60 waits; read six bytes; a last byte other than 3
//              |   flushes the whole buffer
//
// When the link counts as lost the receiver calls the link-lost handler,
// which returns once bytes arrive again (or the program is ending).
class FrameReceiver
{
public:
    static constexpr int emptyTickLimit = 40;
    static constexpr int emptyTickLimitFrequency = 80;
    static constexpr int collectWaitLimit = 60;
    static constexpr float collectWaitSeconds = 0.05f;
    static constexpr char startByte = 2;
    static constexpr char endByte = 3;
    static constexpr int frameLength = 7;

    FrameReceiver(platform::SerialPort &port, const platform::Clock &clock,
                  platform::EventPump &pump);

    void setLinkLostHandler(std::function<void()> nodataroutine);

    // One polling tick. Returns RxV, the six bytes after the start byte
    // (the last of them 3), or nothing.
    std::optional<QByteArray> tick(bool frequencyShown);

    int noDataTicks() const { return noDataTicks_; }
    void resetNoDataTicks() { noDataTicks_ = 0; }

private:
    std::optional<QByteArray> collectFrame();
    void linkLost();

    platform::SerialPort &port_;
    const platform::Clock &clock_;
    platform::EventPump &pump_;
    std::function<void()> nodataroutine_;
    int noDataTicks_ = 0;
};

} // namespace live
