#pragma once

#include "platform/qt/serialsettings.h"
#include "platform/serialport.h"

#include <QMap>
#include <QSerialPort>

#include <optional>

namespace platform {

// The serial port over QSerialPort. Port numbers map to device paths
// (COM1 -> /dev/ttyS0, COM2 -> /dev/ttyS1 unless told otherwise).
//
// Opening uses the settings text (default "9600,N,8,1"), no flow control,
// DTR on and RTS off; a device without modem lines (a pty) is fine.
// Reads never block: bytesWaiting() also takes in bytes that reached the
// device since the event loop last ran.
//
// When the device goes away (a read or resource error, e.g. a pulled USB
// adapter or a closed pty master) deviceLost() turns true, the port is
// closed to release the device and stop the errors, and isOpen() turns
// false; reopen() tries the same device again.
class QtSerialPort : public SerialPort
{
public:
    using DeviceMap = QMap<int, QString>;
    static DeviceMap defaultDevices();

    explicit QtSerialPort(DeviceMap devices = defaultDevices());
    ~QtSerialPort() override;

    QtSerialPort(const QtSerialPort &) = delete;
    QtSerialPort &operator=(const QtSerialPort &) = delete;

    // Maps a port number to a device path (replacing any earlier one).
    void setDevice(int number, const QString &path) { devices_.insert(number, path); }

    void setCommPort(int number) override { commPort_ = number; }
    int commPort() const override { return commPort_; }
    // An invalid text is kept and makes the next open() fail with a reason.
    // While open, valid settings are applied at once.
    void setSettings(const QString &settings) override;

    bool open() override;
    bool isOpen() const override { return port_.isOpen(); }
    QString errorText() const override { return errorText_; }
    QString deviceName() const override { return devices_.value(commPort_); }

    int bytesWaiting() override;
    QByteArray read(int length) override;
    void send(const QByteArray &bytes) override;
    bool deviceLost() const override { return lost_; }

    // Closes the port (a no-op when closed); bytes not yet read are lost.
    void close();
    // Closes and opens the same device again. deviceLost() clears only when
    // this (or any open()) succeeds.
    bool reopen();

private:
    bool openDevice();
    void onError(QSerialPort::SerialPortError error);
    void releaseIfLost();
    bool applySettings();
    void pullArrived();

    DeviceMap devices_;
    int commPort_ = 1;
    QString settingsText_;
    std::optional<SerialSettings> settings_;
    QString errorText_;
    bool lost_ = false;
    QSerialPort port_;
};

} // namespace platform
