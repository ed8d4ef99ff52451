#include "fuzz/simulatedline.h"

#include "common/functionrangetable.h"
#include "logger/timing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

int runFuzzInput(QString (*check)(QByteArrayView), const std::uint8_t *data, std::size_t size)
{
    const QString finding = check(QByteArrayView(data, qsizetype(size)));
    if (!finding.isEmpty()) {
        std::fprintf(stderr, "FINDING: %s\n", qPrintable(finding));
        std::abort();
    }
    return 0;
}

bool isTableRow(const QString &function, const QString &range)
{
    for (int code = 0; code < 256; ++code) {
        const auto row = common::lookupFunctionRange(static_cast<unsigned char>(code));
        if (row && row->functionText == function && row->rangeText == range)
            return true;
    }
    return function.isEmpty() && range.isEmpty();
}

bool isFullScale(double scale)
{
    for (int code = 0; code < 256; ++code) {
        const auto row = common::lookupFunctionRange(static_cast<unsigned char>(code));
        if (row && row->fullScale == scale)
            return true;
    }
    return scale == 0;
}

void SimulatedLine::arriveAfter(double seconds, const QByteArray &bytes)
{
    const double due = elapsed_ + std::max(seconds, 0.0);
    const auto later = std::upper_bound(arrivals_.begin(), arrivals_.end(), due,
                                        [](double d, const Arrival &a) { return d < a.due; });
    arrivals_.insert(later, {due, bytes});
    advance(0.0);
}

void SimulatedLine::arriveInPieces(QByteArrayView bytes, qsizetype piece, double delay)
{
    for (qsizetype from = 0; from < bytes.size(); from += piece)
        arriveAfter(delay + logger::transmissionSeconds(from),
                    bytes.sliced(from, std::min(piece, bytes.size() - from)).toByteArray());
}

void SimulatedLine::advance(double seconds)
{
    elapsed_ += std::max(seconds, 0.0);
    seconds_ += std::max(seconds, 0.0);
    for (; seconds_ >= 86400.0; seconds_ -= 86400.0)
        date_ = date_.addDays(1);
    auto it = arrivals_.begin();
    for (; it != arrivals_.end() && it->due <= elapsed_; ++it)
        waiting_ += it->bytes;
    arrivals_.erase(arrivals_.begin(), it);
}

QByteArray SimulatedLine::read(int length)
{
    const qsizetype count = length <= 0 ? waiting_.size() : std::min<qsizetype>(length, waiting_.size());
    QByteArray taken = waiting_.left(count);
    waiting_.remove(0, count);
    return taken;
}

QDateTime SimulatedLine::now() const
{
    return QDateTime(date_, QTime::fromMSecsSinceStartOfDay(int(std::floor(seconds_ * 1000.0))));
}

void SimulatedLine::runFor(double seconds)
{
    if (++steps_ <= stepLimit_)
        advance(std::max(seconds, 0.001));
}

} // namespace fuzz
