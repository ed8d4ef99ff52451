#pragma once

// What the emulated meter shows on its display, i.e. what its live frames
// carry. Usage:
//
//   emulator::LiveSettings live;
//   live.code = 0x42;                                   // "50 V"
//   live.status = emulator::status::Dc | emulator::status::Auto;
//   live.fixedDigits = 12340;                           // shows 01.234
//   port.emulator().setLive(live);
//
// Without fixedDigits the reading is a slow sine with a little noise inside
// the range, the same sequence for the same seed.

#include <QtGlobal>
#include <optional>

namespace emulator {

// Bits of the status byte (frame byte 6; the low four bits also in stored
// records).
namespace status {
inline constexpr quint8 Negative = 0x01;
inline constexpr quint8 LowBattery = 0x02;
inline constexpr quint8 Overload = 0x04;
inline constexpr quint8 Dc = 0x08; // in "Ohm": clear means continuity beep
inline constexpr quint8 Auto = 0x10;
inline constexpr quint8 Min = 0x20;
inline constexpr quint8 Max = 0x40;
inline constexpr quint8 Rel = 0x80;
} // namespace status

struct LiveSettings
{
    quint8 code = 0x80;                          // function/range code, 0x80 = "500 mV"
    quint8 status = status::Dc | status::Auto;   // status byte as sent
    // Six decimal digits 0..999999 sent as the three value bytes (for a
    // capacitance code only the low five digits count). Empty: generated.
    std::optional<quint32> fixedDigits;
    // Sets bit 2 of value byte 3 (the low nibble of the last value byte).
    // Generated readings keep that nibble 0, so the bit is only ever set
    // on purpose.
    bool valueFlag = false;
    double framesPerSecond = 4.0;                // frames per second while streaming
    quint32 seed = 1;                            // noise of generated readings
};

} // namespace emulator
