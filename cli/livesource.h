#pragma once

// The live frames of the meter for the command line: the shared frame
// reception and decoder driven by a 50 ms timer, and the handling of a lost
// link as states across ticks (no nested wait):
//
//   Receiving  each tick takes the frames waiting and decodes them; a device
//              that went away, or the reception's count of silent ticks,
//              turns to Lost
//   Lost       every 0.5 s the device is opened again if it went away and
//              " " nudges the meter; the first byte back turns to Receiving
//
// Kept apart from the rest of the program so that a shared link state
// machine can take its place.

#include "common/meterreading.h"
#include "common/sharedvalues.h"
#include "link/framereceiver.h"
#include "platform/clock.h"
#include "platform/serialport.h"

#include <QDateTime>
#include <QElapsedTimer>
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
    static constexpr int nudgeMs = 500;
    // Frames taken in one tick at most, so a flood cannot starve the rest.
    static constexpr int maxFramesPerTick = 32;

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
    enum class State { Receiving, Lost };

    void onTick();
    void receive();
    void enterLost();
    void nudge();

    Parts parts_;
    live::FrameReceiver receiver_;
    common::MeterReading reading_;
    common::SharedValues shared_;
    QTimer timer_;
    QElapsedTimer sinceNudge_;
    State state_ = State::Receiving;
    bool nudgeDue_ = false;
    bool inTick_ = false;
};

} // namespace cli
