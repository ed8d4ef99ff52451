#include "fuzz/simulatedline.h"

#include "common/functionrangetable.h"
#include "logger/timing.h"

#include <QDateTime>

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

bool isScale(double scaleMax, double scaleHalf)
{
    bool fullScale = scaleMax == 0;
    for (int code = 0; code < 256; ++code) {
        const auto row = common::lookupFunctionRange(static_cast<unsigned char>(code));
        fullScale = fullScale || (row && row->fullScale == scaleMax);
    }
    return fullScale && scaleHalf * 2 == scaleMax;
}

void SimulatedLine::arriveInPieces(QByteArrayView bytes, qsizetype piece, double delay)
{
    for (qsizetype from = 0; from < bytes.size(); from += piece)
        arriveAfter(delay + logger::transmissionSeconds(from), bytes.sliced(from, std::min(piece, bytes.size() - from)).toByteArray());
}

void SimulatedLine::advance(double seconds)
{
    elapsed_ += std::max(seconds, 0.0);
    for (auto it = arrivals_.begin(); it != arrivals_.end() && it->first <= elapsed_; it = arrivals_.erase(it))
        waiting_ += it->second;
}

QByteArray SimulatedLine::read(int length)
{
    const QByteArray taken = waiting_.left(length <= 0 ? waiting_.size() : length);
    waiting_.remove(0, taken.size());
    return taken;
}

// The computer's clock wraps at midnight.
double SimulatedLine::secondsSinceMidnight() const
{
    return std::fmod(start_ + elapsed_, 86400.0);
}

QDateTime SimulatedLine::now() const
{
    const double seconds = start_ + elapsed_;
    return QDateTime(QDate(2024, 1, 15).addDays(qint64(seconds / 86400.0)),
                     QTime::fromMSecsSinceStartOfDay(int(std::floor(secondsSinceMidnight() * 1000.0))));
}

} // namespace fuzz
