#pragma once

#include "platform/serialport.h"

#include <QByteArrayList>

#include <functional>

namespace testsupport {

// A serial port whose incoming bytes come from the test (feed) and whose
// outgoing bytes are kept for inspection (sent, sentBytes).
//
// Like a real port it only carries bytes while open: a closed port has no
// bytes waiting, reads nothing, and drops what is sent. Fed bytes queue
// up regardless and show once it is open.
class ScriptedPort : public platform::SerialPort
{
public:
    using Responder = std::function<void(const QByteArray &sent)>;

    void setCommPort(int number) override { commPort_ = number; }
    int commPort() const override { return commPort_; }
    void setSettings(const QString &settings) override { settings_ = settings; }
    QString settings() const { return settings_; }

    bool open() override;
    bool isOpen() const override { return open_; }
    QString errorText() const override { return errorText_; }
    QString deviceName() const override { return QStringLiteral("scripted"); }

    int bytesWaiting() override;
    QByteArray read(int length) override;
    void send(const QByteArray &bytes) override;
    bool deviceLost() const override { return lost_; }

    // --- script ---
    // Appends bytes to the receive queue.
    void feed(const QByteArray &bytes) { incoming_ += bytes; }
    // Bytes received and not yet read (whether open or not).
    QByteArray pending() const { return incoming_; }

    // Makes the next opens fail with `reason` as errorText(); an empty
    // reason lets them succeed again.
    void failOpenWith(const QString &reason) { openFailure_ = reason; }
    // Closes the port, as if the device had been released.
    void close() override { open_ = false; }
    // Opens again; a lost device stays lost until the test says otherwise.
    bool reopen() override { return open(); }
    void setDeviceLost(bool lost) { lost_ = lost; }

    // Called on every send while open, after recording it; lets a test
    // play the meter's part (answer "A" with a reply, for example).
    void setResponder(Responder responder) { responder_ = std::move(responder); }

    // --- record ---
    // One entry per send() made while open.
    const QByteArrayList &sent() const { return sent_; }
    QByteArray sentBytes() const { return sent_.join(); }
    void clearSent() { sent_.clear(); }
    int openCalls() const { return openCalls_; }
    // Every length passed to read(), in order.
    const QList<int> &readLengths() const { return readLengths_; }

private:
    int commPort_ = 0;
    QString settings_;
    bool open_ = false;
    bool lost_ = false;
    QString openFailure_;
    QString errorText_;
    QByteArray incoming_;
    QByteArrayList sent_;
    QList<int> readLengths_;
    Responder responder_;
    int openCalls_ = 0;
};

} // namespace testsupport
