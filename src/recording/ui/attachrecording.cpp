#include "recording/ui/attachrecording.h"

#include "recording/ui/recordingfeature.h"

namespace recording {

std::unique_ptr<QObject> attachRecording(live::PANEL &panel)
{
    return std::make_unique<RecordingFeature>(panel);
}

} // namespace recording
