#include "cli/ports.h"

#include "emulator/emulatorport.h"
#include "platform/appsettings.h"
#include "platform/devices.h"
#include "platform/qt/qtportlister.h"
#include "platform/qt/qtserialport.h"

namespace cli {

namespace {
const QString lineSettings = QStringLiteral("2400,N,8,1");
}

QString deviceToUse(const QString &argument)
{
    return platform::chooseDevice(
        1, {argument, platform::AppSettings().device(1), platform::QtPortLister().ports()});
}

std::unique_ptr<platform::SerialPort> openPort(const QString &device, const platform::Clock &clock,
                                               QString *errorText)
{
    std::unique_ptr<platform::SerialPort> port;
    if (device == emulatorDevice)
        port = std::make_unique<emulator::EmulatorPort>(clock);
    else
        port = std::make_unique<platform::QtSerialPort>(platform::QtSerialPort::DeviceMap{{1, device}});
    port->setCommPort(1);
    port->setSettings(lineSettings);
    if (!port->open()) {
        *errorText = port->errorText();
        return nullptr;
    }
    return port;
}

QString portListing(const platform::PortLister &lister)
{
    const auto field = [](const QString &text) { return text.isEmpty() ? QStringLiteral("-") : text; };
    QString listing;
    for (const platform::DetectedPort &port : lister.ports()) {
        listing += QStringList{field(port.device), field(port.description), field(port.manufacturer),
                               field(port.vidPid), field(port.serialNumber)}
                       .join(QLatin1Char('\t'))
                   + QLatin1Char('\n');
    }
    return listing;
}

} // namespace cli
