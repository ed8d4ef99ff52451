#include "platform/devices.h"

namespace platform {

bool isUsbAdapter(const DetectedPort &port)
{
    const QString name = port.device.section(QLatin1Char('/'), -1);
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"));
}

QString chooseDevice(int comNumber, const DeviceSources &sources)
{
    if (!sources.fromArguments.isEmpty())
        return sources.fromArguments;
    if (!sources.remembered.isEmpty())
        return sources.remembered;
    int adapter = 0;
    for (const DetectedPort &port : sources.detected) {
        if (isUsbAdapter(port) && ++adapter == comNumber)
            return port.device;
    }
    return comNumber == 2 ? QStringLiteral("/dev/ttyS1") : QStringLiteral("/dev/ttyS0");
}

} // namespace platform
