#include "emulator/outputqueue.h"

#include <algorithm>

namespace emulator {

void OutputQueue::push(const QByteArray &bytes, double now)
{
    for (char byte : bytes) {
        const double due = fast_ ? now : std::max(now, lineFree_) + byteSeconds;
        queue_.push_back({byte, due});
        lineFree_ = due;
    }
}

QByteArray OutputQueue::take(double now)
{
    QByteArray out;
    while (!queue_.empty() && queue_.front().due <= now) {
        out.append(queue_.front().byte);
        queue_.pop_front();
    }
    return out;
}

double OutputQueue::nextDue() const
{
    return queue_.empty() ? std::numeric_limits<double>::infinity() : queue_.front().due;
}

double OutputQueue::busyFor(double now) const
{
    return fast_ ? 0.0 : std::max(0.0, lineFree_ - now);
}

void OutputQueue::clear()
{
    queue_.clear();
}

} // namespace emulator
