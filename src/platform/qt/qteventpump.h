#pragma once

#include "platform/clock.h"

#include <QList>

class QEventLoop;

namespace platform {

// Lets Qt handle events for a while, sleeping in a local event loop (no
// busy waiting). Once requestEnd() is called every wait, running or
// future, returns at once: call it when the main window closes, so that
// handlers waiting inside the event loop unwind.
class QtEventPump : public EventPump
{
public:
    QtEventPump() = default;
    QtEventPump(const QtEventPump &) = delete;
    QtEventPump &operator=(const QtEventPump &) = delete;

    // Returns after `seconds`, or earlier when requestEnd() is called.
    // 0 (or less) handles the pending events and returns.
    void runFor(double seconds) override;
    bool ending() const override { return ending_; }

    void requestEnd();

private:
    bool ending_ = false;
    QList<QEventLoop *> loops_; // running local loops, innermost last
};

} // namespace platform
