#pragma once

#include <QString>
#include <array>

namespace common {

// One line of a data file and one row of a record list: eight text fields.
struct DataRecord
{
    enum Field { Rec, Date, Time, Value, Unit, Range, AcDc, Bat, FieldCount };

    std::array<QString, FieldCount> fields;

    QString &operator[](int field) { return fields[static_cast<std::size_t>(field)]; }
    const QString &operator[](int field) const { return fields[static_cast<std::size_t>(field)]; }
    friend bool operator==(const DataRecord &, const DataRecord &) = default;
};

} // namespace common
