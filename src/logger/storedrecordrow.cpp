#include "logger/storedrecordrow.h"

#include "logger/storedrecordclock.h"

namespace logger {

QString recordRowText(qint64 number, const MeterClock &stamp, const DecodedRecord &record)
{
    const QLatin1Char tab('\t');
    QString row;
    row.reserve(48 + record.value.size() + record.unit.size() + record.range.size());
    row += QString::number(number);
    row += tab;
    appendRecordDate(row, stamp);
    row += tab;
    appendRecordTime(row, stamp);
    row += tab;
    row += record.value;
    row += tab;
    row += record.unit;
    row += tab;
    row += record.range;
    row += tab;
    row += record.acDc;
    row += tab;
    if (record.lowBattery)
        row += QLatin1String(" Low ");
    return row;
}

} // namespace logger
