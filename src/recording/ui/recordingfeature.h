#pragma once

#include "recording/ui/attachrecording.h"
#include "recording/ui/recordingcontroller.h"

#include <QObject>

#include <memory>

namespace live {
class PANEL;
}

namespace recording {

class OpenFileController;

// The recording feature on the panel: the PC-sampled recording and OPEN
// FILE with its list, range and graph windows. Lives as long as the panel;
// attachRecording() makes it.
class RecordingFeature : public QObject
{
    Q_OBJECT
public:
    explicit RecordingFeature(live::PANEL &panel, QObject *parent = nullptr);
    ~RecordingFeature() override;

    RecordingController &recording() { return *recording_; }
    OpenFileController &openFile() { return *openFile_; }

private:
    FileDialogMemory dialog_;
    std::unique_ptr<RecordingController> recording_;
    std::unique_ptr<OpenFileController> openFile_;
};

} // namespace recording
