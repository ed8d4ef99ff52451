#include "reclist/ui/recordlistfeature.h"

#include "link/ui/panel.h"
#include "logger/ui/logger.h"
#include "logger/ui/loggerfeature.h"
#include "logger/ui/panelmemory.h"
#include "reclist/ui/attachrecordlist.h"

#include <QPointer>

namespace reclist {

RecordListFeature::RecordListFeature(live::PANEL &panel, logger::LoggerFeature &logger)
    : controller_(panel, logger.loggerWindow())
    , windows_(panel, logger.loggerWindow(), controller_)
    , download_({logger.exchange(), logger.loggerWindow().commandBuffer(), panel.shared(), windows_})
{
    // The download lets events run while it waits; it must run inside the
    // click that asked for it, so the grid click's clean-up follows it.
    connect(&logger.loggerWindow(), &logger::LOGGER::showDataRequested, this,
            &RecordListFeature::showData, Qt::DirectConnection);
    // Either feature may go first when the program ends.
    logger.commands().setRecordListCloser([self = QPointer<RecordListFeature>(this)] {
        if (self)
            self->controller_.closeList();
    });
}

RecordListFeature::~RecordListFeature() = default;

logger::SetDownload::Result RecordListFeature::showData(int setNumber)
{
    return download_.run(windows_.request(setNumber));
}

std::unique_ptr<QObject> attachRecordList(live::PANEL &panel, logger::LoggerFeature &logger)
{
    return std::make_unique<RecordListFeature>(panel, logger);
}

} // namespace reclist
