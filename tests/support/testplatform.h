#pragma once

#include "platform/platform.h"
#include "support/recordingprinter.h"
#include "support/scriptedclock.h"
#include "support/scripteddialogs.h"
#include "support/scriptedport.h"
#include "support/scriptedpump.h"

#include <memory>
#include <vector>

namespace testsupport {

// The scripted doubles wired together, and a platform::Platform over them
// (with manual timers: they tick only when the test fires them).
//
// Each print job the program makes is a RecordingPrinter kept here (the
// program gets a forwarding handle it may destroy), so a test can inspect
// every job after the program has finished with it.
class TestPlatform
{
public:
    ScriptedPort port;
    ScriptedClock clock;
    ScriptedPump pump{clock};
    ScriptedDialogs dialogs;

    platform::Platform platform();

    // Print jobs made so far, oldest first.
    const std::vector<std::unique_ptr<RecordingPrinter>> &printJobs() const { return jobs_; }
    RecordingPrinter *lastPrintJob() const { return jobs_.empty() ? nullptr : jobs_.back().get(); }
    // The next print job refuses begin() with this reason (empty: cancel).
    void refuseNextPrintJob(const QString &reason = {});

private:
    std::unique_ptr<platform::Printer> makePrinter();

    std::vector<std::unique_ptr<RecordingPrinter>> jobs_;
    bool refuseNext_ = false;
    QString refuseReason_;
};

} // namespace testsupport
