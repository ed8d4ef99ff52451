#include "platform/qt/openfailure.h"

#include <QFile>

#include <unistd.h>

namespace platform {

QString describeOpenFailure(const OpenFailure &failure)
{
    const QString head = QStringLiteral("Cannot open serial port %1: ").arg(failure.device);
    if (failure.error == QSerialPort::PermissionError && failure.deviceAccessible) {
        // The rights are there, so the refusal is a lock or an exclusive
        // open: someone else has the device.
        return head
               + QStringLiteral("the device is busy, another program is using it (%1).")
                     .arg(failure.systemReason);
    }
    if (failure.error == QSerialPort::PermissionError) {
        return head + failure.systemReason
               + QStringLiteral(". To use serial ports, join the dialout group: "
                                "sudo usermod -aG dialout $USER, then log in again.");
    }
    return head + failure.systemReason + u'.';
}

bool isReadWritable(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
}

} // namespace platform
