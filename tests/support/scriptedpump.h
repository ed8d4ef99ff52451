#pragma once

#include "support/scriptedclock.h"

#include <QCoreApplication>
#include <QTest>

#include <algorithm>
#include <functional>
#include <vector>

namespace testsupport {

// runFor(s) moves a scripted clock by min(s, 10 ms), handles Qt's events, then
// runs the hooks and what fell due. A wait that never ends hits a step limit:
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
        // Taken out first: an action may schedule others.
        const auto notDue = std::stable_partition(pending_.begin(), pending_.end(), [this](const auto &p) { return advanced_ < p.first; });
        std::vector<std::pair<double, std::function<void()>>> due(std::make_move_iterator(notDue), std::make_move_iterator(pending_.end()));
        pending_.erase(notDue, pending_.end());
        for (auto &action : due)
            action.second();
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
