#pragma once

#include "logger/exchange.h"
#include "logger/polling.h"

#include <QObject>

#include <memory>

namespace live {
class PANEL;
}

namespace logger {

class LOGGER;
class PanelMemoryCommands;

// The meter-memory feature of one main window: the exchange over its port
// (pausing its Timer6), the logger window and the panel's memory buttons.
class LoggerFeature : public QObject
{
    Q_OBJECT
public:
    explicit LoggerFeature(live::PANEL &panel);
    ~LoggerFeature() override;

    Exchange &exchange() { return exchange_; }
    LOGGER &loggerWindow() { return *logger_; }
    PanelMemoryCommands &commands() { return *commands_; }

private:
    TimerPolling polling_;
    Exchange exchange_;
    std::unique_ptr<LOGGER> logger_;
    std::unique_ptr<PanelMemoryCommands> commands_;
};

} // namespace logger
