#pragma once

#include "logger/commandbuffer.h"
#include "logger/exchange.h"
#include "logger/meterclock.h"
#include "logger/outcome.h"
#include "logger/statusblock.h"

#include <QByteArray>

#include <functional>

namespace logger {

// What the opening of the logger window learns.
struct OpeningStatus
{
    StatusBlock status;
    int memoryCode = 0; // 1..4
    int sizeK = 0;      // 64..256
    int setCount = 0;   // number of recorded sets
};

// The requests of the LOGGER window, sent through its 7-byte buffer.
//
// Each function does the line work between the start of an exchange
// (polling paused and the status caption shown by the caller) and its end
// (finish or abandon, also the caller's), unless it says otherwise.
class LoggerRequests
{
public:
    LoggerRequests(Exchange &exchange, LoggerCommandBuffer &buffer)
        : exchange_(exchange)
        , buffer_(buffer)
    {}

    // The opening status read:
    //   1. attention ("A", 0.5 s, input dropped);
    //   2. "Y"; at least 10 bytes within 2 s, and exactly 10 once the
    //      line is quiet, else again from 1 (statusAttempts in all, then
    //      "Wait Time Out ! Exit Routine !", or the invalid-reply message
    //      when the meter kept answering with another length; the input is
    //      flushed);
    //   3. "R" 134 through the buffer; a byte within 3 s, else "Wait Time
    //      Out ! Exit Routine !" with the input flushed; its first byte is
    //      the memory-size code, which must be 1-4 (else the critical
    //      invalid-size message);
    //   4. "R" 135; a byte within 3 s, else "Wait Time Out ! Try Again !";
    //      the first byte is the number of sets.
    Outcome<OpeningStatus> openingStatus();

    // NO.S OF SET: attention, "R" 135, any reply within its limit; the
    // first byte is the number of sets.
    Outcome<int> numberOfSets();

    // TIME OF RECORDING: attention, "I", the directory collected until it
    // holds 12 bytes for each of `setCount` sets. `progress` gets the
    // length collected after each read.
    Outcome<QByteArray> setDirectory(int setCount,
                                     const std::function<void(qint64)> &progress = {});

    // Ends the set list: " ", 0.1 s, input dropped, 0.1 s, polling on,
    // " ", 0.1 s.
    void releaseAfterSetList();

    // TIME OF METER: opens the port if it is closed, attention with 0.1 s,
    // "C", and exactly 6 bytes within their limit (a longer reply is
    // refused with the invalid-reply message).
    Outcome<MeterClock> meterClock();

    // ID CODE (after its attention): "W" 128 high byte, the input read
    // twice, 0.2 s, "W" 129 low byte, 0.2 s, the input dropped.
    void writeIdCode(quint16 value);
    // SAMPLING (after its attention): "W" 130 high byte, 0.2 s, the input
    // dropped, "W" 131 low byte.
    void writeSamplingTime(quint16 value);

    LoggerCommandBuffer &buffer() { return buffer_; }

private:
    Outcome<StatusBlock> statusBlock();
    Reply readByte(quint8 memoryAddress, double limitSeconds);

    Exchange &exchange_;
    LoggerCommandBuffer &buffer_;
};

} // namespace logger
