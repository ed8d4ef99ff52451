// A serial adapter unplugged and plugged back in: the device goes away
// under the open port, and later a device appears again at the same path.
// Stood in for by the emulator's pseudo-terminal behind a fixed symlink.

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

class ReconnectTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void unpluggedAdapterIsReopenedWhenItComesBack();
};

void ReconnectTest::unpluggedAdapterIsReopenedWhenItComesBack()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString device = dir.filePath(QStringLiteral("ttyUSB0"));

    emulator::LiveSettings live;
    live.code = 0x42;
    live.fixedDigits = 12340;
    live.framesPerSecond = 10;
    emulator::MeterEmulator meter(live);
    auto server = std::make_unique<emulator::PtyServer>(meter);
    QVERIFY2(server->open() && server->makeLink(device), qPrintable(server->errorText()));

    testsupport::ScriptedDialogs dialogs;
    app::Options options;
    options.com1Device = device;
    options.select = 1;
    app::Application program(options, &dialogs);
    program.start();
    QVERIFY(program.panel());
    live::PANEL &panel = *program.panel();
    QTRY_COMPARE_WITH_TIMEOUT(panel.LBLVALUE->text(), QStringLiteral("01.234"), 5000);

    // Unplug: the device vanishes. Plug back in 3 s later (a new device
    // node at the same path). Both happen while the panel sits in its
    // link-lost loop, so they are timed rather than awaited.
    bool sawNoCom = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        sawNoCom = sawNoCom || panel.LBLCOMM->text() == QLatin1String(" NO COM ");
    });
    watcher.start(50);
    server.reset();
    std::unique_ptr<emulator::PtyServer> replugged;
    QTimer::singleShot(3000, [&] {
        replugged = std::make_unique<emulator::PtyServer>(meter);
        QVERIFY(replugged->open() && replugged->makeLink(device));
    });

    QTRY_VERIFY_WITH_TIMEOUT(replugged && sawNoCom, 8000);
    QTRY_COMPARE_WITH_TIMEOUT(panel.LBLCOMM->text(), QStringLiteral("Com1"), 8000);
    QTRY_COMPARE_WITH_TIMEOUT(panel.LBLVALUE->text(), QStringLiteral("01.234"), 5000);
    QVERIFY(panel.CMDMEMORY->isEnabled());
    QVERIFY(panel.Timer6->isEnabled());
    QVERIFY(dialogs.messages().isEmpty());
    panel.close();
}

QTEST_MAIN(ReconnectTest)
#include "tst_reconnect.moc"
