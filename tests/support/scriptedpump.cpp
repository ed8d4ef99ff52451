#include "support/scriptedpump.h"

#include "support/scriptedclock.h"

#include <QCoreApplication>
#include <QTest>

#include <algorithm>

namespace testsupport {

ScriptedPump::ScriptedPump(ScriptedClock &clock) : clock_(clock) {}

void ScriptedPump::onStep(Hook hook)
{
    hooks_.push_back(std::move(hook));
}

void ScriptedPump::at(double clockSeconds, std::function<void()> action)
{
    pending_.push_back({true, clockSeconds, std::move(action)});
}

void ScriptedPump::after(double seconds, std::function<void()> action)
{
    pending_.push_back({false, seconds, std::move(action)});
}

void ScriptedPump::runFor(double seconds)
{
    if (limitHit_)
        return;
    if (++steps_ > stepLimit_) {
        limitHit_ = true;
        // Fails the test without returning from it: the caller goes on harmlessly.
        QTest::qFail(qPrintable(QStringLiteral("ScriptedPump: more than %1 steps; a wait loop does not end")
                                    .arg(stepLimit_)),
                     __FILE__, __LINE__);
        return;
    }
    if (!ending_ && seconds > 0) {
        const double advance = std::min(seconds, step_);
        clock_.advance(advance);
        advanced_ += advance;
    }
    QCoreApplication::processEvents();
    const double now = clock_.secondsSinceMidnight();
    // Hooks may add hooks: iterate by index over a snapshot of the size.
    const std::size_t count = hooks_.size();
    for (std::size_t i = 0; i < count; ++i)
        hooks_[i](now);
    runDue();
}

void ScriptedPump::runDue()
{
    const double now = clock_.secondsSinceMidnight();
    // Take the due actions out first, so an action may schedule others.
    std::vector<std::function<void()>> due;
    auto isDue = [&](const Pending &p) {
        return p.byClock ? now >= p.when : advanced_ >= p.when;
    };
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (isDue(*it)) {
            due.push_back(std::move(it->action));
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto &action : due)
        action();
}

} // namespace testsupport
