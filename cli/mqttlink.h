#pragma once

#include "cli/liverun.h"
#include "mqtt/publisher.h"

namespace cli {

// The live run's readings, as JSON lines, to the broker; the messages about
// the broker on standard error; the end of the run held back while what is
// queued goes out (at most endSeconds).
class MqttLink : public QObject
{
    Q_OBJECT
public:
    static constexpr double endSeconds = 2.0;
    // Queue-full lines at most this often; the total comes at the end.
    static constexpr double dropLineSeconds = 10.0;

    MqttLink(const mqtt::PublisherOptions &options, const platform::Clock &clock, LiveRun &run,
             QObject *parent = nullptr);

    void start() { publisher_.start(); }
    // The run ended with `exitStatus`: done() follows once sent or timed out.
    void finish(int exitStatus);

Q_SIGNALS:
    void done(int exitStatus);

private:
    void onReading(const common::MeterReading &reading, const QDateTime &time);
    void onDropped(qint64 total);
    void onEnded(qint64 notSent);
    void onFailed(const QString &message);

    mqtt::Publisher publisher_;
    const platform::Clock &clock_;
    qint64 ceilingBytes_;
    int exitStatus_ = 0;
    bool finishing_ = false;
    bool done_ = false;
    double lastDropLine_ = -1e9;
};

} // namespace cli
