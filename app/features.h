#pragma once

#include "platform/platform.h"

#include <QObject>
#include <memory>
#include <vector>

namespace common {
struct SharedValues;
}
namespace live {
class PANEL;
}

namespace app {

// Attaches every feature (recording, live views, graphs, the logger) to the
// main window. The returned objects live as long as the window.
std::vector<std::unique_ptr<QObject>> attachFeatures(live::PANEL &panel);

} // namespace app
