#pragma once

// A serial line, a clock and an event pump in one object, for the fuzz
// targets: the program's waits and collections run against it exactly as
// against the real port, but nothing sleeps and no event loop runs.
//
//   fuzz::SimulatedLine line;                    // clock at noon, port open
//   line.arriveAfter(0.2, bytes);                // bytes on the line 0.2 s from now
//   line.setResponder([&](const QByteArray &sent) { ... line.arriveAfter(...); });
//   exchange.collectAny(1.0);                    // the code under test waits...
//
// Time moves only when a wait lets events run: runFor(s) advances the clock
// by s (at least 1 ms) and delivers every arrival that has fallen due.
// A wait that never ends is caught by a limit on the number of steps:
// ending() turns true, so that every wait returns, and runaway() says so.
// The clock wraps at midnight like the computer's.

#include "platform/clock.h"
#include "platform/serialport.h"

#include <QByteArray>
#include <QDate>

#include <functional>
#include <vector>

namespace fuzz {

class SimulatedLine : public platform::SerialPort,
                      public platform::Clock,
                      public platform::EventPump
{
public:
    using Responder = std::function<void(const QByteArray &sent)>;

    explicit SimulatedLine(double startSeconds = 43200.0);

    // --- the script ---
    void arriveAfter(double seconds, const QByteArray &bytes);
    void setResponder(Responder responder) { responder_ = std::move(responder); }
    // Arrivals not yet delivered.
    bool arrivalsPending() const { return !arrivals_.empty(); }
    // Moves the clock on by `seconds` (delivering what falls due).
    void advance(double seconds);
    void setStepLimit(long long limit) { stepLimit_ = limit; }
    bool runaway() const { return steps_ > stepLimit_; }
    // Clock time passed since the line was made, in seconds.
    double elapsed() const { return elapsed_; }
    const QByteArray &sentBytes() const { return sent_; }

    // --- platform::SerialPort ---
    void setCommPort(int number) override { commPort_ = number; }
    int commPort() const override { return commPort_; }
    void setSettings(const QString &) override {}
    bool open() override { return true; }
    bool isOpen() const override { return true; }
    QString errorText() const override { return {}; }
    QString deviceName() const override { return QStringLiteral("simulated"); }
    int bytesWaiting() override { return int(waiting_.size()); }
    QByteArray read(int length) override;
    void send(const QByteArray &bytes) override;

    // --- platform::Clock ---
    double secondsSinceMidnight() const override { return seconds_; }
    double steadySeconds() const override { return elapsed_; }
    QDateTime now() const override;

    // --- platform::EventPump ---
    void runFor(double seconds) override;
    bool ending() const override { return runaway(); }

private:
    struct Arrival
    {
        double due; // elapsed() at which the bytes arrive
        QByteArray bytes;
    };
    void deliverDue();

    double seconds_;
    double elapsed_ = 0.0;
    QDate date_{2024, 1, 15};
    long long steps_ = 0;
    long long stepLimit_ = 2'000'000;
    int commPort_ = 1;
    QByteArray waiting_;
    QByteArray sent_;
    std::vector<Arrival> arrivals_; // in order of due time
    Responder responder_;
};

} // namespace fuzz
