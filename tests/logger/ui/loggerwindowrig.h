#pragma once

// The main window with the logger attached, over the scripted platform, and a
// meter's logger: ID code 4711, 96 K of 128 K in use, sampling 5 s, three sets
// (set 2 of 20 records, set 3 of 10), clock 24-03-15 10:30:05.

#include "link/ui/panel.h"
#include "logger/scriptedmeter.h"
#include "logger/ui/attachlogger.h"
#include "logger/ui/logger.h"
#include "logger/ui/loggerfeature.h"
#include "logger/ui/panelmemory.h"
#include "support/testplatform.h"

#include <QCoreApplication>
#include <QPushButton>

#include <memory>

namespace loggertest {

struct LoggerWindowRig : testsupport::TestPlatform
{
    ScriptedMeter meter{port, pump};
    common::SharedValues shared;
    platform::Platform setup = platform();
    std::unique_ptr<live::PANEL> panel;
    std::unique_ptr<QObject> feature;

    LoggerWindowRig()
    {
        pump.setStepLimit(200'000);
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(setup, shared);
        panel->load();
        feature = logger::attachLogger(*panel);

        meter.always(QStringLiteral("Y"), statusBytes(4711, 98304, 5));
        meter.always(QStringLiteral("R134"), bytesOf({2}));
        meter.always(QStringLiteral("R135"), bytesOf({3}));
        meter.always(QStringLiteral("I"), entryBytes({0x24, 0x03, 0x14, 0x08, 0x00, 0x00}, 5) + entryBytes({0x24, 0x03, 0x14, 0x12, 0x30, 0x15}, 20)
                                              + entryBytes({0x00, 0x02, 0x28, 0x23, 0x59, 0x55}, 10), 0.1);
        meter.always(QStringLiteral("C"), bytesOf({0x24, 0x03, 0x15, 0x10, 0x30, 0x05}));
        for (const char *w : {"W128", "W129", "W130", "W131", "W134"})
            meter.always(QLatin1String(w), "W");
        clearRecords();
    }

    logger::LoggerFeature &loggerFeature() { return static_cast<logger::LoggerFeature &>(*feature); }
    logger::LOGGER &window() { return loggerFeature().loggerWindow(); }
    bool polling() const { return panel->Timer6->isEnabled(); }
    void clearRecords() { port.clearSent(), meter.clearRequests(); }
    // MEMORY, then the opening status read once events run.
    void openLogger() { panel->CMDMEMORY->click(), QCoreApplication::processEvents(); }
    logger::LOGGER &openedWindow() { return openLogger(), clearRecords(), window(); }
};

} // namespace loggertest
