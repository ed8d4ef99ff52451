#include "platform/devices.h"

#include <QFileInfo>

#include <algorithm>

namespace platform {

namespace {

const DetectedPort *findPort(const QString &device, const QList<DetectedPort> &detected)
{
    const auto found = std::find_if(detected.begin(), detected.end(),
                                    [&](const DetectedPort &port) { return port.device == device; });
    return found == detected.end() ? nullptr : &*found;
}

QString detectedDefault(int comNumber, const QList<DetectedPort> &detected)
{
    int adapter = 0;
    for (const DetectedPort &port : detected) {
        if (isUsbAdapter(port) && ++adapter == comNumber)
            return port.device;
    }
    return comNumber == 2 ? QStringLiteral("/dev/ttyS1") : QStringLiteral("/dev/ttyS0");
}

} // namespace

bool isUsbAdapter(const DetectedPort &port)
{
    const QString name = port.device.section(QLatin1Char('/'), -1);
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"));
}

bool isPresent(const QString &device, const QList<DetectedPort> &detected)
{
    return device == emulatorDeviceName || findPort(device, detected) != nullptr
           || QFileInfo::exists(device);
}

DeviceChoice chooseDeviceFor(int comNumber, const DeviceSources &sources)
{
    DeviceChoice choice;
    if (!sources.fromArguments.isEmpty()) {
        choice.device = sources.fromArguments;
    } else if (!sources.remembered.isEmpty() && isPresent(sources.remembered, sources.detected)) {
        choice.device = sources.remembered;
    } else {
        choice.missingRemembered = sources.remembered;
        choice.device = detectedDefault(comNumber, sources.detected);
    }
    if (const DetectedPort *port = findPort(choice.device, sources.detected))
        choice.description = port->description;
    return choice;
}

QString chooseDevice(int comNumber, const DeviceSources &sources)
{
    return chooseDeviceFor(comNumber, sources).device;
}

QString deviceCaption(const QString &device, const QString &description)
{
    if (device == emulatorDeviceName)
        return QStringLiteral("the built-in meter emulator");
    return description.isEmpty() ? device : device + QStringLiteral(" - ") + description;
}

} // namespace platform
