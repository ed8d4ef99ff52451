// The live reading end to end over the real serial path: the emulator
// serves a pseudo-terminal, the program reads it through QSerialPort with
// the real clock and event loop. Waits are bounded (QTRY_*), never fixed
// sleeps. (The adapter pulled and plugged back in: tests/faults.)

#include "app/application.h"
#include "emulator/meteremulator.h"
#include "emulator/ptyserver.h"
#include "link/ui/panel.h"
#include "support/scripteddialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

struct Program
{
    testsupport::ScriptedDialogs dialogs;
    std::unique_ptr<app::Application> application;

    // Starts the program on COM1 = `device`.
    live::PANEL *startOn(const QString &device)
    {
        app::Options options;
        options.com1Device = device;
        options.select = 1;
        application = std::make_unique<app::Application>(options, &dialogs);
        application->start();
        return application->panel();
    }
};

emulator::LiveSettings fixedReading(quint8 code, quint32 digits, quint8 status = 0)
{
    emulator::LiveSettings live;
    live.code = code;
    live.status = status;
    live.fixedDigits = digits;
    live.framesPerSecond = 10;
    return live;
}

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
    using namespace emulator::status;
    emulator::MeterEmulator meter(fixedReading(0x42, 12340, Dc | Auto | Negative)); // "50 V"
    emulator::PtyServer server(meter);
    QVERIFY2(server.open(), qPrintable(server.errorText()));
    Program program;
    live::PANEL *panel = program.startOn(server.slavePath());
    QVERIFY(panel);
    QCOMPARE(panel->LBLCOMM->text(), QStringLiteral("Com1"));
    QTRY_COMPARE_WITH_TIMEOUT(panel->LBLVALUE->text(), QStringLiteral("-01.234"), 5000);
    const QStringList shown{panel->LBLFUN->text(), panel->LBLRAN->text(), panel->LBLAD->text(),
                            panel->LBLAUTO->text(), panel->LBLMAX->text()};
    QCOMPARE(shown, (QStringList{"V", "50 V", "DC", "Auto", "-01.234"}));
    panel->close();
}

void LivePtyTest::silentMeterShowsNoComAndRecovers()
{
    emulator::MeterEmulator meter(fixedReading(0x80, 123450));
    emulator::PtyServer server(meter);
    QVERIFY(server.open());
    Program program;
    live::PANEL *panel = program.startOn(server.slavePath());
    QVERIFY(panel);
    QTRY_COMPARE_WITH_TIMEOUT(panel->LBLVALUE->text(), QStringLiteral("123.45"), 5000);

    // The meter falls silent. No polling tick holds the event loop, so the
    // test sees the lost link as it stands, and then its return.
    meter.setFault({emulator::FaultKind::Silence, 0});
    QTRY_COMPARE_WITH_TIMEOUT(panel->LBLCOMM->text(), QStringLiteral(" NO COM "), 8000);
    QVERIFY(!panel->CMDMEMORY->isEnabled());
    QVERIFY(!panel->showsLiveReading());
    meter.clearFault();
    QTRY_COMPARE_WITH_TIMEOUT(panel->LBLCOMM->text(), QStringLiteral("Com1"), 8000);
    QTRY_COMPARE_WITH_TIMEOUT(panel->LBLVALUE->text(), QStringLiteral("123.45"), 5000);
    QVERIFY(panel->CMDMEMORY->isEnabled());
    panel->close();
}

QTEST_MAIN(LivePtyTest)
#include "tst_livepty.moc"
