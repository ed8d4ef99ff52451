#pragma once

#include <QString>
#include <optional>

namespace common {

// One row of the meter's function/range table.
struct FunctionRange
{
    QString functionText; // "V", "mV", "A", "mA", "uA", "Ohm", "Cx", "Diode", "Frequency"
    QString rangeText;    // e.g. "500 mV"
    double fullScale;     // 500 for "500 mV"; nF for capacitance
};

// Looks up the meter's function/range code (frame byte 2). Codes that no
// row lists give nothing.
std::optional<FunctionRange> lookupFunctionRange(unsigned char code);

} // namespace common
