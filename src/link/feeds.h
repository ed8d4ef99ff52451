#pragma once

#include <QString>

namespace live {

// What the panel writes into the live graph on a sampling tick: the leading
// number of the value text in its shortest plain form ("012.34" -> "12.34";
// "OL", "-OL" and the empty text give "0").
QString graphFeedText(const QString &valueText);

// What the panel writes into the live list on a sampling tick:
// "  10:15:58    V    5 V:     1.2345".
struct ListFeedLabels
{
    QString time;     // LBLTIME
    QString function; // LBLFUN
    QString range;    // LBLRAN
    QString value;    // LBLVALUE
};
QString listFeedText(const ListFeedLabels &labels);

// The sampling time in whole milliseconds from the sampling label ("2.5 Sec"
// -> 2500), as the sampling timers use it.
int samplingIntervalMs(const QString &samplingText);

} // namespace live
