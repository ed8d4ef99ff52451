#pragma once

// The harness the fuzz targets share. Each target takes any bytes, runs one
// piece of the program on them and returns what went wrong (empty: nothing);
// crashes and undefined behaviour are the sanitizers' to catch. Built with
// METERLINK_FUZZ_ENTRY a target file also defines LLVMFuzzerTestOneInput;
// without it the same checks serve tst_regressions, which replays the kept
// inputs (fuzz/corpus, fuzz/regressions).
//
// SimulatedLine is a serial line, a clock and an event pump in one: the
// program's waits run against it as against the real port, but nothing
// sleeps. Time moves only when a wait lets events run (runFor advances the
// clock by at least 1 ms and delivers what fell due); a wait that never ends
// is caught by a step limit, after which ending() is true and runaway() says
// so. The clock wraps at midnight like the computer's.

#include "logger/polling.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/serialport.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace fuzz {

QString checkLive(QByteArrayView input);          // 2 pace bytes, then the meter's stream
QString checkDataFile(QByteArrayView input);      // a data file
QString checkLoggerReplies(QByteArrayView input); // a pace byte, then length-prefixed replies
QString checkDownload(QByteArrayView input);      // record count, flags, then the "K" reply

// A finding is printed and aborts, so that libFuzzer keeps the input.
int runFuzzInput(QString (*check)(QByteArrayView), const std::uint8_t *data, std::size_t size);

// The function and range texts are a row of the table (or both empty).
bool isTableRow(const QString &function, const QString &range);
// A full scale of the table, or 0.
bool isFullScale(double scale);

class SimulatedLine : public platform::SerialPort, public platform::Clock, public platform::EventPump
{
public:
    using Responder = std::function<void(const QByteArray &sent)>;

    explicit SimulatedLine(double startSeconds = 43200.0) : seconds_(startSeconds) {}

    void arriveAfter(double seconds, const QByteArray &bytes);
    // `bytes` in pieces of `piece`, each after `delay` and its transmission time.
    void arriveInPieces(QByteArrayView bytes, qsizetype piece, double delay = 0.0);
    void setResponder(Responder responder) { responder_ = std::move(responder); }
    bool arrivalsPending() const { return !arrivals_.empty(); }
    void advance(double seconds);
    bool runaway() const { return steps_ > stepLimit_; }
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

    double secondsSinceMidnight() const override { return seconds_; }
    double steadySeconds() const override { return elapsed_; }
    QDateTime now() const override;

    void runFor(double seconds) override;
    bool ending() const override { return runaway(); }

private:
    struct Arrival
    {
        double due; // elapsed() at which the bytes arrive
        QByteArray bytes;
    };

    double seconds_;
    double elapsed_ = 0.0;
    QDate date_{2024, 1, 15};
    long long steps_ = 0;
    long long stepLimit_ = 2'000'000;
    int commPort_ = 1;
    QByteArray waiting_;
    std::vector<Arrival> arrivals_; // in order of due time
    Responder responder_;
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
