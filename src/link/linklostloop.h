#pragma once

#include "platform/clock.h"
#include "platform/serialport.h"

namespace live {

// The heart of the link-lost routine: nudges a silent meter with " " every
// 0.5 s until at least one byte is waiting. When the device itself has gone
// (an unplugged adapter) it also tries to open it again on every round, so
// plugging it back in resumes the link.
//
// Returns true once bytes are waiting, false when the program is ending.
// The bytes that ended the loop stay in the buffer.
bool nudgeUntilBytesArrive(platform::SerialPort &port, const platform::Clock &clock,
                           platform::EventPump &pump);

constexpr float nudgeIntervalSeconds = 0.5f;

} // namespace live
