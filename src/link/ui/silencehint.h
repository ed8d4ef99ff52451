#pragma once

#include "platform/timer.h"

#include <QObject>
#include <QString>

class QLabel;

namespace live {

class PANEL;

// Tells the user what to check when the open port has brought no frame
// for a while: a tooltip on the link state and one line under the display.
// The panel goes on showing the link state as always; the next frame takes
// the hint away. Attaches to the panel from outside.
class SilenceHint : public QObject
{
    Q_OBJECT
public:
    static constexpr int silenceMs = 5000;

    // `device` is the path the panel opened, named in the hint.
    SilenceHint(PANEL &panel, const QString &device, QObject *parent = nullptr);

    // Runs from the attachment, restarted by every frame; its tick means
    // the silence has lasted long enough.
    platform::Timer &timer() { return timer_; }
    bool isShown() const { return shown_; }

private:
    void onFrame();
    void onSilence();

    PANEL &panel_;
    QString device_;
    QLabel *line_;
    platform::Timer timer_;
    bool shown_ = false;
};

} // namespace live
