#pragma once

// The serial port of the "emulator" device: an in-process meter on the
// other end of the line. Usage:
//
//   emulator::EmulatorPort port(clock);           // any platform::Clock
//   port.emulator().setLive({.code = 0x80, .fixedDigits = 123450});
//   port.emulator().setFast(true);                // optional: no 2400-baud pacing
//   port.open();
//   port.send(" ");
//   ... clock moves on ...
//   QByteArray frame = port.read(7);
//
// Time is the clock's seconds since midnight made continuous: passing
// midnight adds a day, a smaller step backwards (the clock being set) is
// absorbed, so the meter's time neither runs backwards nor stalls.
// open() always succeeds; while closed, sends are dropped and nothing
// arrives.

#include "emulator/meteremulator.h"
#include "platform/clock.h"
#include "platform/serialport.h"

namespace emulator {

class EmulatorPort : public platform::SerialPort
{
public:
    explicit EmulatorPort(const platform::Clock &clock);

    MeterEmulator &emulator() { return emulator_; }
    const MeterEmulator &emulator() const { return emulator_; }

    // The time the emulator is driven with (continuous across midnight).
    double emulatorTime() const;

    void setCommPort(int number) override { commPort_ = number; }
    int commPort() const override { return commPort_; }
    void setSettings(const QString &settings) override { settings_ = settings; }
    QString settings() const { return settings_; }

    bool open() override;
    bool isOpen() const override { return open_; }
    void close() override;
    QString errorText() const override { return {}; }
    QString deviceName() const override { return QStringLiteral("emulator"); }

    int bytesWaiting() override;
    QByteArray read(int length) override;
    void send(const QByteArray &bytes) override;

private:
    void pull();

    const platform::Clock &clock_;
    MeterEmulator emulator_;
    QByteArray received_;
    int commPort_ = 1;
    QString settings_;
    bool open_ = false;
    mutable double lastReading_;
    mutable double dayOffset_ = 0.0;
};

} // namespace emulator
