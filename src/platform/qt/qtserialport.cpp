#include "platform/qt/qtserialport.h"

#include "platform/qt/openfailure.h"

#include <QMetaObject>

#include <algorithm>
#include <climits>

namespace platform {

QtSerialPort::DeviceMap QtSerialPort::defaultDevices()
{
    return {{1, QStringLiteral("/dev/ttyS0")}, {2, QStringLiteral("/dev/ttyS1")}};
}

QtSerialPort::QtSerialPort(DeviceMap devices) : devices_(std::move(devices))
{
    setSettings(QStringLiteral("9600,N,8,1"));
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
}

QtSerialPort::~QtSerialPort() = default;

void QtSerialPort::setSettings(const QString &settings)
{
    settingsText_ = settings;
    settings_ = parseSerialSettings(settings);
    if (port_.isOpen() && settings_ && !applySettings())
        errorText_ = QStringLiteral("Cannot apply the settings \"%1\" to %2: %3")
                         .arg(settings, deviceName(), port_.errorString());
}

bool QtSerialPort::applySettings()
{
    return port_.setBaudRate(settings_->baudRate) && port_.setParity(settings_->parity)
           && port_.setDataBits(settings_->dataBits) && port_.setStopBits(settings_->stopBits)
           && port_.setFlowControl(QSerialPort::NoFlowControl);
}

bool QtSerialPort::open()
{
    // A device that has gone may still read as open until the queued
    // release has run; it must not pass for a working one.
    releaseIfLost();
    if (port_.isOpen())
        return true;
    // Only a successful open ends a loss, whoever asks for it: the link-lost
    // routine keeps reopening for as long as the device stays lost.
    const bool opened = openDevice();
    if (opened)
        lost_ = false;
    return opened;
}

bool QtSerialPort::openDevice()
{
    const QString device = deviceName();
    if (device.isEmpty()) {
        errorText_ = QStringLiteral("Cannot open serial port COM%1: no device is set for it.")
                         .arg(commPort_);
        return false;
    }
    if (!settings_) {
        errorText_ = QStringLiteral("Cannot open serial port %1: invalid settings \"%2\".")
                         .arg(device, settingsText_);
        return false;
    }
    port_.setPortName(device);
    applySettings();
    if (!port_.open(QIODevice::ReadWrite)) {
        errorText_ = describeOpenFailure(
            {device, port_.error(), port_.errorString(), isReadWritable(device)});
        port_.clearError();
        return false;
    }
    // Some meters' interfaces draw their power from the modem lines. A
    // device without them (a pty) refuses; that is not an error here.
    port_.setDataTerminalReady(true);
    port_.setRequestToSend(false);
    port_.clearError();
    errorText_.clear();
    return true;
}

void QtSerialPort::close()
{
    if (port_.isOpen())
        port_.close();
    port_.clearError();
}

bool QtSerialPort::reopen()
{
    close();
    return open();
}

void QtSerialPort::onError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    if (!lost_)
        // The system's text here is whatever the last failed read left
        // ("Resource temporarily unavailable"), which says nothing useful.
        errorText_ = QStringLiteral("Serial port %1 is gone: the adapter was unplugged or the "
                                    "meter's cable pulled.")
                         .arg(deviceName());
    lost_ = true;
    // A dead descriptor keeps reporting errors to the event loop; close it
    // once QSerialPort has finished with the current notification.
    QMetaObject::invokeMethod(&port_, [this] { releaseIfLost(); }, Qt::QueuedConnection);
}

void QtSerialPort::releaseIfLost()
{
    if (lost_ && port_.isOpen())
        close();
}

void QtSerialPort::pullArrived()
{
    // Picks up what the device holds without blocking; a time-out here only
    // means nothing came.
    if (port_.waitForReadyRead(0) || port_.error() == QSerialPort::TimeoutError)
        port_.clearError();
}

int QtSerialPort::bytesWaiting()
{
    releaseIfLost();
    if (!port_.isOpen())
        return 0;
    if (port_.bytesAvailable() == 0)
        pullArrived();
    return static_cast<int>(std::min<qint64>(port_.bytesAvailable(), INT_MAX));
}

QByteArray QtSerialPort::read(int length)
{
    releaseIfLost();
    if (!port_.isOpen())
        return {};
    if (length <= 0 || port_.bytesAvailable() < length)
        pullArrived();
    return length <= 0 ? port_.readAll() : port_.read(length);
}

void QtSerialPort::send(const QByteArray &bytes)
{
    releaseIfLost();
    if (!port_.isOpen())
        return;
    port_.write(bytes);
    port_.flush();
}

} // namespace platform
