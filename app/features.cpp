#include "app/features.h"

#include "link/ui/panel.h"
#include "logger/ui/attachlogger.h"
#include "recording/ui/attachrecording.h"
#include "views/ui/liveviews.h"

namespace app {

std::vector<std::unique_ptr<QObject>> attachFeatures(live::PANEL &panel)
{
    std::vector<std::unique_ptr<QObject>> features;
    features.push_back(recording::attachRecording(panel));
    features.push_back(views::attachLiveViews(panel));
    features.push_back(logger::attachLogger(panel));
    return features;
}

} // namespace app
