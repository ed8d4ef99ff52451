#pragma once

#include "common/meterreading.h"
#include "common/sharedvalues.h"
#include "link/livelink.h"
#include "link/maxmin.h"
#include "platform/platform.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace live {

class ClickableLabel;

// The main window, "PANEL Ver 5.1": shows the live reading, the largest and
// smallest reading, the time of day and the link state, and carries the
// buttons of every other function. Its timers drive the program.
//
// Other windows read the reading from the labels below, by name, and attach
// their work to the buttons and to the signals; the panel itself knows
// nothing of them. Closing the panel ends the program.
class PANEL : public QWidget
{
    Q_OBJECT
public:
    PANEL(const platform::Platform &platform, common::SharedValues &shared,
          QWidget *parent = nullptr);
    ~PANEL() override;

    // Start-up: opens the port, starts the meter's stream and the timers.
    // Returns false (with the reason in openError()) when the port cannot
    // be opened; nothing is started then.
    bool load();
    QString openError() const { return openError_; }

    // Polling tick: frame reception, decoding, analog hand-off, max and min,
    // or a step of the link-lost routine. It never waits.
    void onTimer6Tick();
    // Clock tick: time display and re-arming on whole seconds.
    void onTimer2Tick();
    // Sampling tick: feeds the live graph and list.
    void onTimer3Tick();

    // The link-lost routine's display: " NO COM ", empty reading, view and
    // memory buttons off. The link then nudges the meter every 0.5 s on the
    // polling ticks until it answers (see LiveLink).
    void nodataroutine();
    // Both the maximum and the minimum take the current reading.
    void resetMaxMin();

    // The reading as last decoded (the labels show the same texts).
    const common::MeterReading &reading() const { return reading_; }
    // True while the panel shows a reading the meter is sending now: the
    // polling runs and the link is not lost. A paused polling (a logger
    // exchange) or a lost link shows nothing current.
    bool showsLiveReading() const;
    LiveLink &link() { return link_; }

    // Labels that carry state (names as the meter program has always used).
    QLabel *LBLFUN, *LBLRAN, *LBLVALUE, *LBLAD, *LBLAUTO, *LBLBAT;
    QLabel *LABELMIN, *LABELMAX, *Label2;
    QLabel *LBLMAX, *LBLMIN, *LBLTIME, *LBLSAMPLE, *LBLCOMM, *LBLFILE;
    QLabel *Label5; // "RECORDING", visible while a recording writes
    QLabel *Label1; // number of lines recorded
    ClickableLabel *Label8; // "SAMPLINGTIME" heading: opens the sampling-time dialog

    QPushButton *CMDUPDATE, *CMDSYSTEM, *CMDMEMORY;
    QPushButton *CMDSTART, *CMDSTOP, *CMDPC, *CMDSAVE, *CMDOPEN;
    QPushButton *CMDANALOG, *CMDLIST, *CMDGRAPH, *CMDRESET, *CMDTEST;

    platform::Timer *Timer6; // 50 ms polling
    platform::Timer *Timer2; // clock
    platform::Timer *Timer3; // sampling feed of the live views
    platform::Timer *Timer4; // recording tick (driven by the recording)
    platform::Timer *Timer1; // millisecond wait
    platform::Timer *Timer5; // never enabled

    // Set by the recording while its file is open.
    bool recordingOn = false;

    const platform::Platform &platform() const { return platform_; }
    common::SharedValues &shared() { return shared_; }

Q_SIGNALS:
    // After every decoded frame while the dial is open: LBLVALUE's text.
    void analogFeed(const QString &valueText);
    // On every sampling tick while fed: first the empty text, then the reading.
    void graphFeed(const QString &text);
    void listFeed(const QString &text);
    // LBLFUN changed (by a frame, or emptied on link loss).
    void functionTextChanged(const QString &functionText);
    // A frame was decoded and shown.
    void frameShown();
    // A frame arrived with the meter's REL mode on.
    void relModeSeen();
    // The panel is closing: the program ends.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildLayout();
    void showReading(const common::MeterReading &previous);
    void showLinkState();
    void setViewButtonsEnabled(bool enabled);
    void handleFrame(const QByteArray &RxV);
    void onLinkBack();

    const platform::Platform &platform_;
    common::SharedValues &shared_;
    LiveLink link_;
    common::MeterReading reading_;
    MaxMin extremes_;
    QString openError_;
    // Counts polling ticks, so that a tick which finds a newer one ran from
    // inside its handlers leaves its older frames alone.
    quint64 timer6Ticks_ = 0;
};

} // namespace live
