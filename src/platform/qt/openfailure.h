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

// The group that owns a device node and where this user stands with it.
struct DeviceGroup
{
    QString name;               // empty when the node cannot be examined
    bool processIsMember = false;   // this program runs with the group's rights
    bool accountIsMember = false;   // the user is listed in the group (maybe since this login)
};

// Reads the owning group from the device node itself.
DeviceGroup deviceGroup(const QString &path);

// The message shown to the user: names the device and the system's
// reason; tells a busy device (another program holds it) from one the
// user lacks the rights for, and for the latter names the group that owns
// the device and the command that grants the rights.
QString describeOpenFailure(const OpenFailure &failure);

// True when this process may read and write the file at `path`.
bool isReadWritable(const QString &path);

} // namespace platform
