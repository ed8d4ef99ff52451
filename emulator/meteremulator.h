#pragma once

// A stand-in for the meter, driven by the time passed in (seconds, any
// origin, not going backwards), with no timers of its own. Usage:
//
//   emulator::MeterEmulator meter;
//   meter.setLive({.code = 0x42, .status = emulator::status::Dc});
//   meter.receive(" ", now);               // start the live stream
//   QByteArray bytes = meter.takeOutput(now + 0.5);
//   meter.receive("A", now + 0.5);          // attention: stream stops,
//   meter.receive("Y", now + 1.0);          // logger requests are answered
//   meter.receive(" ", now + 2.0);          // release: stream resumes
//
// The stream sends a 7-byte frame every 1/framesPerSecond seconds (the
// first at once) while streaming; it starts only on " ". Output is paced
// at 2400 baud (a byte every 1/240 s), or all at once in fast mode. The
// line carries at most maxFramesPerSecond; asked for more, the meter drops
// the frames that would reach the program more than maxQueuedSeconds after
// they were made, so readings and logger replies are never later than that.
// Requests are split by RequestParser (trailing command-buffer bytes are
// skipped) and answered by LoggerMemory, but only after "A".
// A time earlier than the last one seen counts as the last one.

#include "emulator/fault.h"
#include "emulator/livesettings.h"
#include "emulator/livesignal.h"
#include "emulator/loggercontent.h"
#include "emulator/loggermemory.h"
#include "emulator/outputqueue.h"
#include "emulator/requestparser.h"

#include <QByteArray>
#include <limits>
#include <optional>

namespace emulator {

class MeterEmulator
{
public:
    static constexpr double byteSeconds = OutputQueue::byteSeconds;
    static constexpr int frameBytes = 7;
    // What 2400 baud carries: 240/7, about 34.3.
    static constexpr double maxFramesPerSecond = 1.0 / (frameBytes * byteSeconds);
    // No more than this of live frames waits for the line, nor is sent at
    // once when the time jumps ahead.
    static constexpr double maxQueuedSeconds = 1.0;

    MeterEmulator();
    explicit MeterEmulator(const LiveSettings &live);

    void setLive(const LiveSettings &live);
    const LiveSettings &live() const { return live_; }

    void setFast(bool fast) { output_.setFast(fast); }
    bool fast() const { return output_.fast(); }

    void setFault(const Fault &fault);
    void clearFault() { setFault({}); }
    const Fault &fault() const { return fault_; }

    // Loads the logger. Without `now` the meter's clock starts at
    // content.clock at the next receive() or takeOutput().
    void setLogger(const LoggerContent &content);
    void setLogger(const LoggerContent &content, double now);
    // The logger as it is now (after writes; clock as it reads at `now`).
    LoggerContent logger(double now) const;
    QDateTime meterClock(double now) const;

    void receive(const QByteArray &bytes, double now);
    QByteArray takeOutput(double now);

    bool streaming() const { return streaming_; }
    bool loggerMode() const { return attention_; }
    int queuedBytes() const { return output_.size(); }
    // When the next byte falls due or the next frame is made; infinity when
    // nothing is queued and the stream is off (nothing happens until the
    // program sends something).
    double nextEventTime() const;

private:
    double settle(double now);
    void runStream(double now);
    void sendFrame(double at);
    QByteArray spoilFrame(QByteArray frame);
    void sendReply(QByteArray reply, bool statusBlock, double now);
    void handle(const QByteArray &request, double now);
    void consumeFault();
    QByteArray noise(int count);

    LiveSettings live_;
    LiveSignal signal_;
    OutputQueue output_;
    RequestParser parser_;
    LoggerMemory memory_;
    std::optional<LoggerContent> unanchored_;
    Fault fault_;
    int faultLeft_ = 0;
    std::minstd_rand noise_{7};
    bool streaming_ = false;
    bool attention_ = false;
    bool silentUntilRelease_ = false;
    double nextFrame_ = 0.0;
    double lastNow_ = -std::numeric_limits<double>::infinity();
};

} // namespace emulator
