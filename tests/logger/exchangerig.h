#pragma once

// The exchange over the scripted platform, with a manual Timer6 that is
// running when the test starts.

#include "logger/exchange.h"
#include "logger/polling.h"
#include "platform/timer.h"
#include "support/scriptedclock.h"
#include "support/scripteddialogs.h"
#include "support/scriptedport.h"
#include "support/scriptedpump.h"

namespace loggertest {

struct ExchangeRig
{
    testsupport::ScriptedPort port;
    testsupport::ScriptedClock clock{43200.0};
    testsupport::ScriptedPump pump{clock};
    testsupport::ScriptedDialogs dialogs;
    platform::Timer timer6{platform::Timer::Mode::Manual};
    logger::TimerPolling polling{timer6};
    logger::Exchange exchange{{port, clock, pump, dialogs, polling}};

    ExchangeRig()
    {
        port.open();
        timer6.setInterval(50);
        timer6.setEnabled(true);
        pump.setStepLimit(200'000);
    }

    // Bytes that arrive `seconds` of clock time from now.
    void feedAfter(double seconds, const QByteArray &bytes)
    {
        pump.after(pump.advanced() + seconds, [this, bytes] { port.feed(bytes); });
    }
    void atTime(double seconds, std::function<void()> action)
    {
        pump.after(pump.advanced() + seconds, std::move(action));
    }
};

} // namespace loggertest
