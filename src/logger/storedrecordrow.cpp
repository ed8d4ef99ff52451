#include "logger/storedrecordrow.h"

#include "logger/storedrecordclock.h"

namespace logger {

QString recordRowText(qint64 number, const MeterClock &stamp, const DecodedRecord &record)
{
    const QLatin1Char tab('\t');
    QString row = QString::number(number);
    row += tab + recordDateText(stamp) + tab + recordTimeText(stamp) + tab + record.value + tab
           + record.unit + tab + record.range + tab + record.acDc + tab;
    if (record.lowBattery)
        row += QLatin1String(" Low ");
    return row;
}

} // namespace logger
