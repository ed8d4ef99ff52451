#pragma once

// The live frames of the meter for the command line: the windows' own live
// link (frame reception and the link-lost states) and decoder, driven by a
// 50 ms timer.

#include "common/meterreading.h"
#include "common/sharedvalues.h"
#include "link/livelink.h"
#include "platform/clock.h"
#include "platform/serialport.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

namespace cli {

class LiveSource : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        platform::SerialPort &port;
        const platform::Clock &clock;
        platform::EventPump &pump;
    };

    static constexpr int tickMs = 50;

    explicit LiveSource(const Parts &parts, QObject *parent = nullptr);

    // Starts the stream (" ") and the ticks.
    void start();
    void stop();

    const common::MeterReading &reading() const { return reading_; }

Q_SIGNALS:
    void frameDecoded(const common::MeterReading &reading, const QDateTime &time);
    void linkLost();
    void linkBack();

private:
    void onTick();
    void onLinkLost();

    Parts parts_;
    live::LiveLink link_;
    common::MeterReading reading_;
    common::SharedValues shared_;
    QTimer timer_;
};

} // namespace cli
