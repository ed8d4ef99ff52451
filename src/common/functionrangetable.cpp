#include "common/functionrangetable.h"

#include <array>

// Function/range codes (frame byte 2). The high nibble selects the
// function, the low nibble the range; several codes share a row.
//
//   codes       function     range        full scale
//   0x10-0x15   "uA"         "5000 uA"    5000
//   0x20-0x25   "Ohm"        "500 Ohm" .. "50M Ohm"
//   0x40-0x41   "V"          "5 V"        5
//   0x42-0x44   "V"          "50 V" .. "1000 V"
//   0x50        "A"          "5 A"        5
//   0x51-0x55   "A"          "10 A"       10
//   0x60-0x63   "Cx"         "500 nF" .. "500 uF"  (full scale in nF)
//   0x80-0x85   "mV"         "500 mV"     500
//   0x90-0x95   "mA"         "500 mA"     500
//   0xA0-0xA5   "Diode"      "5 V"        5
//   0xC0-0xC5   "Frequency"  "50 Hz" .. "5M Hz"
//   anything else: no row

namespace common {

namespace {

struct Row
{
    unsigned char first;
    unsigned char last;
    const char *functionText;
    const char *rangeText;
    double fullScale;
};

constexpr auto rows = std::to_array<Row>({
    {0x10, 0x15, "uA", "5000 uA", 5000},
    {0x20, 0x20, "Ohm", "500 Ohm", 500},
    {0x21, 0x21, "Ohm", "5K Ohm", 5000},
    {0x22, 0x22, "Ohm", "50K Ohm", 50000},
    {0x23, 0x23, "Ohm", "500K Ohm", 500000},
    {0x24, 0x24, "Ohm", "5M Ohm", 5000000},
    {0x25, 0x25, "Ohm", "50M Ohm", 50000000},
    {0x40, 0x41, "V", "5 V", 5},
    {0x42, 0x42, "V", "50 V", 50},
    {0x43, 0x43, "V", "500 V", 500},
    {0x44, 0x44, "V", "1000 V", 1000},
    {0x50, 0x50, "A", "5 A", 5},
    {0x51, 0x55, "A", "10 A", 10},
    {0x60, 0x60, "Cx", "500 nF", 500},
    {0x61, 0x61, "Cx", "5 uF", 5000},
    {0x62, 0x62, "Cx", "50 uF", 50000},
    {0x63, 0x63, "Cx", "500 uF", 500000},
    {0x80, 0x85, "mV", "500 mV", 500},
    {0x90, 0x95, "mA", "500 mA", 500},
    {0xA0, 0xA5, "Diode", "5 V", 5},
    {0xC0, 0xC0, "Frequency", "50 Hz", 50},
    {0xC1, 0xC1, "Frequency", "500 Hz", 500},
    {0xC2, 0xC2, "Frequency", "5K Hz", 5000},
    {0xC3, 0xC3, "Frequency", "50K Hz", 50000},
    {0xC4, 0xC4, "Frequency", "500K Hz", 500000},
    {0xC5, 0xC5, "Frequency", "5M Hz", 5000000},
});

} // namespace

std::optional<FunctionRange> lookupFunctionRange(unsigned char code)
{
    for (const Row &row : rows) {
        if (code >= row.first && code <= row.last)
            return FunctionRange{QString::fromLatin1(row.functionText),
                                 QString::fromLatin1(row.rangeText), row.fullScale};
    }
    return std::nullopt;
}

} // namespace common
