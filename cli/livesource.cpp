#include "cli/livesource.h"

#include "link/decoder.h"

namespace cli {

LiveSource::LiveSource(const Parts &parts, QObject *parent)
    : QObject(parent)
    , parts_(parts)
    , link_(parts.port, parts.clock)
{
    timer_.setInterval(tickMs);
    connect(&timer_, &QTimer::timeout, this, &LiveSource::onTick);
    connect(&link_, &live::LiveLink::linkLost, this, &LiveSource::onLinkLost);
    connect(&link_, &live::LiveLink::linkBack, this, &LiveSource::linkBack);
}

void LiveSource::start()
{
    link_.start();
    timer_.start();
}

void LiveSource::stop()
{
    timer_.stop();
}

void LiveSource::onTick()
{
    if (parts_.pump.ending())
        return;
    const bool frequencyShown = reading_.functionText == QLatin1String("Frequency");
    for (const QByteArray &RxV : link_.tick(frequencyShown)) {
        live::decodeLiveFrame(RxV, reading_, shared_);
        Q_EMIT frameDecoded(reading_, parts_.clock.now());
    }
}

void LiveSource::onLinkLost()
{
    reading_ = {};
    Q_EMIT linkLost();
}

} // namespace cli
