#pragma once

#include "common/sharedvalues.h"
#include "link/ui/panel.h"
#include "support/testplatform.h"

#include <QDate>

#include <memory>

namespace testsupport {

// The live panel on the scripted platform, port 1, loaded, on 2024-01-15:
// where the rigs of the windows the panel feeds start.
struct PanelRig
{
    TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform = test.platform();
    std::unique_ptr<live::PANEL> panel;

    PanelRig()
    {
        shared.portNumber = 1;
        test.clock.setDate(QDate(2024, 1, 15));
        panel = std::make_unique<live::PANEL>(platform, shared);
        if (!panel->load())
            qFatal("the panel did not load");
    }
};

} // namespace testsupport
