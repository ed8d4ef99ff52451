#pragma once

// One row of the downloaded-record list, columns separated by tabs:
//
//  column | content
//  -------+---------------------------------------------------------
//    0    | record number within the set, 1 upwards
//    1    | date "yy-mm-dd"
//    2    | time "hh:mm:ss"
//    3    | value text
//    4    | unit text
//    5    | range text
//    6    | "DC", "AC", "BEEP" or empty
//    7    | " Low " with the low-battery bit, else empty (so the row
//         |   then ends with a tab)

#include "logger/meterclock.h"
#include "logger/storedrecord.h"

#include <QString>

namespace logger {

QString recordRowText(qint64 number, const MeterClock &stamp, const DecodedRecord &record);

} // namespace logger
