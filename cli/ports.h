#pragma once

#include "platform/clock.h"
#include "platform/devices.h"
#include "platform/serialport.h"

#include <QString>

#include <memory>

namespace cli {

inline const QString emulatorDevice = QStringLiteral("emulator");

// The device of this run: --port, else what the windowed program remembers
// for COM1, else the first USB adapter, else /dev/ttyS0.
QString deviceToUse(const QString &argument);

// The port for `device` at 2400,N,8,1, opened; nullptr with the reason
// (the device, the system's cause, the group to join) in `errorText`.
std::unique_ptr<platform::SerialPort> openPort(const QString &device, const platform::Clock &clock,
                                               QString *errorText);

// --list-ports: one tab-separated line per port, "-" for an empty field.
QString portListing(const platform::PortLister &lister);

} // namespace cli
