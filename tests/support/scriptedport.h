#pragma once

#include "platform/serialport.h"

#include <QByteArrayList>

#include <functional>

namespace testsupport {

// A serial port fed by the test that keeps what is sent. Closed, it has no
// bytes waiting, reads nothing and drops what is sent; fed bytes queue up.
class ScriptedPort : public platform::SerialPort
{
public:
    using Responder = std::function<void(const QByteArray &sent)>;

    void setCommPort(int number) override { commPort_ = number; }
    int commPort() const override { return commPort_; }
    void setSettings(const QString &settings) override { settings_ = settings; }
    QString settings() const { return settings_; }

    bool open() override
    {
        ++openCalls_;
        errorText_ = openFailure_;
        return open_ = openFailure_.isEmpty();
    }
    bool isOpen() const override { return open_; }
    QString errorText() const override { return errorText_; }
    QString deviceName() const override { return QStringLiteral("scripted"); }
    int bytesWaiting() override { return open_ ? int(incoming_.size()) : 0; }
    QByteArray read(int length) override
    {
        readLengths_.append(length);
        const QByteArray taken = open_ ? incoming_.left(length <= 0 ? incoming_.size() : length) : QByteArray();
        incoming_.remove(0, taken.size());
        return taken;
    }
    void send(const QByteArray &bytes) override
    {
        if (open_)
            sent_.append(bytes);
        if (open_ && responder_)
            responder_(bytes);
    }
    bool deviceLost() const override { return lost_; }
    void close() override { open_ = false; }
    // A lost device stays lost until the test says otherwise.
    bool reopen() override { return open(); }

    void feed(const QByteArray &bytes) { incoming_ += bytes; }
    QByteArray pending() const { return incoming_; } // received, not yet read
    // The next opens fail with `reason` (empty: they succeed again).
    void failOpenWith(const QString &reason) { openFailure_ = reason; }
    void setDeviceLost(bool lost) { lost_ = lost; }
    // Plays the meter's part: called on every send while open, after recording it.
    void setResponder(Responder responder) { responder_ = std::move(responder); }

    const QByteArrayList &sent() const { return sent_; } // one entry per send while open
    QByteArray sentBytes() const { return sent_.join(); }
    void clearSent() { sent_.clear(); }
    int openCalls() const { return openCalls_; }
    const QList<int> &readLengths() const { return readLengths_; }

private:
    int commPort_ = 0, openCalls_ = 0;
    QString settings_, openFailure_, errorText_;
    bool open_ = false, lost_ = false;
    QByteArray incoming_;
    QByteArrayList sent_;
    QList<int> readLengths_;
    Responder responder_;
};

} // namespace testsupport
