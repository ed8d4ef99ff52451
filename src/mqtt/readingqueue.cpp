#include "mqtt/readingqueue.h"

namespace mqtt {

qint64 ReadingQueue::push(const QByteArray &payload)
{
    const qint64 cost = payload.size() + entryOverhead;
    qint64 dropped = 0;
    while (!entries_.empty() && bytes_ + cost > ceiling_) {
        dropFront();
        ++dropped;
    }
    if (cost > ceiling_)
        return dropped + 1; // it could never fit: counted, like any other drop
    entries_.push_back({payload, false});
    bytes_ += cost;
    return dropped;
}

void ReadingQueue::dropFront()
{
    bytes_ -= entries_.front().payload.size() + entryOverhead;
    if (entries_.front().acknowledged)
        --acknowledged_;
    entries_.pop_front();
    ++first_;
    if (next_ < first_)
        next_ = first_;
}

std::optional<ReadingQueue::Next> ReadingQueue::takeNext()
{
    if (next_ < first_)
        next_ = first_;
    while (next_ - first_ < held()) {
        const Entry &entry = entries_[size_t(next_ - first_)];
        const qint64 number = next_++;
        if (!entry.acknowledged)
            return Next{number, entry.payload};
    }
    return std::nullopt;
}

void ReadingQueue::acknowledge(qint64 number)
{
    // A reading dropped while in flight is gone already.
    if (number < first_ || number - first_ >= held())
        return;
    Entry &entry = entries_[size_t(number - first_)];
    if (!entry.acknowledged)
        ++acknowledged_;
    entry.acknowledged = true;
    while (!entries_.empty() && entries_.front().acknowledged)
        dropFront();
}

} // namespace mqtt
