// The live reading end to end over the real serial path: the emulator
// serves a pseudo-terminal, the program reads it through QSerialPort with
// the real clock and event loop. Waits are bounded (QTRY_*), never fixed
// sleeps. The link-lost loop runs inside a polling tick, so what it shows
// is sampled by a timer meanwhile.

#include "app/application.h"
#include "emulator/meteremulator.h"
#include "emulator/ptyserver.h"
#include "link/ui/panel.h"
#include "support/scripteddialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

// Records whether the panel showed " NO COM " at some moment.
struct NoComWatch
{
    bool seen = false;
    QTimer timer;

    explicit NoComWatch(const live::PANEL &panel)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, &panel] {
            seen = seen || panel.LBLCOMM->text() == QLatin1String(" NO COM ");
        });
        timer.start(50);
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
    void unpluggedAdapterIsReopenedWhenItComesBack();
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

    // The meter is switched off for 3.5 s.
    meter.setFault({emulator::FaultKind::Silence, 0});
    bool memoryEnabledWhileLost = true;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (panel->LBLCOMM->text() == QLatin1String(" NO COM "))
            memoryEnabledWhileLost = panel->CMDMEMORY->isEnabled();
    });
    sampler.start(100);
    NoComWatch watch(*panel);
    QTimer::singleShot(3500, [&] { meter.clearFault(); });

    QTRY_VERIFY_WITH_TIMEOUT(watch.seen, 8000);
    QTRY_COMPARE_WITH_TIMEOUT(panel->LBLCOMM->text(), QStringLiteral("Com1"), 8000);
    QTRY_COMPARE_WITH_TIMEOUT(panel->LBLVALUE->text(), QStringLiteral("123.45"), 5000);
    QVERIFY(!memoryEnabledWhileLost);
    QVERIFY(panel->CMDMEMORY->isEnabled());
    panel->close();
}

// A serial adapter unplugged and plugged back in: the device goes away
// under the open port, and later a device appears again at the same path
// (a pseudo-terminal behind a fixed symlink stands in for it).
void LivePtyTest::unpluggedAdapterIsReopenedWhenItComesBack()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString device = dir.filePath(QStringLiteral("ttyUSB0"));
    emulator::MeterEmulator meter(fixedReading(0x42, 12340));
    auto server = std::make_unique<emulator::PtyServer>(meter);
    QVERIFY2(server->open() && server->makeLink(device), qPrintable(server->errorText()));
    Program program;
    live::PANEL *panel = program.startOn(device);
    QVERIFY(panel);
    QTRY_COMPARE_WITH_TIMEOUT(panel->LBLVALUE->text(), QStringLiteral("01.234"), 5000);

    // Unplug, and plug back in 3 s later (a new device node at the same
    // path), both while the panel sits in its link-lost loop.
    NoComWatch watch(*panel);
    server.reset();
    std::unique_ptr<emulator::PtyServer> replugged;
    QTimer::singleShot(3000, [&] {
        replugged = std::make_unique<emulator::PtyServer>(meter);
        QVERIFY(replugged->open() && replugged->makeLink(device));
    });

    QTRY_VERIFY_WITH_TIMEOUT(replugged && watch.seen, 8000);
    QTRY_COMPARE_WITH_TIMEOUT(panel->LBLCOMM->text(), QStringLiteral("Com1"), 8000);
    QTRY_COMPARE_WITH_TIMEOUT(panel->LBLVALUE->text(), QStringLiteral("01.234"), 5000);
    QVERIFY(panel->Timer6->isEnabled());
    QVERIFY(program.dialogs.messages().isEmpty());
    panel->close();
}

QTEST_MAIN(LivePtyTest)
#include "tst_livepty.moc"
