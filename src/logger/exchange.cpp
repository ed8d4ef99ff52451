#include "logger/exchange.h"

#include "logger/messages.h"
#include "platform/wait.h"

#include <algorithm>

namespace logger {

namespace {
// How often a collection looks at the port while it lets events run.
constexpr double pollSeconds = 0.005;
} // namespace

Exchange::Exchange(const Parts &parts) : parts_(parts) {}

Exchange::Lock::~Lock()
{
    if (exchange_)
        exchange_->busy_ = false;
}

std::optional<Exchange::Lock> Exchange::tryLock()
{
    if (busy_)
        return std::nullopt;
    busy_ = true;
    return Lock(*this);
}

void Exchange::pausePolling()
{
    parts_.polling.pause();
}

void Exchange::resumePolling()
{
    if (!ending())
        parts_.polling.resume();
}

bool Exchange::attention(float waitSeconds)
{
    send(QByteArrayLiteral("A"));
    const bool waited = wait(waitSeconds);
    discardInput();
    return waited;
}

void Exchange::send(const QByteArray &bytes)
{
    parts_.port.send(bytes);
}

void Exchange::discardInput()
{
    parts_.port.read(0);
}

bool Exchange::wait(float seconds)
{
    return platform::waitSeconds(seconds, parts_.clock, parts_.pump);
}

template <typename Ready>
Failure Exchange::waitFor(Ready ready, double limitSeconds)
{
    platform::SerialPort &port = parts_.port;
    bool lost = false;
    const bool done = platform::waitUntil(
        [&] {
            lost = port.deviceLost();
            return lost || ready();
        },
        limitSeconds, parts_.clock, parts_.pump);
    if (lost)
        return Failure::PortLost;
    if (done)
        return Failure::None;
    return ending() ? Failure::Ending : Failure::TimedOut;
}

Failure Exchange::waitForQuiet()
{
    platform::SerialPort &port = parts_.port;
    const double start = parts_.clock.steadySeconds();
    int seen = port.bytesWaiting();
    for (;;) {
        if (!wait(float(replyEndQuietSeconds)))
            return Failure::Ending;
        if (port.deviceLost())
            return Failure::PortLost;
        const int now = port.bytesWaiting();
        if (now == seen)
            return Failure::None;
        seen = now;
        if (parts_.clock.steadySeconds() - start > replyEndQuietLimitSeconds)
            return Failure::None; // still streaming: the length will tell
    }
}

Reply Exchange::collectCount(int count, double limitSeconds, bool untilQuiet)
{
    platform::SerialPort &port = parts_.port;
    Reply reply;
    reply.failure = waitFor([&] { return port.bytesWaiting() >= count; }, limitSeconds);
    if (reply.ok() && untilQuiet)
        reply.failure = waitForQuiet();
    if (!reply.ok())
        return reply;
    reply.bytes = port.read(0);
    if (reply.bytes.size() < count)
        reply.failure = Failure::WrongLength; // the port gave less than it reported
    return reply;
}

Reply Exchange::collectAny(double limitSeconds)
{
    return collectCount(1, limitSeconds);
}

Reply Exchange::collectExactly(int count, double limitSeconds)
{
    platform::SerialPort &port = parts_.port;
    Reply reply;
    reply.failure = waitFor([&] { return port.bytesWaiting() >= count; }, limitSeconds);
    if (reply.ok())
        reply.failure = waitForQuiet();
    if (!reply.ok())
        return reply;
    if (port.bytesWaiting() != count) {
        reply.failure = Failure::WrongLength; // left for the caller to flush
        return reply;
    }
    reply.bytes = port.read(count);
    return reply;
}

Reply Exchange::accumulate(qint64 expectedBytes, const AccumulateLimits &limits,
                           const std::function<void(qint64)> &progress)
{
    platform::SerialPort &port = parts_.port;
    const platform::Clock &clock = parts_.clock;
    Reply reply;
    const double start = clock.steadySeconds();
    double lastArrival = start;
    for (;;) {
        const qint64 missing = expectedBytes - reply.bytes.size();
        if (missing <= 0)
            return reply;
        const int waiting = port.bytesWaiting();
        if (waiting > 0) {
            reply.bytes += port.read(int(std::min<qint64>(waiting, missing)));
            lastArrival = clock.steadySeconds();
            if (progress)
                progress(reply.bytes.size());
            continue;
        }
        if (port.deviceLost()) {
            reply.failure = Failure::PortLost;
            return reply;
        }
        if (ending()) {
            reply.failure = Failure::Ending;
            return reply;
        }
        const double now = clock.steadySeconds();
        const double quiet = reply.bytes.isEmpty() ? limits.firstByte : limits.silence;
        if (now - lastArrival > quiet || now - start > limits.total) {
            reply.failure = Failure::TimedOut;
            return reply;
        }
        parts_.pump.runFor(pollSeconds);
    }
}

void Exchange::finish(const Caption &caption, const std::function<void()> &restoreControls)
{
    if (caption)
        caption(QString());
    if (restoreControls)
        restoreControls();
    release();
    resumePolling();
}

void Exchange::abandon(const FailureNotice &notice, const Caption &caption,
                       const std::function<void()> &restoreControls)
{
    if (!notice.text.isEmpty())
        parts_.dialogs.message(notice.text, {}, notice.icon);
    if (notice.flushInput)
        discardInput();
    finish(caption, restoreControls);
}

FailureNotice Exchange::noticeFor(Failure failure, const QString &timeOutText) const
{
    switch (failure) {
    case Failure::TimedOut:
        return {timeOutText.isEmpty() ? text::timeOutTryAgain : timeOutText,
                platform::MessageIcon::None, true};
    case Failure::WrongLength:
        return {text::badReply, platform::MessageIcon::None, true};
    case Failure::PortLost: {
        const QString reason = parts_.port.errorText();
        return {reason.isEmpty() ? text::portLost : reason, platform::MessageIcon::Critical, false};
    }
    case Failure::None:
    case Failure::Ending:
        break;
    }
    return {};
}

} // namespace logger
