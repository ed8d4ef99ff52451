#include "link/ui/panel.h"

#include "common/numbers.h"
#include "link/clockdisplay.h"
#include "link/decoder.h"
#include "link/feeds.h"
#include "link/ui/clickablelabel.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace live {

namespace {
constexpr int pollingInterval = 50;
constexpr int firstClockInterval = 2000;
constexpr int firstSamplingInterval = 1000;
const QString noComText = QStringLiteral(" NO COM ");
const QString lineSettings = QStringLiteral("2400") + QStringLiteral(",N,8,1");
} // namespace

PANEL::PANEL(const platform::Platform &platform, common::SharedValues &shared, QWidget *parent)
    : QWidget(parent)
    , platform_(platform)
    , shared_(shared)
    , link_(*platform.port, *platform.clock)
{
    setWindowTitle(QStringLiteral("PANEL Ver 5.1"));
    setObjectName(QStringLiteral("PANEL"));
    buildControls();
    buildLayout();

    const auto mode = platform.timerMode;
    Timer6 = new platform::Timer(mode, this);
    Timer2 = new platform::Timer(mode, this);
    Timer3 = new platform::Timer(mode, this);
    Timer4 = new platform::Timer(mode, this);
    Timer1 = new platform::Timer(mode, this);
    Timer5 = new platform::Timer(mode, this);
    Timer6->setInterval(pollingInterval);
    Timer2->setInterval(firstClockInterval);
    Timer3->setInterval(firstSamplingInterval);

    connect(Timer6, &platform::Timer::tick, this, &PANEL::onTimer6Tick);
    connect(Timer2, &platform::Timer::tick, this, &PANEL::onTimer2Tick);
    connect(Timer3, &platform::Timer::tick, this, &PANEL::onTimer3Tick);
    connect(CMDRESET, &QPushButton::clicked, this, &PANEL::resetMaxMin);
    connect(&link_, &LiveLink::linkLost, this, &PANEL::nodataroutine);
    connect(&link_, &LiveLink::linkBack, this, &PANEL::onLinkBack);
}

PANEL::~PANEL() = default;

bool PANEL::load()
{
    shared_.analogOn = 0;
    Timer3->setEnabled(false);
    move(0, 0);

    platform::SerialPort &port = *platform_.port;
    port.setCommPort(shared_.portNumber);
    port.setSettings(lineSettings);
    if (!port.isOpen() && !port.open()) {
        openError_ = port.errorText();
        return false;
    }

    shared_.tickPeriod = 1000;
    shared_.pcSampling = 1;
    shared_.sampleTick = 0;

    showLinkState();
    link_.start();

    Timer4->setEnabled(false);
    Timer6->setEnabled(true);
    Timer2->setEnabled(true);
    LBLSAMPLE->setText(QStringLiteral("2.0 Sec"));
    return true;
}

void PANEL::onTimer6Tick()
{
    if (platform_.pump->ending())
        return;
    const quint64 thisTick = ++timer6Ticks_;
    const bool frequency = reading_.functionText == QLatin1String("Frequency");
    for (const QByteArray &RxV : link_.tick(frequency)) {
        handleFrame(RxV);
        if (timer6Ticks_ != thisTick || platform_.pump->ending())
            break;
    }
}

void PANEL::handleFrame(const QByteArray &RxV)
{
    const common::MeterReading previous = reading_;
    decodeLiveFrame(RxV, reading_, shared_);
    showReading(previous);
    if (reading_.relMode)
        Q_EMIT relModeSeen();

    if (shared_.analogOn)
        Q_EMIT analogFeed(LBLVALUE->text());

    updateMaxMin(reading_.valueText, extremes_);
    LBLMAX->setText(extremes_.max);
    LBLMIN->setText(extremes_.min);

    if (recordingOn) {
        Label1->setVisible(true);
    } else {
        Label1->setText(QStringLiteral("0"));
        Label1->setVisible(false);
    }
    Q_EMIT frameShown();
}

void PANEL::showReading(const common::MeterReading &previous)
{
    LBLRAN->setText(reading_.rangeText);
    LBLVALUE->setText(reading_.valueText);
    LBLAD->setText(reading_.acDcText);
    LBLAUTO->setText(reading_.rangeModeText);
    LBLBAT->setText(reading_.batteryText);
    LABELMIN->setVisible(reading_.minMode);
    LABELMAX->setVisible(reading_.maxMode);
    Label2->setVisible(reading_.relMode);
    // The function text goes last: its change may stop a recording, which
    // then sees the rest of the reading already in place.
    LBLFUN->setText(reading_.functionText);
    if (reading_.functionText != previous.functionText)
        Q_EMIT functionTextChanged(reading_.functionText);
}

void PANEL::onTimer2Tick()
{
    const platform::Clock &clock = *platform_.clock;
    const double t = clock.secondsSinceMidnight();
    if (clockRefreshDue(shared_, common::leadingNumber(LBLSAMPLE->text())))
        LBLTIME->setText(clockText(t));
    const int msOfDay = static_cast<int>(clock.secondsSinceMidnight() * 1000.0);
    Timer2->setInterval(nextClockInterval(msOfDay, shared_.tickPeriod));
}

void PANEL::onTimer3Tick()
{
    const int interval = samplingIntervalMs(LBLSAMPLE->text());
    if (shared_.graphFeedOn == 1) {
        Timer3->setInterval(interval);
        Q_EMIT graphFeed(QString());
        Q_EMIT graphFeed(graphFeedText(LBLVALUE->text()));
    }
    if (shared_.listFeedOn == 1) {
        Timer3->setInterval(interval);
        Q_EMIT listFeed(QString());
        Q_EMIT listFeed(listFeedText(
            {LBLTIME->text(), LBLFUN->text(), LBLRAN->text(), LBLVALUE->text()}));
    }
}

void PANEL::nodataroutine()
{
    LBLCOMM->setText(noComText);

    const common::MeterReading previous = reading_;
    reading_.valueText.clear();
    extremes_ = {};
    reading_.rangeText.clear();
    reading_.functionText.clear();
    LBLVALUE->clear();
    LBLMAX->clear();
    LBLMIN->clear();
    LBLRAN->clear();
    LBLFUN->clear();
    if (!previous.functionText.isEmpty())
        Q_EMIT functionTextChanged(QString());

    setViewButtonsEnabled(false);
}

void PANEL::onLinkBack()
{
    Timer6->setEnabled(true);
    setViewButtonsEnabled(true);
    showLinkState();
}

bool PANEL::showsLiveReading() const
{
    return Timer6->isEnabled() && !link_.isLost();
}

void PANEL::resetMaxMin()
{
    extremes_.max = LBLVALUE->text();
    extremes_.min = LBLVALUE->text();
    LBLMAX->setText(extremes_.max);
    LBLMIN->setText(extremes_.min);
}

void PANEL::showLinkState()
{
    LBLCOMM->setText(QStringLiteral("Com") + QString::number(platform_.port->commPort()));
}

void PANEL::setViewButtonsEnabled(bool enabled)
{
    for (QPushButton *button : {CMDGRAPH, CMDLIST, CMDANALOG, CMDMEMORY})
        button->setEnabled(enabled);
}

void PANEL::closeEvent(QCloseEvent *event)
{
    for (platform::Timer *timer : {Timer6, Timer2, Timer3, Timer4, Timer1, Timer5})
        timer->setEnabled(false);
    Q_EMIT closing();
    event->accept();
}

} // namespace live
