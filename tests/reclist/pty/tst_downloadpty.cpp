// SHOW DATA end to end: PANEL with live timers on a QSerialPort that talks
// to the emulated meter through a pseudo-terminal, in real time (the
// emulator paces its bytes at 2400 baud). Every wait is bounded.

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
#include "reclist/ui/attachrecordlist.h"
#include "reclist/ui/reclistwindow.h"
#include "reclist/ui/recordlistfeature.h"
#include "support/scripteddialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class DownloadPtyTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showDataOverThePty();
};

void DownloadPtyTest::showDataOverThePty()
{
    emulator::MeterEmulator meter;
    meter.setLive({.code = 0x80, .fixedDigits = 123450});
    meter.setLogger(emulator::LoggerContent::sample());
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
    auto &loggerFeature = static_cast<logger::LoggerFeature &>(*feature);
    const auto records = reclist::attachRecordList(panel, loggerFeature);
    logger::LOGGER &w = loggerFeature.loggerWindow();
    reclist::REC_LIST &list = static_cast<reclist::RecordListFeature &>(*records).controller().recordList();

    const auto waitFor = [&](auto ready, double seconds) {
        return platform::waitUntil(ready, seconds, clock, pump);
    };
    QVERIFY(waitFor([&] { return !panel.LBLVALUE->text().isEmpty(); }, 3.0));
    panel.CMDMEMORY->click();
    QVERIFY(waitFor([&] { return !w.Label4->text().isEmpty(); }, 6.0));
    QVERIFY(waitFor([&] { return panel.Timer6->isEnabled(); }, 1.0));
    w.SSCommand1->click();
    QCOMPARE(w.Label2->text(), QStringLiteral("4"));

    w.Text1->setText(QStringLiteral("2"));
    QCOMPARE(w.Label5->text(), QStringLiteral("50"));
    w.SSCommand3->click(); // the whole download runs inside the click
    QVERIFY(dialogs.messages().isEmpty());
    QVERIFY(list.isVisible());
    QCOMPARE(list.list().recordCount(), 50);
    QCOMPARE(list.SSPANEL1->text(), QStringLiteral("50  RECORDS IN NO. 2  SET"));
    QCOMPARE(list.list().record(8).fields,
             (std::array<QString, 8>{"8", "24-03-14", "12:31:25", "-12.777", "V", "50 V", "DC", ""}));
    QCOMPARE(list.list().record(34).fields,
             (std::array<QString, 8>{"34", "24-03-14", "12:35:45", " 15.663", "V", "50 V", "DC", " Low "}));
    QVERIFY(panel.CMDMEMORY->isEnabled());
    QVERIFY(panel.Timer6->isEnabled());

    // The meter streams again and the panel reads it.
    panel.LBLVALUE->clear();
    QVERIFY(waitFor([&] { return !panel.LBLVALUE->text().isEmpty(); }, 3.0));
    QCOMPARE(panel.LBLCOMM->text(), QStringLiteral("Com1"));
    panel.close();
}

QTEST_MAIN(DownloadPtyTest)
#include "tst_downloadpty.moc"
