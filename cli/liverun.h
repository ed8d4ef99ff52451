#pragma once

#include "cli/livesource.h"
#include "cli/options.h"
#include "cli/output.h"

#include <QObject>
#include <QTimer>

namespace cli {

// A run of live readings: which frames become readings (every frame, or
// the newest one per interval), when the run ends (samples, time, a
// signal), and what the user is told on standard error.
class LiveRun : public QObject
{
    Q_OBJECT
public:
    static constexpr int firstFrameMs = 3000;

    LiveRun(LiveSource &source, LiveWriter &writer, const LiveLimits &limits,
            const QString &device, QObject *parent = nullptr);

    void start();
    // Ends the run now (a signal): what was written stays, exit 0.
    void stop() { finish(0); }

Q_SIGNALS:
    // A reading was written (after --interval's choice): for other sinks
    // of the same readings, such as a publisher.
    void readingTaken(const common::MeterReading &reading, const QDateTime &time);
    void finished(int exitStatus);

private:
    void onFrame(const common::MeterReading &reading, const QDateTime &time);
    void onInterval();
    void onNoFirstFrame();
    void onLinkLost();
    void writeReading(const common::MeterReading &reading, const QDateTime &time);
    void finish(int exitStatus);

    LiveSource &source_;
    LiveWriter &writer_;
    LiveLimits limits_;
    QString device_;
    QTimer timeLimit_;
    QTimer interval_;
    QTimer firstFrame_;
    bool anyFrame_ = false;
    bool fresh_ = false; // a frame arrived since the last interval reading
    common::MeterReading newest_;
    QDateTime newestTime_;
    qint64 written_ = 0;
    bool finished_ = false;
};

void printError(const QString &line);

} // namespace cli
