// The live reading end to end over the real serial path: the emulator serves
// a pseudo-terminal, the panel reads it through QSerialPort with the real
// clock and event loop. Waits are bounded (QTRY_*), never fixed sleeps.

#include "emulator/meteremulator.h"
#include "emulator/ptyserver.h"
#include "link/ui/panel.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/systemclock.h"
#include "support/scripteddialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

struct LiveRig
{
    emulator::MeterEmulator meter;
    emulator::PtyServer server{meter};
    platform::QtSerialPort port;
    platform::SystemClock clock;
    platform::QtEventPump pump;
    testsupport::ScriptedDialogs dialogs;
    common::SharedValues shared;
    platform::Platform platform;
    std::unique_ptr<live::PANEL> panel;

    bool start(const emulator::LiveSettings &live)
    {
        meter.setLive(live);
        if (!server.open())
            return false;
        port.setDevice(1, server.slavePath());
        platform.port = &port;
        platform.clock = &clock;
        platform.pump = &pump;
        platform.dialogs = &dialogs;
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
        return panel->load();
    }
};

} // namespace

class LivePtyTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readingReachesThePanel();
    void silentMeterShowsNoComAndRecovers();
};

void LivePtyTest::readingReachesThePanel()
{
    LiveRig rig;
    emulator::LiveSettings live;
    live.code = 0x42; // "50 V"
    live.status = emulator::status::Dc | emulator::status::Auto | emulator::status::Negative;
    live.fixedDigits = 12340;
    live.framesPerSecond = 10;
    QVERIFY2(rig.start(live), qPrintable(rig.server.errorText() + rig.panel->openError()));
    QCOMPARE(rig.panel->LBLCOMM->text(), QStringLiteral("Com1"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.panel->LBLVALUE->text(), QStringLiteral("-01.234"), 5000);
    QCOMPARE(rig.panel->LBLFUN->text(), QStringLiteral("V"));
    QCOMPARE(rig.panel->LBLRAN->text(), QStringLiteral("50 V"));
    QCOMPARE(rig.panel->LBLAD->text(), QStringLiteral("DC"));
    QCOMPARE(rig.panel->LBLAUTO->text(), QStringLiteral("Auto"));
    QCOMPARE(rig.panel->LBLMAX->text(), QStringLiteral("-01.234"));
}

void LivePtyTest::silentMeterShowsNoComAndRecovers()
{
    LiveRig rig;
    emulator::LiveSettings live;
    live.code = 0x80;
    live.fixedDigits = 123450;
    live.framesPerSecond = 10;
    QVERIFY(rig.start(live));
    QTRY_COMPARE_WITH_TIMEOUT(rig.panel->LBLVALUE->text(), QStringLiteral("123.45"), 5000);

    // Switch the meter off for 3.5 s. The link-lost loop runs inside a
    // polling tick, so what it shows is sampled by a timer meanwhile.
    emulator::Fault silence;
    silence.kind = emulator::FaultKind::Silence;
    rig.meter.setFault(silence);
    QStringList commSeen;
    bool memoryEnabledWhileLost = true;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const QString comm = rig.panel->LBLCOMM->text();
        if (commSeen.isEmpty() || commSeen.last() != comm)
            commSeen << comm;
        if (comm == QLatin1String(" NO COM "))
            memoryEnabledWhileLost = rig.panel->CMDMEMORY->isEnabled();
    });
    sampler.start(100);
    QTimer::singleShot(3500, [&] { rig.meter.clearFault(); });

    QTRY_VERIFY_WITH_TIMEOUT(commSeen.contains(QStringLiteral(" NO COM ")), 8000);
    QTRY_COMPARE_WITH_TIMEOUT(rig.panel->LBLCOMM->text(), QStringLiteral("Com1"), 8000);
    QTRY_COMPARE_WITH_TIMEOUT(rig.panel->LBLVALUE->text(), QStringLiteral("123.45"), 5000);
    QVERIFY(!memoryEnabledWhileLost);
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());
    rig.pump.requestEnd();
}

QTEST_MAIN(LivePtyTest)
#include "tst_livepty.moc"
