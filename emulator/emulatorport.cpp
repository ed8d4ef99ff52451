#include "emulator/emulatorport.h"

namespace emulator {

namespace {

constexpr double day = 86400.0;

} // namespace

EmulatorPort::EmulatorPort(const platform::Clock &clock)
    : clock_(clock)
    , lastReading_(clock.secondsSinceMidnight())
{
}

double EmulatorPort::emulatorTime() const
{
    const double reading = clock_.secondsSinceMidnight();
    // A jump back by more than half a day is midnight; a smaller one is
    // the clock being set back, which the emulator does not notice.
    if (reading < lastReading_ - day / 2)
        dayOffset_ += day;
    else if (reading < lastReading_)
        dayOffset_ += lastReading_ - reading;
    lastReading_ = reading;
    return reading + dayOffset_;
}

bool EmulatorPort::open()
{
    open_ = true;
    return true;
}

void EmulatorPort::close()
{
    open_ = false;
    received_.clear();
}

void EmulatorPort::pull()
{
    const QByteArray bytes = emulator_.takeOutput(emulatorTime());
    if (open_)
        received_.append(bytes);
}

int EmulatorPort::bytesWaiting()
{
    pull();
    return int(received_.size());
}

QByteArray EmulatorPort::read(int length)
{
    pull();
    const qsizetype count = length <= 0 ? received_.size() : std::min<qsizetype>(length, received_.size());
    const QByteArray taken = received_.left(count);
    received_.remove(0, count);
    return taken;
}

void EmulatorPort::send(const QByteArray &bytes)
{
    if (open_)
        emulator_.receive(bytes, emulatorTime());
    else
        pull(); // keeps the meter's time moving; what it sends is lost
}

} // namespace emulator
