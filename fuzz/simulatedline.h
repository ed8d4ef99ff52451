#pragma once

// A fuzz target runs one piece of the program on any bytes and returns what
// went wrong (empty: nothing); tst_regressions replays the kept inputs through
// it. SimulatedLine is a line, a clock and an event pump in one: time moves
// only when a wait lets events run (1 ms a step at least), up to a step limit.

#include "common/functionrangetable.h"
#include "logger/polling.h"
#include "logger/timing.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/serialport.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QStringList>

#include <cmath>
#include <functional>
#include <map>

namespace fuzz {

QString checkLive(QByteArrayView input);     // 2 pace bytes, then the meter's stream
QString checkDataFile(QByteArrayView input); // a data file
QString checkLoggerReplies(QByteArrayView input); // a pace byte, then length-prefixed replies
QString checkDownload(QByteArrayView input);      // record count, flags, then the "K" reply

class SimulatedLine : public platform::SerialPort, public platform::Clock, public platform::EventPump
{
public:
    explicit SimulatedLine(double startSeconds = 43200.0) : start_(startSeconds) {}

    void arriveAfter(double seconds, const QByteArray &bytes)
    {
        arrivals_.emplace(elapsed_ + std::max(seconds, 0.0), bytes);
        advance(0.0);
    }
    // `bytes` in pieces of `piece`, each after `delay` and its transmission time.
    void arriveInPieces(QByteArrayView bytes, qsizetype piece, double delay = 0.0)
    {
        for (qsizetype from = 0; from < bytes.size(); from += piece)
            arriveAfter(delay + logger::transmissionSeconds(from), bytes.sliced(from, std::min(piece, bytes.size() - from)).toByteArray());
    }
    void setResponder(std::function<void(const QByteArray &)> responder) { responder_ = std::move(responder); }
    bool quiet() const { return arrivals_.empty() && waiting_.isEmpty(); }
    void advance(double seconds)
    {
        elapsed_ += std::max(seconds, 0.0);
        for (auto it = arrivals_.begin(); it != arrivals_.end() && it->first <= elapsed_; it = arrivals_.erase(it))
            waiting_ += it->second;
    }
    bool runaway() const { return steps_ > 2'000'000; }
    double elapsed() const { return elapsed_; }

    void setCommPort(int number) override { commPort_ = number; }
    int commPort() const override { return commPort_; }
    void setSettings(const QString &) override {}
    bool open() override { return true; }
    bool isOpen() const override { return true; }
    QString errorText() const override { return {}; }
    QString deviceName() const override { return QStringLiteral("simulated"); }
    int bytesWaiting() override { return int(waiting_.size()); }
    QByteArray read(int length) override
    {
        const QByteArray taken = waiting_.left(length <= 0 ? waiting_.size() : length);
        waiting_.remove(0, taken.size());
        return taken;
    }
    void send(const QByteArray &bytes) override { responder_ ? responder_(bytes) : void(); }

    // The computer's clock wraps at midnight.
    double secondsSinceMidnight() const override { return std::fmod(start_ + elapsed_, 86400.0); }
    double steadySeconds() const override { return elapsed_; }
    QDateTime now() const override
    {
        return QDateTime(QDate(2024, 1, 15).addDays(qint64((start_ + elapsed_) / 86400.0)),
                         QTime::fromMSecsSinceStartOfDay(int(std::floor(secondsSinceMidnight() * 1000.0))));
    }
    void runFor(double seconds) override
    {
        if (++steps_ <= 2'000'000)
            advance(std::max(seconds, 0.001));
    }
    bool ending() const override { return runaway(); }

private:
    double start_;
    double elapsed_ = 0.0;
    long long steps_ = 0;
    int commPort_ = 1;
    QByteArray waiting_;
    std::multimap<double, QByteArray> arrivals_; // by elapsed() at which they arrive
    std::function<void(const QByteArray &)> responder_;
};

struct NoDialogs : platform::Dialogs
{
    void message(const QString &text, const QString &, platform::MessageIcon) override { shown.append(text); }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    FileChoice openFile(const QString &, const QString &) override { return {}; }
    FileChoice saveFile(const QString &, const QString &) override { return {}; }
    QStringList shown;
};

struct FlagPolling : logger::Polling
{
    void pause() override { on = false; }
    void resume() override { on = true; }
    bool running() const override { return on; }
    bool on = true;
};

// The function and range texts are a row of the table (or both empty).
inline bool isTableRow(const QString &function, const QString &range)
{
    for (int code = 0; code < 256; ++code)
        if (const auto row = common::lookupFunctionRange(static_cast<unsigned char>(code)); row && row->functionText == function && row->rangeText == range)
            return true;
    return function.isEmpty() && range.isEmpty();
}

// scaleMax a full scale of the table (or 0) and scaleHalf its half.
inline bool isScale(double scaleMax, double scaleHalf)
{
    bool fullScale = scaleMax == 0;
    for (int code = 0; code < 256; ++code)
        if (const auto row = common::lookupFunctionRange(static_cast<unsigned char>(code)))
            fullScale = fullScale || row->fullScale == scaleMax;
    return fullScale && scaleHalf * 2 == scaleMax;
}

} // namespace fuzz

#ifdef METERLINK_FUZZ_ENTRY
#include <cstdint>
#include <cstdio>
#include <cstdlib>
// A finding is printed and aborts, so that libFuzzer keeps the input.
#define METERLINK_FUZZ_TARGET(check)                                                        \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)     \
    {                                                                                       \
        if (const QString finding = check(QByteArrayView(data, qsizetype(size))); !finding.isEmpty()) { \
            std::fprintf(stderr, "FINDING: %s\n", qPrintable(finding));                    \
            std::abort();                                                                   \
        }                                                                                   \
        return 0;                                                                           \
    }
#else
#define METERLINK_FUZZ_TARGET(check)
#endif
