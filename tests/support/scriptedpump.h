#pragma once

#include "platform/clock.h"

#include <functional>
#include <vector>

namespace testsupport {

class ScriptedClock;

// An event pump that advances a scripted clock instead of sleeping.
//
// runFor(s) moves the clock by min(s, step()), handles pending Qt events,
// then runs the hooks with the new clock reading. A long wait therefore
// takes several steps, and a hook can act "at 0.3 s" (feed bytes, press a
// button). A loop that never ends is caught by a limit on the number of
// steps: the test fails and ending() turns true so that every wait returns.
class ScriptedPump : public platform::EventPump
{
public:
    using Hook = std::function<void(double now)>;

    explicit ScriptedPump(ScriptedClock &clock);

    void runFor(double seconds) override;
    bool ending() const override { return ending_ || limitHit_; }

    void setEnding(bool ending) { ending_ = ending; }

    // Largest clock advance of a single runFor (default 0.01 s).
    void setStep(double seconds) { step_ = seconds; }

    // Runs `hook` after every step, for the life of the pump.
    void onStep(Hook hook);

    // Runs `action` once, at the first step whose clock reading is at or
    // past `clockSeconds` (seconds since midnight).
    void at(double clockSeconds, std::function<void()> action);

    // Runs `action` once, when the pump has advanced the clock by at least
    // `seconds` in all (counted from the pump's creation).
    void after(double seconds, std::function<void()> action);

    // Steps taken and clock time advanced so far.
    long long steps() const { return steps_; }
    double advanced() const { return advanced_; }

    void setStepLimit(long long limit) { stepLimit_ = limit; }
    // True once the step limit was hit (the test has been failed).
    bool limitHit() const { return limitHit_; }

private:
    struct Pending
    {
        bool byClock;
        double when;
        std::function<void()> action;
    };

    void runDue();

    ScriptedClock &clock_;
    double step_ = 0.01;
    bool ending_ = false;
    bool limitHit_ = false;
    long long steps_ = 0;
    long long stepLimit_ = 1'000'000;
    double advanced_ = 0.0;
    std::vector<Hook> hooks_;
    std::vector<Pending> pending_;
};

} // namespace testsupport
