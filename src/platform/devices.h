#pragma once

#include <QList>
#include <QString>

namespace platform {

// A serial port the system reports, as the user sees it listed.
struct DetectedPort
{
    QString device;       // full path, e.g. /dev/ttyUSB0
    QString description;  // e.g. "FT232R USB UART"
    QString manufacturer;
    QString vidPid;       // "0403:6001", empty when the port has none
    QString serialNumber;
};

// Lists the serial ports present now. The program asks the system
// (QSerialPortInfo); tests hand in a scripted list.
class PortLister
{
public:
    virtual ~PortLister() = default;
    virtual QList<DetectedPort> ports() const = 0;
};

// True for a USB serial adapter (ttyUSB*, ttyACM*).
bool isUsbAdapter(const DetectedPort &port);

// The word that stands for the built-in meter emulator instead of a device.
inline const QString emulatorDeviceName = QStringLiteral("emulator");

// Where the device behind COM1 or COM2 comes from, strongest first.
struct DeviceSources
{
    QString fromArguments;        // --com1/--com2 (or --port), for this run
    QString remembered;           // what the user chose last time
    QList<DetectedPort> detected; // what the system lists now
};

// What a COM button stands for.
struct DeviceChoice
{
    QString device;       // opened when the button is chosen
    QString description;  // the detected port's description, if listed
    // A remembered device that is gone now: it is not used, but shown so
    // that the user sees why the choice changed. Empty otherwise.
    QString missingRemembered;
};

// The device behind port `comNumber` (1 or 2): the argument, else the
// remembered choice while it is present, else the first (COM1) or second
// (COM2) USB adapter, else /dev/ttyS0 or /dev/ttyS1.
DeviceChoice chooseDeviceFor(int comNumber, const DeviceSources &sources);
QString chooseDevice(int comNumber, const DeviceSources &sources);

// True when `device` can be opened in principle: the emulator, a listed
// port, or a path that exists (a pseudo-terminal is never listed).
bool isPresent(const QString &device, const QList<DetectedPort> &detected);

// "/dev/ttyUSB0 - FT232R USB UART", or the path alone without a description.
QString deviceCaption(const QString &device, const QString &description);

} // namespace platform
