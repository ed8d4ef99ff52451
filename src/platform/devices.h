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

// Where the device behind COM1 or COM2 comes from, strongest first.
struct DeviceSources
{
    QString fromArguments;        // --com1/--com2 (or --port), for this run
    QString remembered;           // what the user chose last time
    QList<DetectedPort> detected; // what the system lists now
};

// The device behind port `comNumber` (1 or 2): the argument, else the
// remembered choice, else the first (COM1) or second (COM2) USB adapter,
// else /dev/ttyS0 or /dev/ttyS1.
QString chooseDevice(int comNumber, const DeviceSources &sources);

} // namespace platform
