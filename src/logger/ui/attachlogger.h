#pragma once

#include <QObject>

#include <memory>

namespace live {
class PANEL;
}

namespace logger {

// Attaches the meter-memory feature to the main window: MEMORY (opens the
// logger window), SYSTEM TIME SET and UPDATE, and the REL mode of a live
// frame, which closes the logger window. The returned object owns the
// logger window and the shared exchange (a LoggerFeature) and must live as
// long as the panel.
std::unique_ptr<QObject> attachLogger(live::PANEL &panel);

} // namespace logger
