#include "fuzz/simulatedline.h"

#include <algorithm>
#include <cmath>

namespace fuzz {

namespace {
constexpr double secondsPerDay = 86400.0;
constexpr double minimumStep = 0.001;
} // namespace

SimulatedLine::SimulatedLine(double startSeconds) : seconds_(startSeconds) {}

void SimulatedLine::arriveAfter(double seconds, const QByteArray &bytes)
{
    const double due = elapsed_ + std::max(seconds, 0.0);
    const auto later = std::upper_bound(arrivals_.begin(), arrivals_.end(), due,
                                        [](double d, const Arrival &a) { return d < a.due; });
    arrivals_.insert(later, {due, bytes});
    deliverDue();
}

void SimulatedLine::advance(double seconds)
{
    if (seconds <= 0)
        return;
    elapsed_ += seconds;
    seconds_ += seconds;
    while (seconds_ >= secondsPerDay) {
        seconds_ -= secondsPerDay;
        date_ = date_.addDays(1);
    }
    deliverDue();
}

void SimulatedLine::deliverDue()
{
    auto it = arrivals_.begin();
    while (it != arrivals_.end() && it->due <= elapsed_) {
        waiting_ += it->bytes;
        ++it;
    }
    arrivals_.erase(arrivals_.begin(), it);
}

QByteArray SimulatedLine::read(int length)
{
    const qsizetype count = length <= 0 ? waiting_.size()
                                        : std::min<qsizetype>(length, waiting_.size());
    QByteArray taken = waiting_.left(count);
    waiting_.remove(0, count);
    return taken;
}

void SimulatedLine::send(const QByteArray &bytes)
{
    sent_ += bytes;
    if (responder_)
        responder_(bytes);
}

QDateTime SimulatedLine::now() const
{
    const auto ms = static_cast<int>(std::floor(seconds_ * 1000.0));
    return QDateTime(date_, QTime::fromMSecsSinceStartOfDay(ms));
}

void SimulatedLine::runFor(double seconds)
{
    if (++steps_ > stepLimit_)
        return;
    advance(std::max(seconds, minimumStep));
}

} // namespace fuzz
