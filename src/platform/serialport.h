#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// The serial line to the meter, as the program uses it: a numbered port,
// a settings text such as "2400,N,8,1", bytes waiting, reads and sends.
// Implementations never block: reads take only what has already arrived.
class SerialPort
{
public:
    virtual ~SerialPort() = default;

    // The number shown after "Com" on the panel (1 or 2).
    virtual void setCommPort(int number) = 0;
    virtual int commPort() const = 0;

    // Baud, parity, data bits, stop bits, e.g. "2400,N,8,1".
    virtual void setSettings(const QString &settings) = 0;

    // Opens the device. On failure returns false and leaves a readable
    // reason in errorText(), naming the device and the system's cause.
    virtual bool open() = 0;
    virtual bool isOpen() const = 0;
    // Releases the device (the program is ending).
    virtual void close() {}
    virtual QString errorText() const = 0;

    // The device this port stands for (a path, or "emulator").
    virtual QString deviceName() const = 0;

    // Bytes received and not yet taken.
    virtual int bytesWaiting() = 0;

    // Takes up to `length` waiting bytes; 0 takes everything waiting.
    virtual QByteArray read(int length) = 0;

    virtual void send(const QByteArray &bytes) = 0;

    // True once the device itself has gone away (read or resource error),
    // as opposed to a meter that is merely silent.
    virtual bool deviceLost() const { return false; }

    // Closes the device and opens it again, after it was lost. Returns
    // whether it is open now.
    virtual bool reopen() { return isOpen(); }
};

} // namespace platform
