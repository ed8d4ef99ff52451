// The logger window end to end: PANEL with live timers on a QSerialPort
// that talks to the emulated meter through a pseudo-terminal, in real time
// (the emulator paces its bytes at 2400 baud). Every wait is bounded.

#include "emulator/meteremulator.h"
#include "emulator/ptyserver.h"
#include "link/ui/panel.h"
#include "logger/ui/attachlogger.h"
#include "logger/ui/logger.h"
#include "logger/ui/loggerfeature.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/systemclock.h"
#include "platform/wait.h"
#include "support/scripteddialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class LoggerPtyTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openingAndSetListOverThePty();
};

void LoggerPtyTest::openingAndSetListOverThePty()
{
    emulator::MeterEmulator meter;
    meter.setLive({.code = 0x80, .fixedDigits = 123450});
    emulator::LoggerContent content = emulator::LoggerContent::sample();
    content.idCode = 4711;
    content.samplingTime = 3;
    content.memorySizeCode = 4;
    meter.setLogger(content);
    emulator::PtyServer server(meter);
    QVERIFY2(server.open(), qPrintable(server.errorText()));

    platform::QtSerialPort port({{1, server.slavePath()}});
    platform::SystemClock clock;
    platform::QtEventPump pump;
    testsupport::ScriptedDialogs dialogs;
    platform::Platform p;
    p.port = &port;
    p.clock = &clock;
    p.pump = &pump;
    p.dialogs = &dialogs;
    common::SharedValues shared;
    shared.portNumber = 1;
    live::PANEL panel(p, shared);
    QVERIFY2(panel.load(), qPrintable(panel.openError()));
    const auto feature = logger::attachLogger(panel);
    logger::LOGGER &w = static_cast<logger::LoggerFeature &>(*feature).loggerWindow();

    const auto waitFor = [&](auto ready, double seconds) {
        return platform::waitUntil(ready, seconds, clock, pump);
    };
    QVERIFY(waitFor([&] { return !panel.LBLVALUE->text().isEmpty(); }, 3.0));

    panel.CMDMEMORY->click();
    QVERIFY(waitFor([&] { return !w.Label4->text().isEmpty(); }, 6.0));
    QCOMPARE(w.Label4->text(), QStringLiteral("256 K"));
    QCOMPARE(w.Text3->text(), QStringLiteral("4711"));
    QCOMPARE(w.Text2->text(), QStringLiteral("3  sec"));
    QVERIFY(waitFor([&] { return panel.Timer6->isEnabled(); }, 1.0));

    w.SSCommand1->click(); // the whole exchange runs inside the click
    QCOMPARE(w.Label2->text(), QStringLiteral("4"));
    QCOMPARE(w.setList().rowCount(), 4);
    QCOMPARE(w.setList().cell(2, 1), QStringLiteral("00-02-28----23:59:55"));
    QVERIFY(dialogs.messages().isEmpty());
    QVERIFY(panel.Timer6->isEnabled());

    // The meter streams again and the panel reads it.
    panel.LBLVALUE->clear();
    QVERIFY(waitFor([&] { return !panel.LBLVALUE->text().isEmpty(); }, 3.0));
    QCOMPARE(panel.LBLCOMM->text(), QStringLiteral("Com1"));
    panel.close();
}

QTEST_MAIN(LoggerPtyTest)
#include "tst_loggerpty.moc"
