#include "platform/qt/qtportlister.h"

#include <QSerialPortInfo>

namespace platform {

namespace {
QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}
} // namespace

QList<DetectedPort> QtPortLister::ports() const
{
    QList<DetectedPort> found;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        DetectedPort port;
        port.device = info.systemLocation();
        port.description = info.description();
        port.manufacturer = info.manufacturer();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            port.vidPid = hex4(info.vendorIdentifier()) + QLatin1Char(':') + hex4(info.productIdentifier());
        port.serialNumber = info.serialNumber();
        found.append(port);
    }
    return found;
}

} // namespace platform
