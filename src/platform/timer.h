#pragma once

#include <QObject>
#include <QTimer>

namespace platform {

// A window timer: an interval, an enabled state and a tick. In the program it
// runs on a QTimer; in tests it is manual and only ticks when the test calls
// fire(), so timer-driven behaviour is deterministic.
class Timer : public QObject
{
    Q_OBJECT
public:
    enum class Mode { Live, Manual };

    explicit Timer(Mode mode, QObject *parent = nullptr);

    void setInterval(int milliseconds);
    int interval() const { return interval_; }

    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }

    // Ticks once now, as the timer would (only while enabled).
    void fire();

Q_SIGNALS:
    void tick();

private:
    void restart();

    Mode mode_;
    int interval_ = 0;
    bool enabled_ = false;
    QTimer qtimer_;
};

} // namespace platform
