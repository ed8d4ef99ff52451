#pragma once

#include "platform/devices.h"

namespace platform {

// The serial ports QSerialPortInfo finds.
class QtPortLister : public PortLister
{
public:
    QList<DetectedPort> ports() const override;
};

} // namespace platform
