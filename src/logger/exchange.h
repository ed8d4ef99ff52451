#pragma once

#include "logger/polling.h"
#include "logger/timing.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/serialport.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

namespace logger {

// Shows a status caption ("PLEASE WAIT.....", or "" to clear it).
using Caption = std::function<void(const QString &)>;

// Why a reply was not collected.
enum class Failure {
    None,
    TimedOut,    // the limit passed before the reply was complete
    WrongLength, // the reply is longer (or shorter) than the request gets
    PortLost,    // the serial device went away
    Ending,      // the program is ending
};

struct Reply
{
    QByteArray bytes;
    Failure failure = Failure::None;
    bool ok() const { return failure == Failure::None; }
};

// What the user is told when an exchange is given up.
struct FailureNotice
{
    QString text; // empty: nothing is shown (the program is ending)
    platform::MessageIcon icon = platform::MessageIcon::None;
    bool flushInput = false; // read and drop what is waiting
};

// The exchange with the meter's logger over the shared serial port. Every
// memory operation runs the same frame:
//
//   1. pausePolling()              the live reading stops using the port
//   2. a status caption            (the operation shows it)
//   3. attention()                 "A", a wait, the input dropped
//   4. send() and collect...()     the requests and their replies
//   5. finish() or abandon()       caption cleared, " " sent, polling again
//
// Replies are collected in one of three ways, each bounded in time:
//   collectCount   until at least n bytes are waiting, then all of them
//   collectAny     until any byte is waiting, then all of them
//   collectExactly until exactly n bytes are waiting (more is refused)
//   accumulate     every arrival appended until the expected length
// A reply that is judged by its length (the status block, the clock) is
// read only once the line has gone quiet after it (replyEndQuietSeconds),
// so that a byte too many is seen as part of it and not left to be taken
// as the answer to the next request.
// A wait also ends at once when the device is lost or the program ends.
//
// Only one operation may use the port at a time: an operation takes the
// Lock first and does nothing when it is refused (another one is running,
// possibly further down the call stack while its wait lets events run).
class Exchange
{
public:
    struct Parts
    {
        platform::SerialPort &port;
        const platform::Clock &clock;
        platform::EventPump &pump;
        platform::Dialogs &dialogs;
        Polling &polling;
    };

    explicit Exchange(const Parts &parts);
    Exchange(const Exchange &) = delete;
    Exchange &operator=(const Exchange &) = delete;

    class Lock
    {
    public:
        Lock(Lock &&other) noexcept : exchange_(std::exchange(other.exchange_, nullptr)) {}
        Lock &operator=(Lock &&) = delete;
        ~Lock();

    private:
        friend class Exchange;
        explicit Lock(Exchange &exchange) : exchange_(&exchange) {}
        Exchange *exchange_;
    };

    // The right to use the port; nothing while another operation has it.
    std::optional<Lock> tryLock();
    bool busy() const { return busy_; }

    void pausePolling();
    // Lets the live reading run again (not once the program is ending).
    void resumePolling();

    // "A", a wait of `waitSeconds`, the input dropped. False when the
    // program is ending.
    bool attention(float waitSeconds);
    void send(const QByteArray &bytes);
    void release() { send(QByteArrayLiteral(" ")); }
    void discardInput();
    // A timed wait that lets events run; false when the program is ending.
    bool wait(float seconds);

    // With `untilQuiet`, reads once the line has gone quiet after the
    // count was reached.
    Reply collectCount(int count, double limitSeconds, bool untilQuiet = false);
    Reply collectAny(double limitSeconds);
    // Waits for the line to go quiet after `count` bytes; a longer reply is
    // refused (WrongLength) and left unread for the caller to flush.
    Reply collectExactly(int count, double limitSeconds);
    // Collects until `expectedBytes` have arrived; bytes beyond them are
    // left unread. `progress` is told the length collected after each read.
    Reply accumulate(qint64 expectedBytes, const AccumulateLimits &limits,
                     const std::function<void(qint64 collected)> &progress = {});

    // The normal end: caption cleared, `restoreControls`, " ", polling on.
    void finish(const Caption &caption, const std::function<void()> &restoreControls = {});
    // The end after a failure: the message, the flush if asked, then as
    // finish().
    void abandon(const FailureNotice &notice, const Caption &caption,
                 const std::function<void()> &restoreControls = {});

    // The notice for a failed reply; a time-out shows `timeOutText`.
    FailureNotice noticeFor(Failure failure, const QString &timeOutText = {}) const;

    bool ending() const { return parts_.pump.ending(); }
    platform::SerialPort &port() { return parts_.port; }
    const platform::Clock &clock() const { return parts_.clock; }
    platform::EventPump &pump() { return parts_.pump; }
    platform::Dialogs &dialogs() { return parts_.dialogs; }

private:
    // Lets events run until `ready` holds; the failure if it does not.
    template <typename Ready>
    Failure waitFor(Ready ready, double limitSeconds);
    // Waits until no byte has arrived for replyEndQuietSeconds.
    Failure waitForQuiet();

    Parts parts_;
    bool busy_ = false;
};

} // namespace logger
