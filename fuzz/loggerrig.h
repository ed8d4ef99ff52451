// What the two logger targets share: the exchange over a simulated line.

#pragma once

#include "fuzz/simulatedline.h"

#include "logger/commandbuffer.h"
#include "logger/exchange.h"
#include "logger/loggerrequests.h"

#include <QRegularExpression>

namespace fuzz {

// Longest any one operation may take, whatever the meter does: the directory
// of 255 sets at the line rate is the longest.
constexpr double longestSeconds = 60.0;

struct Rig
{
    SimulatedLine line;
    NoDialogs dialogs;
    FlagPolling polling;
    logger::Exchange exchange{{line, line, line, dialogs, polling}};
    logger::LoggerCommandBuffer buffer;
    logger::LoggerRequests requests{exchange, buffer};
};

inline bool matches(const char *pattern, const QString &text)
{
    return QRegularExpression(QLatin1String(pattern)).match(text).hasMatch();
}

} // namespace fuzz
