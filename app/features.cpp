#include "app/features.h"

#include "link/ui/panel.h"
#include "logger/ui/attachlogger.h"
#include "logger/ui/loggerfeature.h"
#include "reclist/ui/attachrecordlist.h"
#include "recording/ui/attachrecording.h"
#include "views/ui/liveviews.h"

namespace app {

std::vector<std::unique_ptr<QObject>> attachFeatures(live::PANEL &panel)
{
    std::vector<std::unique_ptr<QObject>> features;
    features.push_back(recording::attachRecording(panel));
    features.push_back(views::attachLiveViews(panel));
    auto logger = logger::attachLogger(panel);
    auto records = reclist::attachRecordList(panel, static_cast<logger::LoggerFeature &>(*logger));
    features.push_back(std::move(logger));
    features.push_back(std::move(records));
    return features;
}

} // namespace app
