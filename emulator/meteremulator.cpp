#include "emulator/meteremulator.h"

#include "emulator/meterbytes.h"

#include <algorithm>
#include <cmath>

namespace emulator {

MeterEmulator::MeterEmulator()
    : MeterEmulator(LiveSettings{})
{
}

MeterEmulator::MeterEmulator(const LiveSettings &live)
{
    setLive(live);
    unanchored_ = LoggerContent::sample();
}

void MeterEmulator::setLive(const LiveSettings &live)
{
    live_ = live;
    signal_.reset(live.seed);
}

void MeterEmulator::setFault(const Fault &fault)
{
    fault_ = fault;
    if (fault_.bytes <= 0)
        fault_.bytes = defaultFaultBytes(fault.kind);
    faultLeft_ = fault.times;
    silentUntilRelease_ = false;
}

void MeterEmulator::consumeFault()
{
    if (fault_.times > 0 && --faultLeft_ <= 0)
        fault_ = {};
}

void MeterEmulator::setLogger(const LoggerContent &content)
{
    unanchored_ = content;
}

void MeterEmulator::setLogger(const LoggerContent &content, double now)
{
    unanchored_.reset();
    memory_.setContent(content, now);
}

LoggerContent MeterEmulator::logger(double now) const
{
    return unanchored_ ? *unanchored_ : memory_.content(now);
}

QDateTime MeterEmulator::meterClock(double now) const
{
    return logger(now).clock;
}

double MeterEmulator::settle(double now)
{
    lastNow_ = std::max(now, lastNow_);
    if (unanchored_) {
        memory_.setContent(*unanchored_, lastNow_);
        unanchored_.reset();
    }
    runStream(lastNow_);
    return lastNow_;
}

void MeterEmulator::runStream(double now)
{
    if (!streaming_)
        return;
    const double period = 1.0 / std::max(live_.framesPerSecond, 0.01);
    if (now - nextFrame_ > maxQueuedSeconds)
        nextFrame_ += std::floor((now - nextFrame_ - maxQueuedSeconds) / period) * period;
    while (nextFrame_ <= now) {
        sendFrame(nextFrame_);
        nextFrame_ += period;
    }
}

double MeterEmulator::nextEventTime() const
{
    const double frame = streaming_ ? nextFrame_ : std::numeric_limits<double>::infinity();
    return std::min(frame, output_.nextDue());
}

QByteArray MeterEmulator::noise(int count)
{
    QByteArray bytes;
    std::uniform_int_distribution<int> byteValue(0, 254);
    while (bytes.size() < count) {
        const int value = byteValue(noise_);
        bytes.append(char(value >= 2 ? value + 1 : value)); // never a start byte
    }
    return bytes;
}

void MeterEmulator::sendFrame(double at)
{
    const quint32 digits = live_.fixedDigits ? *live_.fixedDigits
                                             : signal_.nextDigits(live_.code, live_.framesPerSecond);
    QByteArray value = bcdDigits(digits);
    if (live_.valueFlag)
        value[2] = char(quint8(value.at(2)) | 0x04);
    QByteArray frame = liveFrame(live_.code, value, live_.status);
    if (silentUntilRelease_)
        return;
    // Faster than the line: the meter skips a frame rather than fall
    // further and further behind.
    if (output_.busyFor(at) + frameBytes * byteSeconds > maxQueuedSeconds)
        return;
    if (spoilsFrames(fault_.kind)) {
        frame = spoilFrame(frame);
        consumeFault();
    }
    output_.push(frame, at);
}

QByteArray MeterEmulator::spoilFrame(QByteArray frame)
{
    switch (fault_.kind) {
    case FaultKind::Silence:
        return {};
    case FaultKind::StrayBytes:
        return noise(fault_.bytes) + frame;
    case FaultKind::WrongEndByte:
        frame[6] = char(4);
        return frame;
    case FaultKind::TruncatedFrame:
        return frame.left(fault_.bytes);
    case FaultKind::Garbage:
        return noise(fault_.bytes);
    default:
        return frame;
    }
}

void MeterEmulator::sendReply(QByteArray reply, bool statusBlock, double now)
{
    if (reply.isEmpty() || silentUntilRelease_)
        return;
    const bool applies = spoilsReplies(fault_.kind)
        && (fault_.kind != FaultKind::LongStatusReply || statusBlock);
    if (applies) {
        switch (fault_.kind) {
        case FaultKind::ShortReply:
            reply.chop(1);
            break;
        case FaultKind::LongStatusReply:
            reply.append(char(0));
            break;
        case FaultKind::SilentMidReply:
            reply = reply.left(reply.size() / 2);
            silentUntilRelease_ = true;
            break;
        default: // silence, no reply
            reply.clear();
            break;
        }
        consumeFault();
    }
    output_.push(reply, now);
}

void MeterEmulator::handle(const QByteArray &request, double now)
{
    switch (request.at(0)) {
    case ' ':
        attention_ = false;
        silentUntilRelease_ = false;
        if (!streaming_) {
            streaming_ = true;
            nextFrame_ = now;
            runStream(now);
        }
        return;
    case 'A':
        streaming_ = false;
        attention_ = true;
        return;
    default:
        if (attention_)
            sendReply(memory_.answer(request, now), request.at(0) == 'Y', now);
        return;
    }
}

void MeterEmulator::receive(const QByteArray &bytes, double now)
{
    now = settle(now);
    for (const QByteArray &request : parser_.feed(bytes, now))
        handle(request, now);
}

QByteArray MeterEmulator::takeOutput(double now)
{
    return output_.take(settle(now));
}

} // namespace emulator
