#include "cli/liverun.h"

#include <cstdio>

namespace cli {

void printError(const QString &line)
{
    const QByteArray bytes = QByteArrayLiteral("meterlink-cli: ") + line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

LiveRun::LiveRun(LiveSource &source, LiveWriter &writer, const LiveLimits &limits,
                 const QString &device, QObject *parent)
    : QObject(parent)
    , source_(source)
    , writer_(writer)
    , limits_(limits)
    , device_(device)
{
    connect(&source_, &LiveSource::frameDecoded, this, &LiveRun::onFrame);
    connect(&source_, &LiveSource::linkLost, this, &LiveRun::onLinkLost);
    for (QTimer *timer : {&timeLimit_, &interval_, &firstFrame_})
        timer->setTimerType(Qt::PreciseTimer);
    timeLimit_.setSingleShot(true);
    firstFrame_.setSingleShot(true);
    connect(&timeLimit_, &QTimer::timeout, this, [this] { finish(0); });
    connect(&interval_, &QTimer::timeout, this, &LiveRun::onInterval);
    connect(&firstFrame_, &QTimer::timeout, this, &LiveRun::onNoFirstFrame);
}

void LiveRun::start()
{
    if (limits_.timeMs)
        timeLimit_.start(std::chrono::milliseconds(*limits_.timeMs));
    if (limits_.intervalMs)
        interval_.start(std::chrono::milliseconds(*limits_.intervalMs));
    firstFrame_.start(firstFrameMs);
    source_.start();
}

void LiveRun::onFrame(const common::MeterReading &reading, const QDateTime &time)
{
    anyFrame_ = true;
    firstFrame_.stop();
    if (limits_.intervalMs) {
        newest_ = reading;
        newestTime_ = time;
        fresh_ = true;
        return;
    }
    writeReading(reading, time);
}

void LiveRun::onInterval()
{
    // A reading is written once: while the link is lost the intervals pass
    // without one, and the gap shows in the times.
    if (!fresh_)
        return;
    fresh_ = false;
    writeReading(newest_, newestTime_);
}

void LiveRun::writeReading(const common::MeterReading &reading, const QDateTime &time)
{
    if (finished_)
        return;
    if (!writer_.write(reading, time)) {
        printError(writer_.errorText());
        finish(1);
        return;
    }
    ++written_;
    Q_EMIT readingTaken(reading, time);
    if (limits_.samples && written_ >= *limits_.samples)
        finish(0);
}

void LiveRun::onNoFirstFrame()
{
    if (anyFrame_)
        return;
    printError(QStringLiteral("no data from %1: is the meter switched on and its RS-232 output "
                              "enabled?")
                   .arg(device_));
    finish(1);
}

void LiveRun::onLinkLost()
{
    fresh_ = false;
    // Before the first frame the start's own message says what is wrong.
    if (anyFrame_)
        printError(QStringLiteral("link to %1 lost: trying again every 0.5 s").arg(device_));
}

void LiveRun::finish(int exitStatus)
{
    if (finished_)
        return;
    finished_ = true;
    source_.stop();
    timeLimit_.stop();
    interval_.stop();
    firstFrame_.stop();
    Q_EMIT finished(exitStatus);
}

} // namespace cli
