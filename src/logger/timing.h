#pragma once

#include <QtGlobal>

// How long the meter may take to answer a memory request.
//
// The line runs at 2400 baud with a start and a stop bit, so a byte takes
// 10/2400 s (about 4.2 ms). Every wait for a reply ends: a fixed reply is
// given the time the meter takes to start answering plus the time its
// bytes take on the line; a long reply that is collected as it comes
// (the set list, the download of a set) must start within that time, may
// not fall silent for longer than silenceSeconds, and must be complete
// within twice its line time plus the margin.

namespace logger {

constexpr int baudRate = 2400;
constexpr int bitsPerByte = 10; // start bit, 8 data bits, stop bit
constexpr double byteSeconds = double(bitsPerByte) / baudRate;

// The meter's own limits in the opening of the logger window.
constexpr double statusReplySeconds = 2.0; // "Y": the 10-byte status block
constexpr double byteReplySeconds = 3.0;   // "R": one byte
// Status requests tried before the opening gives up.
constexpr int statusAttempts = 3;

// Time the meter may take before the first byte of a reply.
constexpr double responseMarginSeconds = 3.0;
// Longest pause inside a reply that is being collected.
constexpr double silenceSeconds = 2.0;

// A reply judged by its length has ended once the line has been quiet for
// this long after its last byte (three byte times): a byte more would have
// come by then.
constexpr double replyEndQuietSeconds = 3 * byteSeconds;
// Longest wait for that quiet, so that a stream that never stops still ends.
constexpr double replyEndQuietLimitSeconds = 0.25;

// Attention waits: the meter stops its stream and finishes the frame on
// the line.
constexpr float attentionSeconds = 0.5f;
constexpr float shortAttentionSeconds = 0.1f;

// Seconds `bytes` bytes take on the line.
constexpr double transmissionSeconds(qint64 bytes)
{
    return double(bytes) * byteSeconds;
}

// Limit for a reply of `bytes` bytes that is awaited as a whole.
constexpr double replyLimitSeconds(qint64 bytes)
{
    return responseMarginSeconds + transmissionSeconds(bytes);
}

// Limits for a reply that is collected as it arrives.
struct AccumulateLimits
{
    double firstByte = responseMarginSeconds; // from the request to the first byte
    double silence = silenceSeconds;          // between two arrivals
    double total = responseMarginSeconds;     // from the request to the last byte
};

constexpr AccumulateLimits accumulateLimits(qint64 expectedBytes)
{
    return {responseMarginSeconds, silenceSeconds,
            responseMarginSeconds + 2.0 * transmissionSeconds(expectedBytes)};
}

} // namespace logger
