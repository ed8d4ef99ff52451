#pragma once

#include "platform/platform.h"
#include "support/recordingprinter.h"
#include "support/scripteddialogs.h"
#include "support/scriptedport.h"
#include "support/scriptedpump.h"

#include <vector>

namespace testsupport {

// The scripted doubles as a platform whose timers tick only when the test fires
// them; every print job stays here, to inspect after the program dropped it.
class TestPlatform
{
public:
    ScriptedPort port;
    ScriptedClock clock;
    ScriptedPump pump{clock};
    ScriptedDialogs dialogs;

    platform::Platform platform()
    {
        const auto makePrinter = [this]() -> std::unique_ptr<platform::Printer> {
            jobs_.push_back(std::make_unique<RecordingPrinter>());
            if (refusal_)
                jobs_.back()->refuseBegin(*std::exchange(refusal_, std::nullopt));
            return std::make_unique<Handle>(*jobs_.back());
        };
        return {&port, &clock, &pump, &dialogs, makePrinter, platform::Timer::Mode::Manual};
    }

    RecordingPrinter *lastPrintJob() const { return jobs_.empty() ? nullptr : jobs_.back().get(); }
    // The next print job refuses begin() with this reason (empty: cancel).
    void refuseNextPrintJob(const QString &reason = {}) { refusal_ = reason; }

private:
    // Hands the program a print job while the test keeps the real one.
    struct Handle : platform::Printer
    {
        explicit Handle(RecordingPrinter &printer) : job(printer) {}
        ~Handle() override { job.abort(); } // a job dropped before its end is not sent
        QPainter *begin(const QString &documentName) override { return job.begin(documentName); }
        QRectF pageRect() const override { return job.pageRect(); }
        int resolution() const override { return job.resolution(); }
        bool newPage() override { return job.newPage(); }
        bool end() override { return job.end(); }
        void abort() override { job.abort(); }
        QString errorText() const override { return job.errorText(); }
        RecordingPrinter &job;
    };

    std::vector<std::unique_ptr<RecordingPrinter>> jobs_;
    std::optional<QString> refusal_;
};

} // namespace testsupport
