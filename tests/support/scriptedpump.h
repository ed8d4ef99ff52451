#pragma once

#include "support/scriptedclock.h"

#include <QCoreApplication>
#include <QTest>

#include <functional>
#include <vector>

namespace testsupport {

// An event pump that advances a scripted clock instead of sleeping: runFor(s)
// moves the clock by min(s, 10 ms), handles pending Qt events, then runs the
// hooks and what fell due. A wait that never ends hits a limit on the steps:
// the test fails and ending() turns true so that every wait returns.
class ScriptedPump : public platform::EventPump
{
public:
    using Hook = std::function<void(double now)>;

    explicit ScriptedPump(ScriptedClock &clock) : clock_(clock) {}

    void runFor(double seconds) override
    {
        if (++steps_ > stepLimit_) {
            if (steps_ == stepLimit_ + 1) // fails the test; the caller goes on harmlessly
                QTest::qFail("ScriptedPump: too many steps; a wait loop does not end", __FILE__, __LINE__);
            return;
        }
        if (!ending_ && seconds > 0) {
            clock_.advance(std::min(seconds, 0.01));
            advanced_ += std::min(seconds, 0.01);
        }
        QCoreApplication::processEvents();
        for (std::size_t i = 0, count = hooks_.size(); i < count; ++i) // hooks may add hooks
            hooks_[i](clock_.secondsSinceMidnight());
        std::vector<std::function<void()>> due; // taken out first: an action may schedule others
        for (auto it = pending_.begin(); it != pending_.end();)
            if (advanced_ >= it->first) {
                due.push_back(std::move(it->second));
                it = pending_.erase(it);
            } else {
                ++it;
            }
        for (auto &action : due)
            action();
    }
    bool ending() const override { return ending_ || steps_ > stepLimit_; }
    void setEnding(bool ending) { ending_ = ending; }

    // Runs `hook` after every step, for the life of the pump.
    void onStep(Hook hook) { hooks_.push_back(std::move(hook)); }
    // Runs `action` once the pump has advanced the clock by `seconds` in all.
    void after(double seconds, std::function<void()> action) { pending_.emplace_back(seconds, std::move(action)); }

    long long steps() const { return steps_; }
    double advanced() const { return advanced_; }
    void setStepLimit(long long limit) { stepLimit_ = limit; }

private:
    ScriptedClock &clock_;
    bool ending_ = false;
    long long steps_ = 0;
    long long stepLimit_ = 1'000'000;
    double advanced_ = 0.0;
    std::vector<Hook> hooks_;
    std::vector<std::pair<double, std::function<void()>>> pending_;
};

} // namespace testsupport
