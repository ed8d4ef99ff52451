#pragma once

// The meter's logger: answers the logger requests from its content and
// keeps the meter's clock running. Usage:
//
//   LoggerMemory memory;                  // LoggerContent::sample()
//   memory.setContent(content, now);      // the clock reads content.clock at `now`
//   QByteArray reply = memory.answer(request, now);
//
// Requests (first byte) and replies:
//   | "Y"                       | 10-byte status block                       |
//   | "R",0,0,0,addr            | 1 byte: 128-131 ID code and sampling time |
//   |                           | (high, low), 134 memory-size code,         |
//   |                           | 135 number of sets, anything else 0        |
//   | "W",0,0,0,addr,value      | 1 byte "W"; writes 128-131 and 134         |
//   | "I"                       | 12 bytes per set                           |
//   | "K",n                     | set n+1: header and records; nothing when  |
//   |                           | there is no such set                       |
//   | "C"                       | 6 BCD bytes, the running clock             |
//   | "D",yy,mm,dd,hh,mm,ss     | 1 byte "D"; sets the clock (an invalid     |
//   |                           | date or non-BCD byte leaves it alone)      |
// Anything else gets no reply.

#include "emulator/loggercontent.h"

#include <QByteArray>
#include <QDateTime>

namespace emulator {

class LoggerMemory
{
public:
    LoggerMemory();

    void setContent(const LoggerContent &content, double now);
    // The content with `clock` as the meter's clock reads at `now`.
    LoggerContent content(double now) const;

    QDateTime clock(double now) const;
    void setClock(const QDateTime &time, double now);

    QByteArray answer(const QByteArray &request, double now);

private:
    quint8 readByte(int address) const;
    void writeByte(int address, quint8 value);

    LoggerContent content_;
    QDateTime clockBase_; // the meter's clock at clockSetAt_
    double clockSetAt_ = 0.0;
};

} // namespace emulator
