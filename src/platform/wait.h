#pragma once

#include "platform/clock.h"

namespace platform {

// Waits `seconds` while letting events run, measured on the clock's steady
// seconds, so that setting the time of day or a daylight-saving change
// neither ends a wait early nor stretches it. Returns false when it ended
// early because the program is ending.
bool waitSeconds(float seconds, const Clock &clock, EventPump &pump);

// Lets events run until `ready()` holds or `limitSeconds` have passed (on
// the steady clock). Returns ready()'s last answer: false on time-out or
// when the program is ending.
template <typename Ready>
bool waitUntil(Ready ready, double limitSeconds, const Clock &clock, EventPump &pump);

} // namespace platform

#include "platform/wait_impl.h"
