#pragma once

#include "link/framereceiver.h"
#include "platform/clock.h"
#include "platform/serialport.h"

#include <QByteArrayList>
#include <QObject>

namespace live {

// The live link to the meter, driven by a polling tick every 50 ms: frame
// reception and the link-lost routine as states that each tick advances.
// No tick waits or lets events run, so a tick that comes while a dialog is
// open (or while another handler runs) is served like any other.
//
//  state     | what a tick does
//  ----------+----------------------------------------------------------------
//  receiving | FrameReceiver steps; a backlog (bytes faster than the ticks)
//            |   is worked off within the tick. Silent: linkLost(), then
//            |   the first nudge
//  lost      | every 0.5 s: bytes waiting -> linkBack() and receiving again
//            |   (the bytes stay for the next ticks); else a nudge: a lost
//            |   device is reopened and " " is sent
//
// Usage (the panel and the command line alike):
//   LiveLink link(port, clock);
//   connect(&link, &LiveLink::linkLost, ...);   // show " NO COM ", etc.
//   connect(&link, &LiveLink::linkBack, ...);   // show "ComN" again
//   link.start();                               // after the port opened
//   every 50 ms: for (const QByteArray &RxV : link.tick(frequencyShown)) ...
class LiveLink : public QObject
{
    Q_OBJECT
public:
    static constexpr double nudgeIntervalSeconds = 0.5;

    LiveLink(platform::SerialPort &port, const platform::Clock &clock,
             QObject *parent = nullptr);

    // Starts the meter's stream on the open port: everything waiting is
    // dropped, " " is sent, and reception starts over (a lost link counts
    // as back).
    void start();

    // One polling tick. Returns the frames taken, oldest first (RxV: the
    // six bytes after the start byte); usually none or one, several when
    // a backlog of whole frames was worked off.
    QByteArrayList tick(bool frequencyShown);

    bool isLost() const { return lost_; }
    const FrameReceiver &receiver() const { return receiver_; }

Q_SIGNALS:
    // The meter fell silent (or the device went away): nudging begins.
    void linkLost();
    // Bytes arrived while the link was lost: reception runs again.
    void linkBack();

private:
    QByteArrayList receive(bool frequencyShown);
    void tickWhileLost();
    void nudge();

    platform::SerialPort &port_;
    const platform::Clock &clock_;
    FrameReceiver receiver_;
    bool lost_ = false;
    double lastNudge_ = 0.0;
};

} // namespace live
