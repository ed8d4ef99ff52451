#include "emulator/loggercontent.h"

#include "emulator/livesettings.h"

namespace emulator {

quint32 LoggerContent::bytesInUse() const
{
    quint32 bytes = 0;
    for (const LoggerSet &set : sets)
        bytes += 12u + 5u * quint32(set.records.size());
    return bytes;
}

namespace {

// A millivolt set rising and falling in steps.
LoggerSet millivoltSet()
{
    LoggerSet set{QDateTime(QDate(2024, 3, 14), QTime(8, 0, 0)), 2, {}};
    for (quint32 i = 0; i < 20; ++i) {
        const quint32 step = i < 10 ? i : 20 - i;
        set.records.append({0x80, 100000 + step * 12340, status::Dc});
    }
    return set;
}

// Volts with a negative reading, an overload and a low battery.
LoggerSet voltSet()
{
    LoggerSet set{QDateTime(QDate(2024, 3, 14), QTime(12, 30, 15)), 10, {}};
    for (quint32 i = 0; i < 50; ++i)
        set.records.append({0x42, 120000 + i * 1110, status::Dc});
    set.records[7].status |= status::Negative;
    set.records[20].status |= status::Overload;
    set.records[33].status |= status::LowBattery;
    set.records[40].status = 0; // AC
    return set;
}

// Three records across a leap day.
LoggerSet leapDaySet()
{
    return {QDateTime(QDate(2000, 2, 28), QTime(23, 59, 55)), 5,
            {{0x21, 12345, status::Dc}, {0x21, 12350, status::Dc}, {0x21, 12355, status::Dc}}};
}

// Resistance and capacitance, continuity mode in between.
LoggerSet mixedSet()
{
    LoggerSet set{QDateTime(QDate(2024, 3, 15), QTime(9, 0, 0)), 60, {}};
    for (quint32 i = 0; i < 6; ++i)
        set.records.append({0x22, 234500 + i * 100, status::Dc});
    set.records.append({0x20, 1200, 0}); // beep mode
    for (quint32 i = 0; i < 5; ++i)
        set.records.append({0x61, 12340 + i * 10, status::Dc});
    return set;
}

} // namespace

LoggerContent LoggerContent::sample()
{
    LoggerContent content;
    content.clock = QDateTime(QDate(2024, 3, 15), QTime(10, 30, 0));
    content.sets = {millivoltSet(), voltSet(), leapDaySet(), mixedSet()};
    return content;
}

} // namespace emulator
