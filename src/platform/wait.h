#pragma once

#include "platform/clock.h"

namespace platform {

// Waits `seconds` of clock time while letting events run, and survives
// midnight: when the clock reads less than at the start, the wait counts
// the seconds asked for from midnight. Returns false when it ended early
// because the program is ending.
bool waitSeconds(float seconds, const Clock &clock, EventPump &pump);

// Lets events run until `ready()` holds or `limitSeconds` of clock time
// have passed (midnight-safe like waitSeconds). Returns ready()'s last
// answer: false on time-out or when the program is ending.
template <typename Ready>
bool waitUntil(Ready ready, double limitSeconds, const Clock &clock, EventPump &pump);

// Seconds between two readings of the time of day, across midnight.
double elapsedSince(double startSeconds, double nowSeconds);

} // namespace platform

#include "platform/wait_impl.h"
