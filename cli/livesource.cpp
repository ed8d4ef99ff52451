#include "cli/livesource.h"

#include "link/decoder.h"

namespace cli {

LiveSource::LiveSource(const Parts &parts, QObject *parent)
    : QObject(parent)
    , parts_(parts)
    , receiver_(parts.port, parts.clock, parts.pump)
{
    // The reception calls this from inside its tick; it only changes state,
    // the nudging happens on later ticks.
    receiver_.setLinkLostHandler([this] { enterLost(); });
    timer_.setInterval(tickMs);
    connect(&timer_, &QTimer::timeout, this, &LiveSource::onTick);
}

void LiveSource::start()
{
    parts_.port.read(0);
    parts_.port.send(QByteArrayLiteral(" "));
    receiver_.resetNoDataTicks();
    timer_.start();
}

void LiveSource::stop()
{
    timer_.stop();
}

void LiveSource::onTick()
{
    // The reception may let events run while it waits for the rest of a
    // frame; a tick arriving then must not start a second one.
    if (inTick_ || parts_.pump.ending())
        return;
    inTick_ = true;
    if (state_ == State::Receiving)
        receive();
    else
        nudge();
    inTick_ = false;
}

void LiveSource::receive()
{
    if (parts_.port.deviceLost() || !parts_.port.isOpen()) {
        enterLost();
        return;
    }
    for (int step = 0; step < maxFramesPerTick && state_ == State::Receiving; ++step) {
        const auto RxV = receiver_.tick(reading_.functionText == QLatin1String("Frequency"));
        if (parts_.pump.ending())
            return;
        if (RxV) {
            live::decodeLiveFrame(*RxV, reading_, shared_);
            receiver_.resetNoDataTicks();
            Q_EMIT frameDecoded(reading_, parts_.clock.now());
        }
        if (parts_.port.bytesWaiting() < live::FrameReceiver::frameLength)
            break;
    }
}

void LiveSource::enterLost()
{
    if (state_ == State::Lost)
        return;
    state_ = State::Lost;
    reading_ = {};
    nudgeDue_ = true;
    Q_EMIT linkLost();
    nudge();
}

void LiveSource::nudge()
{
    platform::SerialPort &port = parts_.port;
    if (port.isOpen() && port.bytesWaiting() > 0) {
        state_ = State::Receiving;
        receiver_.resetNoDataTicks();
        Q_EMIT linkBack();
        return;
    }
    if (!nudgeDue_ && sinceNudge_.elapsed() < nudgeMs)
        return;
    nudgeDue_ = false;
    sinceNudge_.start();
    if (port.deviceLost() || !port.isOpen())
        port.reopen();
    if (port.isOpen())
        port.send(QByteArrayLiteral(" "));
}

} // namespace cli
