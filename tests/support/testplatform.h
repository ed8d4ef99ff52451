#pragma once

#include "platform/platform.h"
#include "support/recordingprinter.h"
#include "support/scripteddialogs.h"
#include "support/scriptedport.h"
#include "support/scriptedpump.h"

#include <memory>
#include <vector>

namespace testsupport {

// The scripted doubles wired together into a platform::Platform whose timers
// tick only when the test fires them. Every print job the program makes is a
// RecordingPrinter kept here, to inspect after the program dropped it.
class TestPlatform
{
public:
    ScriptedPort port;
    ScriptedClock clock;
    ScriptedPump pump{clock};
    ScriptedDialogs dialogs;

    platform::Platform platform();

    const std::vector<std::unique_ptr<RecordingPrinter>> &printJobs() const { return jobs_; }
    RecordingPrinter *lastPrintJob() const { return jobs_.empty() ? nullptr : jobs_.back().get(); }
    // The next print job refuses begin() with this reason (empty: cancel).
    void refuseNextPrintJob(const QString &reason = {}) { refusal_ = reason; }

private:
    std::vector<std::unique_ptr<RecordingPrinter>> jobs_;
    std::optional<QString> refusal_;
};

} // namespace testsupport
