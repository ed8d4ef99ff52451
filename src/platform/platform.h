#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/serialport.h"
#include "platform/timer.h"

#include <functional>
#include <memory>

namespace platform {

// Everything the windows need from the outside world, handed to each of
// them at construction. The application fills it with the Qt adapters;
// tests fill it with scripted ones.
struct Platform
{
    SerialPort *port = nullptr;
    Clock *clock = nullptr;
    EventPump *pump = nullptr;
    Dialogs *dialogs = nullptr;
    // Makes a new print job each time something is printed.
    std::function<std::unique_ptr<Printer>()> makePrinter;
    // Manual in tests: timers tick only when the test fires them.
    Timer::Mode timerMode = Timer::Mode::Live;
};

} // namespace platform
