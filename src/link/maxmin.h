#pragma once

#include <QString>

namespace live {

// The largest and smallest reading seen, as their display texts (LBLMAX,
// LBLMIN). Texts are compared by their leading numbers ("-01.234" counts
// -1.234, "-OL" and "" count 0); "OL" ranks above every reading and stays
// the maximum until reset. Texts are copied as shown, never reformatted.
struct MaxMin
{
    QString max;
    QString min;
};

// setmaxmin: folds one reading into the maximum and minimum.
void setmaxmin(const QString &reading, MaxMin &extremes);

// The polling tick's update: empty texts first take the reading, then
// setmaxmin.
void updateMaxMin(const QString &reading, MaxMin &extremes);

} // namespace live
