#pragma once

#include <QSerialPort>
#include <QString>

namespace platform {

// What went wrong when a serial device would not open.
struct OpenFailure
{
    QString device;                       // the path tried
    QSerialPort::SerialPortError error;   // QSerialPort's classification
    QString systemReason;                 // QSerialPort's errorString()
    bool deviceAccessible = false;        // the user may read and write it
};

// The message shown to the user: names the device and the system's
// reason; tells a busy device (another program holds it) from one the
// user lacks the rights for, and for the latter explains how to get them.
QString describeOpenFailure(const OpenFailure &failure);

// True when this process may read and write the file at `path`.
bool isReadWritable(const QString &path);

} // namespace platform
