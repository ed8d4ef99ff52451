#pragma once

#include "logger/commandbuffer.h"
#include "logger/exchange.h"
#include "logger/panelrequests.h"

#include <QObject>

#include <functional>

namespace live {
class PANEL;
}

namespace logger {

class LOGGER;

// The main window's memory buttons: MEMORY opens the logger window afresh,
// SYSTEM TIME SET sets the meter's clock from the computer's, UPDATE writes
// the meter's memory-size code after asking how many memory ICs it has.
// The two writing commands use the main window's own 8-byte buffer.
class PanelMemoryCommands : public QObject
{
    Q_OBJECT
public:
    PanelMemoryCommands(live::PANEL &panel, Exchange &exchange, LOGGER &logger,
                        QObject *parent = nullptr);

    void CMDMEMORYClick();
    void CMDSYSTEMClick();
    void CMDUPDATEClick();

    // MEMORY also closes the downloaded-record list; the download sets
    // how.
    void setRecordListCloser(std::function<void()> close) { closeRecordList_ = std::move(close); }

    PanelCommandBuffer &commandBuffer() { return buffer_; }

private:
    live::PANEL &panel_;
    Exchange &exchange_;
    LOGGER &logger_;
    PanelCommandBuffer buffer_;
    PanelRequests requests_{exchange_, buffer_};
    std::function<void()> closeRecordList_;
};

} // namespace logger
