#pragma once

#include "link/ui/panel.h"
#include "support/testplatform.h"
#include "views/dialpicture.h"

#include <QLabel>

#include <memory>

// The panel on the scripted platform, loaded and shown.
struct PanelRig
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform = test.platform();
    std::unique_ptr<live::PANEL> panel;

    PanelRig()
    {
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
        panel->load();
        panel->show();
    }
};

// True when the dial shows a black needle along the given angle (lines are
// rasterised to within a pixel).
inline bool needleAt(const views::DialPicture &picture, double degrees)
{
    for (const double factor : {0.5, 0.7, 0.9}) {
        const QPointF p = picture.frame().polar(factor, degrees);
        bool found = false;
        for (int dx = -1; dx <= 1 && !found; ++dx)
            for (int dy = -1; dy <= 1 && !found; ++dy)
                found = picture.image().pixelColor(qRound(p.x()) + dx, qRound(p.y()) + dy) == Qt::black;
        if (!found)
            return false;
    }
    return true;
}
