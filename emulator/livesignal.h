#pragma once

// Plausible readings for the live frames: a slow sine (one minute per
// period) between 15 % and 75 % of the range's full scale, plus noise of
// about 0.2 % of full scale. Usage:
//
//   emulator::LiveSignal signal(seed);
//   QByteArray valueBytes = signal.next(code, framesPerSecond);
//
// Deterministic: the same seed gives the same sequence of readings.

#include <QByteArray>
#include <QtGlobal>
#include <random>

namespace emulator {

// Counts the six-digit value reaches at the range's full scale (500000 for
// most ranges, 100000 for "1000 V" and "10 A", 50000 for capacitance,
// whose reading has five digits).
quint32 fullScaleDigits(quint8 code);

class LiveSignal
{
public:
    explicit LiveSignal(quint32 seed = 1);

    // Starts the sequence again from its first reading.
    void reset(quint32 seed);

    // Digits of the next reading (the last digit always 0).
    quint32 nextDigits(quint8 code, double framesPerSecond);

private:
    std::minstd_rand random_;
    quint64 index_ = 0;
};

} // namespace emulator
