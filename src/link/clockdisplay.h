#pragma once

#include "common/sharedvalues.h"

#include <QString>

namespace live {

// The panel's time display: hours, minutes and seconds of a time of day
// (seconds since midnight), two digits each, joined by ":".
QString clockText(double secondsSinceMidnight);

// Whether this clock tick refreshes the display. With pcSampling 1 the
// display is refreshed once every sampling time, counted in whole ticks
// (sampleTick counts them).
bool clockRefreshDue(common::SharedValues &shared, double samplingSeconds);

// The interval to the next clock tick: just after the next whole period
// (tickPeriod ms), never less than 100 ms away.
int nextClockInterval(int millisecondsOfDay, int tickPeriod);

} // namespace live
