#pragma once

#include "platform/serialport.h"

#include <QByteArrayList>

#include <functional>

namespace testsupport {

// A serial port whose incoming bytes come from the test (feed) and whose
// outgoing bytes are kept (sent). Like a real port it carries bytes only while
// open: closed, it has none waiting, reads nothing and drops what is sent; fed
// bytes queue up regardless.
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
        const qsizetype count = !open_ ? 0 : length <= 0 ? incoming_.size() : std::min<qsizetype>(length, incoming_.size());
        const QByteArray taken = incoming_.left(count);
        incoming_.remove(0, count);
        return taken;
    }
    void send(const QByteArray &bytes) override
    {
        if (!open_)
            return;
        sent_.append(bytes);
        if (responder_)
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
