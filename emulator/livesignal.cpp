#include "emulator/livesignal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace emulator {

quint32 fullScaleDigits(quint8 code)
{
    const int function = code >> 4;
    const int range = code & 0xF;
    if (function == 0x6)
        return 50000;
    if ((function == 0x4 && range == 4) || (function == 0x5 && range >= 1))
        return 100000;
    return 500000;
}

LiveSignal::LiveSignal(quint32 seed)
{
    reset(seed);
}

void LiveSignal::reset(quint32 seed)
{
    random_.seed(seed == 0 ? 1 : seed);
    index_ = 0;
}

quint32 LiveSignal::nextDigits(quint8 code, double framesPerSecond)
{
    const double fullScale = fullScaleDigits(code);
    const double rate = framesPerSecond > 0 ? framesPerSecond : 4.0;
    const double phase = 2.0 * std::numbers::pi * double(index_++) / (60.0 * rate);
    std::uniform_real_distribution<double> noise(-0.002, 0.002);
    const double value = fullScale * (0.45 + 0.30 * std::sin(phase) + noise(random_));
    const double clamped = std::clamp(value, 0.0, fullScale - 10.0);
    return quint32(clamped / 10.0) * 10u;
}

} // namespace emulator
