#pragma once

#include <QByteArray>

#include <deque>
#include <optional>

namespace mqtt {

// Readings waiting for the broker's acknowledgement, oldest first, within
// a ceiling in bytes. A reading stays until acknowledged: after a lost
// connection everything still here is sent again, in order.
class ReadingQueue
{
public:
    // What one entry costs beyond its text (the deque's share, the
    // QByteArray header and allocation).
    static constexpr qint64 entryOverhead = 64;

    explicit ReadingQueue(qint64 ceilingBytes) : ceiling_(ceilingBytes) {}

    // Adds a reading; returns how many of the oldest had to go to make room.
    qint64 push(const QByteArray &payload);

    // The next reading to send and its number, or nothing when all went.
    struct Next
    {
        qint64 number;
        QByteArray payload;
    };
    std::optional<Next> takeNext();
    // The broker has reading `number`.
    void acknowledge(qint64 number);
    // A new connection: everything still queued is sent again.
    void rewind() { next_ = first_; }

    // Readings not acknowledged yet.
    qint64 size() const { return held() - acknowledged_; }
    // What the held entries cost, acknowledged ones behind an older
    // unacknowledged one included.
    qint64 bytes() const { return bytes_; }
    bool empty() const { return entries_.empty(); }

private:
    struct Entry
    {
        QByteArray payload;
        bool acknowledged = false;
    };
    void dropFront();
    qint64 held() const { return qint64(entries_.size()); }

    qint64 ceiling_;
    std::deque<Entry> entries_;
    qint64 first_ = 0; // the number of entries_.front()
    qint64 next_ = 0;  // the number takeNext() gives
    qint64 bytes_ = 0;
    qint64 acknowledged_ = 0; // held entries already acknowledged
};

} // namespace mqtt
