#pragma once

#include "platform/serialport.h"

#include <QByteArray>

namespace live {

// Hunts for the meter's seven-byte live frame, one step at a time, and
// never waits: bytes that are not there yet are taken at a later tick.
//
//  state       | what a step does
//  ------------+-------------------------------------------------------------
//  hunting     | nothing waiting: count an empty tick (silent after more
//              |   than 40, or 80 while "Frequency" is shown); else read one
//              |   byte and drop it unless it is the start byte 2, which
//              |   starts collecting at once
//  collecting  | fewer than six bytes waiting: count the tick (silent after
//              |   more than 60, i.e. 3 s of 50 ms ticks); else read six
//              |   bytes; a last byte other than 3 flushes the whole buffer
class FrameReceiver
{
public:
    static constexpr int emptyTickLimit = 40;
    static constexpr int emptyTickLimitFrequency = 80;
    static constexpr int collectTickLimit = 60;
    static constexpr char startByte = 2;
    static constexpr char endByte = 3;
    static constexpr int frameLength = 7;

    enum class Outcome { Nothing, Frame, Silent };
    struct Step
    {
        Outcome outcome = Outcome::Nothing;
        // With Frame: RxV, the six bytes after the start byte (the last 3).
        QByteArray RxV;
    };

    explicit FrameReceiver(platform::SerialPort &port) : port_(port) {}

    // One step. Silent means the link counts as lost; the receiver is then
    // hunting again with its counts cleared.
    Step step(bool frequencyShown);
    // Hunting, counts cleared.
    void reset();

    bool collecting() const { return collecting_; }
    int noDataTicks() const { return noDataTicks_; }

private:
    Step hunt(bool frequencyShown);
    Step collect();
    Step silent();

    platform::SerialPort &port_;
    bool collecting_ = false;
    int noDataTicks_ = 0;
};

} // namespace live
