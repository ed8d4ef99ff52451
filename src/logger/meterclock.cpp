#include "logger/meterclock.h"

#include "common/numbers.h"

namespace logger {

namespace {

QString twoDigits(int value)
{
    return common::formatNumber(double(value), u"00");
}

QString clockText(const MeterClock &c, const QString &dateTimeGap)
{
    return twoDigits(c.year) + u'-' + twoDigits(c.month) + u'-' + twoDigits(c.day) + dateTimeGap
           + twoDigits(c.hour) + u':' + twoDigits(c.minute) + u':' + twoDigits(c.second);
}

} // namespace

int bcdValue(quint8 byte)
{
    const int high = byte >> 4;
    const int low = byte & 0x0F;
    if (high > 9)
        return 0;
    if (low > 9)
        return high; // "1A" reads as 1, "A" as 0
    return high * 10 + low;
}

quint8 bcdByte(int value)
{
    return quint8((value / 10) * 16 + value % 10);
}

std::optional<MeterClock> meterClockFrom(QByteArrayView bytes)
{
    if (bytes.size() < clockValueBytes)
        return std::nullopt;
    const auto at = [&](int i) { return bcdValue(quint8(bytes[i])); };
    return MeterClock{at(0), at(1), at(2), at(3), at(4), at(5)};
}

QByteArray clockBytes(const MeterClock &c)
{
    QByteArray bytes;
    for (int value : {c.year, c.month, c.day, c.hour, c.minute, c.second})
        bytes.append(char(bcdByte(value)));
    return bytes;
}

MeterClock meterClockOf(const QDateTime &time)
{
    const QDate d = time.date();
    const QTime t = time.time();
    // The year is written with four digits and its last two are kept.
    const int year = ((d.year() % 100) + 100) % 100;
    return {year, d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

QString setStartText(const MeterClock &clock)
{
    return clockText(clock, QStringLiteral("----"));
}

QString meterClockText(const MeterClock &clock)
{
    return clockText(clock, QStringLiteral("-----"));
}

} // namespace logger
