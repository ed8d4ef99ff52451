#include "link/ui/silencehint.h"

#include "link/ui/panel.h"

#include <QLabel>

namespace live {

SilenceHint::SilenceHint(PANEL &panel, const QString &device, QObject *parent)
    : QObject(parent)
    , panel_(panel)
    , device_(device)
    , line_(panel.findChild<QLabel *>(QStringLiteral("LBLHINT")))
    , timer_(panel.platform().timerMode)
{
    timer_.setInterval(silenceMs);
    connect(&timer_, &platform::Timer::tick, this, &SilenceHint::onSilence);
    connect(&panel, &PANEL::frameShown, this, &SilenceHint::onFrame);
    timer_.setEnabled(true);
}

void SilenceHint::onFrame()
{
    if (shown_) {
        shown_ = false;
        panel_.LBLCOMM->setToolTip(QString());
        if (line_)
            line_->setVisible(false);
    }
    timer_.setEnabled(false);
    timer_.setEnabled(true);
}

void SilenceHint::onSilence()
{
    timer_.setEnabled(false);
    shown_ = true;
    panel_.LBLCOMM->setToolTip(
        tr("No reading has come from %1 for %2 seconds. Check that the meter is switched on, "
           "that its RS-232 output is on, that the cable is plugged into the meter, and that "
           "%1 is the device the meter hangs on (Devices... in the port choice).")
            .arg(device_, QString::number(silenceMs / 1000)));
    if (line_) {
        line_->setText(tr("No data from %1: is the meter on, its RS-232 output on, the cable in "
                          "the meter, and is this the right device?")
                           .arg(device_));
        line_->setVisible(true);
    }
}

} // namespace live
