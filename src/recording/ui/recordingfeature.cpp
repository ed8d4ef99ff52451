#include "recording/ui/recordingfeature.h"

#include "recording/ui/openfilecontroller.h"

namespace recording {

RecordingFeature::RecordingFeature(live::PANEL &panel, QObject *parent)
    : QObject(parent)
    , recording_(std::make_unique<RecordingController>(panel, dialog_))
    , openFile_(std::make_unique<OpenFileController>(panel, dialog_))
{
}

RecordingFeature::~RecordingFeature() = default;

} // namespace recording
