#pragma once

// The request buffers. A request with parameters is written into a fixed
// byte array and the whole array is sent. A request writes only its
// leading bytes; the bytes after them keep what earlier requests left
// there (0 before the first request). The meter reads only the bytes its
// request needs.
//
//  LOGGER window, 7 bytes      | 0   | 1     | 2 | 3 | 4       | 5     | 6 |
//  ----------------------------+-----+-------+---+---+---------+-------+---+
//  read byte                   | "R" | 0     | 0 | 0 | address | kept  | 0 |
//  write byte                  | "W" | 0     | 0 | 0 | address | value | 0 |
//  set download                | "K" | set-1 | kept ...                  |
//
//  PANEL window, 8 bytes       | 0   | 1..3   | 4       | 5     | 6    | 7 |
//  ----------------------------+-----+--------+---------+-------+------+---+
//  write byte                  | "W" | 0 0 0  | address | value | kept | 0 |
//  set clock                   | "D" | yy mm dd hh mm ss (BCD)  ...  | 0 |
//
// Position 6 of the LOGGER buffer and position 7 of the PANEL buffer are
// never written and stay 0.

#include "logger/meterclock.h"

#include <QByteArray>

#include <initializer_list>

namespace logger {

// Meter memory addresses the program reads and writes.
namespace address {
constexpr quint8 idCodeHigh = 128;
constexpr quint8 idCodeLow = 129;
constexpr quint8 samplingHigh = 130;
constexpr quint8 samplingLow = 131;
constexpr quint8 memorySizeCode = 134;
constexpr quint8 numberOfSets = 135;
} // namespace address

class CommandBuffer
{
public:
    explicit CommandBuffer(int size) : bytes_(size, '\0') {}

    // Writes `leading` from position 0 on and returns the whole buffer.
    // Precondition: no more bytes than the buffer holds.
    QByteArray write(std::initializer_list<quint8> leading);
    QByteArray write(const QByteArray &leading);

    const QByteArray &bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

// The LOGGER window's 7-byte buffer.
class LoggerCommandBuffer
{
public:
    static constexpr int size = 7;

    QByteArray readByte(quint8 memoryAddress);
    QByteArray writeByte(quint8 memoryAddress, quint8 value);
    // "K" with the set number minus 1. Precondition: setNumber 1..256.
    QByteArray download(int setNumber);

    const QByteArray &bytes() const { return buffer_.bytes(); }

private:
    CommandBuffer buffer_{size};
};

// The PANEL window's 8-byte buffer.
class PanelCommandBuffer
{
public:
    static constexpr int size = 8;

    QByteArray writeByte(quint8 memoryAddress, quint8 value);
    QByteArray setClock(const MeterClock &clock);

    const QByteArray &bytes() const { return buffer_.bytes(); }

private:
    CommandBuffer buffer_{size};
};

} // namespace logger
