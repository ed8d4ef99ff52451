#include "logger/ui/loggerfeature.h"

#include "link/ui/panel.h"
#include "logger/ui/attachlogger.h"
#include "logger/ui/logger.h"
#include "logger/ui/panelmemory.h"

namespace logger {

namespace {

Exchange::Parts partsOf(live::PANEL &panel, Polling &polling)
{
    const platform::Platform &p = panel.platform();
    return {*p.port, *p.clock, *p.pump, *p.dialogs, polling};
}

} // namespace

LoggerFeature::LoggerFeature(live::PANEL &panel)
    : polling_(*panel.Timer6)
    , exchange_(partsOf(panel, polling_))
    , logger_(std::make_unique<LOGGER>(panel, exchange_))
    , commands_(std::make_unique<PanelMemoryCommands>(panel, exchange_, *logger_))
{
    LOGGER *window = logger_.get();
    connect(&panel, &live::PANEL::relModeSeen, window, &LOGGER::unloadWindow);
    connect(&panel, &live::PANEL::closing, window, &LOGGER::unloadWindow);
}

LoggerFeature::~LoggerFeature() = default;

std::unique_ptr<QObject> attachLogger(live::PANEL &panel)
{
    return std::make_unique<LoggerFeature>(panel);
}

} // namespace logger
