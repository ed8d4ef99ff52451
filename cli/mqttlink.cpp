#include "cli/mqttlink.h"

#include "recording/readingexport.h"

namespace cli {

MqttLink::MqttLink(const mqtt::PublisherOptions &options, const platform::Clock &clock, LiveRun &run,
                   QObject *parent)
    : QObject(parent)
    , publisher_(options, clock)
    , clock_(clock)
    , ceilingBytes_(options.queueCeilingBytes)
{
    connect(&run, &LiveRun::readingTaken, this, &MqttLink::onReading);
    connect(&publisher_, &mqtt::Publisher::notice, this, &printError);
    connect(&publisher_, &mqtt::Publisher::dropped, this, &MqttLink::onDropped);
    connect(&publisher_, &mqtt::Publisher::ended, this, &MqttLink::onEnded);
    connect(&publisher_, &mqtt::Publisher::failed, this, &MqttLink::onFailed);
}

void MqttLink::onReading(const common::MeterReading &reading, const QDateTime &time)
{
    QByteArray line = recording::jsonLine(recording::exportedReading(reading, time));
    line.chop(1); // a message is one object, without the line's end
    publisher_.publish(line);
}

void MqttLink::onDropped(qint64 total)
{
    const double now = clock_.steadySeconds();
    if (now - lastDropLine_ < dropLineSeconds)
        return;
    lastDropLine_ = now;
    printError(QStringLiteral("mqtt: queue full (%1 bytes): %2 oldest readings dropped so far")
                   .arg(ceilingBytes_)
                   .arg(total));
}

void MqttLink::finish(int exitStatus)
{
    if (finishing_)
        return;
    finishing_ = true;
    exitStatus_ = exitStatus;
    publisher_.finish(endSeconds);
}

void MqttLink::onEnded(qint64 notSent)
{
    if (done_)
        return;
    done_ = true;
    if (publisher_.droppedTotal() > 0)
        printError(QStringLiteral("mqtt: %1 readings dropped (queue full)").arg(publisher_.droppedTotal()));
    if (notSent > 0)
        printError(QStringLiteral("mqtt: %1 readings not sent").arg(notSent));
    Q_EMIT done(exitStatus_);
}

void MqttLink::onFailed(const QString &message)
{
    if (done_)
        return;
    done_ = true;
    printError(message);
    Q_EMIT done(1);
}

} // namespace cli
