#include "app/features.h"

#include "link/ui/panel.h"

namespace app {

std::vector<std::unique_ptr<QObject>> attachFeatures(live::PANEL &panel)
{
    std::vector<std::unique_ptr<QObject>> features;
    Q_UNUSED(panel);
    return features;
}

} // namespace app
