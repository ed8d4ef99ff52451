#pragma once

#include "logger/download.h"
#include "reclist/ui/downloadwindows.h"
#include "reclist/ui/recordlistcontroller.h"

#include <QObject>

namespace live {
class PANEL;
}
namespace logger {
class LoggerFeature;
}

namespace reclist {

// The downloaded-record views of one main window: the record list with its
// graph and range window, and the download that fills the list.
class RecordListFeature : public QObject
{
    Q_OBJECT
public:
    RecordListFeature(live::PANEL &panel, logger::LoggerFeature &logger);
    ~RecordListFeature() override;

    // SHOW DATA for `setNumber`: the whole download runs inside the call.
    logger::SetDownload::Result showData(int setNumber);

    RecordListController &controller() { return controller_; }
    logger::SetDownload &download() { return download_; }

private:
    RecordListController controller_;
    DownloadWindows windows_;
    logger::SetDownload download_;
};

} // namespace reclist
