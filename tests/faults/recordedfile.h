#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace faulttest {

class FaultRig;

// Checks a recording file: it ends with a line end and holds exactly
// `linesPerStart[i]` recorded lines for the i-th START RECORDING, numbered
// from 1 each time, every one whole (eight fields, seven tabs, CR LF) and
// with the function `unit`. Returns what is wrong.
QString checkRecordedFile(const QString &fileName, const QList<int> &linesPerStart,
                          const QString &unit);

// Records as the user does (SAVE AS, START RECORDING) on the rig's panel,
// with the recording tick every 100 ms, and counts the lines written (seen
// after the recording's own handler).
class RecordingProbe : public QObject
{
public:
    explicit RecordingProbe(FaultRig &rig);

    // False with error() when the recording did not start.
    bool start(const QString &fileName);
    QString error() const { return error_; }
    bool running() const;

    int ticks() const;
    int ticksSinceStart() const { return linesPerStart_.isEmpty() ? 0 : linesPerStart_.last(); }
    QString checkFile() const;

private:
    void onTick();

    FaultRig &rig_;
    QString fileName_;
    QString error_;
    QList<int> linesPerStart_;
};

} // namespace faulttest
