#pragma once

// Bytes on their way to the program, each with the time it has fully
// arrived. At 2400 baud a byte (start bit, 8 data bits, stop bit) takes
// 1/240 s, and the line carries one byte at a time. Usage:
//
//   OutputQueue queue;
//   queue.push(frame, now);          // bytes due at now + 1/240, + 2/240, ...
//   QByteArray arrived = queue.take(later);
//
// In fast mode bytes are due as soon as they are pushed.

#include <QByteArray>
#include <deque>
#include <limits>

namespace emulator {

class OutputQueue
{
public:
    static constexpr double byteSeconds = 1.0 / 240.0;

    void setFast(bool fast) { fast_ = fast; }
    bool fast() const { return fast_; }

    // Queues bytes that the meter starts sending at `now`, behind whatever
    // is still on the line.
    void push(const QByteArray &bytes, double now);

    // Removes and returns the bytes due by `now`.
    QByteArray take(double now);

    // Due time of the first queued byte; infinity when empty.
    double nextDue() const;
    // Seconds from `now` until the line has sent everything queued (0 in
    // fast mode, where nothing waits for the line).
    double busyFor(double now) const;
    int size() const { return int(queue_.size()); }
    void clear();

private:
    struct Entry
    {
        char byte;
        double due;
    };

    std::deque<Entry> queue_;
    double lineFree_ = -std::numeric_limits<double>::infinity();
    bool fast_ = false;
};

} // namespace emulator
