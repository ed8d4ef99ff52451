#pragma once

#include <QString>
#include <QtGlobal>

namespace common {

// The values every window may read and write. One instance lives as long
// as the program and is handed to each window; tests make their own.
struct SharedValues
{
    qint16 portNumber = 0;     // 1 or 2, chosen at start-up
    qint16 valueByteFlag = 0;  // bit 2 of the third value byte of the latest live frame
    double scaleMax = 0;       // largest full scale met with CheckMaxMin on
    double scaleHalf = 0;      // half of scaleMax

    qint16 analogOn = 0;       // -1 (all bits set) while the analog dial is open
    qint16 listFeedOn = 0;     // 1 while the live list takes readings
    qint16 graphFeedOn = 0;    // 1 while the live graph takes readings

    qint16 pcSampling = 0;     // clock refresh by sampling time
    qint16 sampleTick = 0;
    qint16 tickPeriod = 0;

    double recTotal = 0;       // record count of the set chosen in the logger window

    // Selection of the opened-file graph.
    double memTotal = 0, memScaleLimit = 0, memFirst = 0, memLast = 0, memCount = 0;
    double memMin = 0, memMax = 0;
    QString memTimeFirst, memTimeMid, memTimeLast;

    // Selection of the downloaded-record graph.
    double recScaleLimit = 0, recScaleHalf = 0, recFirst = 0, recLast = 0, recCount = 0;
    double recMin = 0;
    QString recTimeFirst, recTimeMid, recTimeLast;

    QString saveFileName;      // the list SAVE in progress
};

} // namespace common
