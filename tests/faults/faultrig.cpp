#include "faults/faultrig.h"

#include "link/ui/panel.h"
#include "logger/ui/logger.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <utility>

namespace faulttest {

namespace {
constexpr int heartbeatMs = 20;
// A pause of the event loop this long means the program blocked somewhere.
constexpr double freezeSeconds = 3.0;
// The meter's reading after a fault: different from the one before.
constexpr quint32 recoveredDigits = 43210;
const QString recoveredValue = QStringLiteral("04.321");
} // namespace

Heartbeat::Heartbeat()
{
    sinceLast_.start();
    timer_.setInterval(heartbeatMs);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
        longestMs_ = std::max(longestMs_, sinceLast_.restart());
    });
    timer_.start();
}

PanelWatch::PanelWatch(const live::PANEL &panel)
{
    timer_.setInterval(heartbeatMs);
    QObject::connect(&timer_, &QTimer::timeout, this, [this, &panel] {
        if (panel.LBLCOMM->text() != QLatin1String(" NO COM "))
            return;
        sawNoCom_ = true;
        memoryEnabledWhileLost_ = memoryEnabledWhileLost_ || panel.CMDMEMORY->isEnabled();
        if (onNoCom_)
            std::exchange(onNoCom_, {})();
    });
    timer_.start();
}

emulator::LiveSettings FaultRig::defaultLive()
{
    emulator::LiveSettings live;
    live.code = 0x42; // "50 V"
    live.status = emulator::status::Dc | emulator::status::Auto;
    live.fixedDigits = 12340;
    live.framesPerSecond = 10;
    return live;
}

FaultRig::FaultRig(const emulator::LiveSettings &live)
{
    meter.setLive(live);
}

FaultRig::~FaultRig()
{
    if (program && program->panel())
        program->panel()->close();
    program.reset();
}

bool FaultRig::start()
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    const QString device = dir_.filePath(QStringLiteral("ttyUSB0"));
    if (!server.open() || !tap.connect(server.slavePath(), device)) {
        error_ = server.errorText() + tap.errorText();
        return false;
    }
    app::Options options;
    options.com1Device = device;
    options.select = 1;
    program = std::make_unique<app::Application>(options, &dialogs);
    program->start();
    if (!program->panel()) {
        error_ = QStringLiteral("the panel did not open: ") + dialogs.messages().value(0).text;
        return false;
    }
    if (!waitFor([this] { return !panel().LBLVALUE->text().isEmpty(); }, 5000)) {
        error_ = QStringLiteral("no reading within 5 s");
        return false;
    }
    return true;
}

live::PANEL &FaultRig::panel() const
{
    return *program->panel();
}

logger::LOGGER *FaultRig::loggerWindow() const
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<logger::LOGGER *>(window))
            return found;
    }
    return nullptr;
}

bool waitFor(const std::function<bool()> &ready, int timeoutMs)
{
    return QTest::qWaitFor(ready, timeoutMs);
}

namespace {

QString checkButtons(live::PANEL &panel)
{
    if (!panel.Timer6->isEnabled())
        return QStringLiteral("Timer6 is off");
    for (QPushButton *button : {panel.CMDGRAPH, panel.CMDLIST, panel.CMDANALOG, panel.CMDMEMORY}) {
        if (!button->isEnabled())
            return button->text() + QStringLiteral(" is disabled");
    }
    panel.CMDRESET->click();
    if (panel.LBLMAX->text() != panel.LBLVALUE->text() || panel.LBLMIN->text() != panel.LBLVALUE->text())
        return QStringLiteral("RESET did not take the reading");
    return {};
}

QString checkLoggerOpens(FaultRig &rig)
{
    live::PANEL &panel = rig.panel();
    const qsizetype messagesBefore = rig.dialogs.messages().size();
    panel.CMDMEMORY->click();
    logger::LOGGER *window = rig.loggerWindow();
    if (!window)
        return QStringLiteral("MEMORY made no logger window");
    if (!waitFor([&] { return !window->Label4->text().isEmpty() && panel.Timer6->isEnabled(); }, 8000))
        return QStringLiteral("the logger window's status read did not finish: ")
               + rig.dialogs.messages().value(messagesBefore).text;
    if (rig.dialogs.messages().size() != messagesBefore)
        return QStringLiteral("the status read failed: ") + rig.dialogs.messages().last().text;
    window->close();
    if (!panel.CMDMEMORY->isEnabled())
        return QStringLiteral("MEMORY stays disabled after the logger window closed");
    panel.LBLVALUE->clear();
    if (!waitFor([&] { return panel.LBLVALUE->text() == recoveredValue; }, 5000))
        return QStringLiteral("no live reading after the logger window closed");
    return {};
}

} // namespace

QString checkRecovered(FaultRig &rig, Recovery recovery)
{
    live::PANEL &panel = rig.panel();
    emulator::LiveSettings live = rig.meter.live();
    live.fixedDigits = recoveredDigits;
    rig.meter.setLive(live);
    if (!waitFor([&] { return panel.LBLCOMM->text() == QLatin1String("Com1"); }, 10000))
        return QStringLiteral("the link shows \"%1\"").arg(panel.LBLCOMM->text());
    if (!waitFor([&] { return panel.LBLVALUE->text() == recoveredValue; }, 5000))
        return QStringLiteral("the reading shows \"%1\", not the meter's %2")
            .arg(panel.LBLVALUE->text(), recoveredValue);
    if (QString problem = checkButtons(panel); !problem.isEmpty())
        return problem;
    if (recovery == Recovery::Logger) {
        if (QString problem = checkLoggerOpens(rig); !problem.isEmpty())
            return problem;
    }
    if (rig.heartbeat.longestGapSeconds() > freezeSeconds)
        return QStringLiteral("the event loop stood still for %1 s").arg(rig.heartbeat.longestGapSeconds());
    return {};
}

} // namespace faulttest
