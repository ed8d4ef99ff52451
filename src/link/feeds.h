#pragma once

#include <QDate>
#include <QDateTime>
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

// The date that belongs with the time a list text starts with, as seen at
// `now`: the time label is refreshed only on its own ticks, so just after
// midnight it may still say yesterday's time (or, rounded up, already
// today's 00:00:00 a moment early). The date is the one of the moment
// nearest to `now` with that time of day; a text without a time gets
// `now`'s date.
QDate listFeedDate(const QString &feedText, const QDateTime &now);

// The sampling time in whole milliseconds from the sampling label ("2.5 Sec"
// -> 2500), as the sampling timers use it.
int samplingIntervalMs(const QString &samplingText);

} // namespace live
