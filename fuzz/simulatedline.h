#pragma once

// The harness the fuzz targets share. Each target takes any bytes, runs one
// piece of the program on them and returns what went wrong (empty: nothing);
// crashes and undefined behaviour are the sanitizers' to catch. Built with
// METERLINK_FUZZ_ENTRY a target file also defines LLVMFuzzerTestOneInput;
// without it the same checks serve tst_regressions, which replays the kept
// inputs (fuzz/corpus, fuzz/regressions).
//
// SimulatedLine is a serial line, a clock and an event pump in one: nothing
// sleeps, time moves only when a wait lets events run (at least 1 ms a step),
// and a wait that never ends is caught by a step limit (runaway()).

#include "logger/polling.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/serialport.h"

#include <QByteArrayView>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>

namespace fuzz {

QString checkLive(QByteArrayView input);     // 2 pace bytes, then the meter's stream
QString checkDataFile(QByteArrayView input); // a data file
QString checkLogger(QByteArrayView input);   // even first byte: the requests' replies, odd: a download

// A finding is printed and aborts, so that libFuzzer keeps the input.
int runFuzzInput(QString (*check)(QByteArrayView), const std::uint8_t *data, std::size_t size);

// The function and range texts are a row of the table (or both empty).
bool isTableRow(const QString &function, const QString &range);
// scaleMax a full scale of the table (or 0) and scaleHalf its half.
bool isScale(double scaleMax, double scaleHalf);

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
    void arriveInPieces(QByteArrayView bytes, qsizetype piece, double delay = 0.0);
    void setResponder(std::function<void(const QByteArray &)> responder) { responder_ = std::move(responder); }
    bool quiet() const { return arrivals_.empty() && waiting_.isEmpty(); }
    void advance(double seconds);
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
    QByteArray read(int length) override;
    void send(const QByteArray &bytes) override
    {
        if (responder_)
            responder_(bytes);
    }

    double secondsSinceMidnight() const override;
    double steadySeconds() const override { return elapsed_; }
    QDateTime now() const override;

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

class NoDialogs : public platform::Dialogs
{
public:
    void message(const QString &text, const QString &, platform::MessageIcon) override { shown.append(text); }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    FileChoice openFile(const QString &, const QString &) override { return {}; }
    FileChoice saveFile(const QString &, const QString &) override { return {}; }
    QStringList shown;
};

class FlagPolling : public logger::Polling
{
public:
    void pause() override { running_ = false; }
    void resume() override { running_ = true; }
    bool running() const override { return running_; }

private:
    bool running_ = true;
};

} // namespace fuzz

#ifdef METERLINK_FUZZ_ENTRY
#define METERLINK_FUZZ_TARGET(check)                                                                             \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)                            \
    {                                                                                                            \
        return fuzz::runFuzzInput(check, data, size);                                                            \
    }
#else
#define METERLINK_FUZZ_TARGET(check)
#endif
