#pragma once

#include "recording/recorder.h"

#include <QObject>
#include <QString>

namespace live {
class PANEL;
}

namespace recording {

// The panel's file dialog remembers the last name it was given or returned:
// SAVE AS and OPEN FILE share it.
struct FileDialogMemory
{
    QString lastName;
};

// "Data Files (*.dat)" and every file.
QString dataFileFilter();

// The PC-sampled recording on the panel: SAVE AS, START RECORDING, STOP
// RECORDING, the sampling-time question (PC SAMPLING and the SAMPLINGTIME
// heading), the recording tick of Timer4 and the stop on a change of the
// function text. Button states:
//
//   state           CMDSTART CMDSTOP CMDSAVE CMDOPEN Timer4
//   no file/chosen  on       off     on      on      off
//   recording       off      on      off     off     on
//   stopped         on       off     on      on      off
class RecordingController : public QObject
{
    Q_OBJECT
public:
    RecordingController(live::PANEL &panel, FileDialogMemory &dialog, QObject *parent = nullptr);
    ~RecordingController() override;

    // SAVE AS: chooses the recording file (nothing while recording).
    void subloadfile();
    // Opens the file and starts the tick; false when the file cannot be
    // opened (the user is told why; nothing starts).
    bool substartrecording();
    // Closes the file and stops the tick.
    void subStopRecording();

    void onCmdStart();
    void onCmdStop();
    // Writes one line, but only while the panel shows a live reading.
    void onTimer4Tick();
    // The sampling-time question.
    void askSamplingTime();
    // LBLFUN changed: stops a recording that has written its first line.
    void onFunctionTextChanged();

    QString recordFileName() const { return recordFileName_; }
    const Recorder &recorder() const { return recorder_; }

private:
    PanelTexts panelTexts() const;
    void stopAfterWriteFailure();
    void tellBrokenLineRemoved();

    live::PANEL &panel_;
    FileDialogMemory &dialog_;
    QString recordFileName_;
    Recorder recorder_;
};

} // namespace recording
