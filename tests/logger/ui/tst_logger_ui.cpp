// The LOGGER window and the main window's MEMORY, SYSTEM TIME SET and
// UPDATE through their buttons, over the scripted meter: clicks and answers
// in, requests, bytes and texts out.

#include "logger/messages.h"
#include "loggerwindowrig.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using loggertest::bytesOf;
using loggertest::LoggerWindowRig;

namespace {

const QStringList openingRequests{"A", "Y", "R134", "R135", " "};
const QStringList listRequests{"A", "R135", "A", "I", " ", " "};

} // namespace

class LoggerUiTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opening_data();
    void opening();
    void openingFailures_data();
    void openingFailures();
    void everyResizeReadsAgain();
    void setList();
    void setListFailures_data();
    void setListFailures();
    void noRecords();
    void setSelection();
    void settings_data();
    void settings();
    void timeOfMeter();
    void closingAndRelMode();
    void oneExchangeAtATime();
    void memoryOpensAFreshLogger();
    void systemTimeSet();
    void update_data();
    void update();
};

void LoggerUiTest::opening_data()
{
    QTest::addColumn<int>("sets");
    QTest::addColumn<QString>("remaining");
    QTest::newRow("three sets") << 3 << "32.0 K";
    QTest::newRow("no sets: the memory size") << 0 << "128 K";
}

void LoggerUiTest::opening()
{
    QFETCH(int, sets);
    QFETCH(QString, remaining);
    LoggerWindowRig rig;
    rig.meter.always(QStringLiteral("R135"), bytesOf({sets}));
    rig.port.feed("\x02\x80"); // part of a live frame, dropped by the attention
    rig.openLogger();
    logger::LOGGER &w = rig.window();
    QVERIFY(w.isVisible());
    QCOMPARE(w.x(), rig.panel->frameGeometry().width());
    QCOMPARE(rig.meter.requests(), openingRequests);
    QCOMPARE(w.Label4->text(), QStringLiteral("128 K"));
    QCOMPARE(w.Label6->text(), remaining);
    QCOMPARE(w.Text3->text(), QStringLiteral("4711"));
    QCOMPARE(w.Text2->text(), QStringLiteral("5  sec"));
    QVERIFY(!w.Text1->isEnabled());
    QVERIFY(!rig.panel->CMDMEMORY->isEnabled());
    QVERIFY(rig.polling());
}

void LoggerUiTest::openingFailures_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("critical");
    QTest::newRow("status never answered") << 2 << logger::text::timeOutExit << false;
    QTest::newRow("memory size code 5") << 5 << logger::text::invalidMemorySize() << true;
}

void LoggerUiTest::openingFailures()
{
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(bool, critical);
    LoggerWindowRig rig;
    rig.meter.always(QStringLiteral("R134"), bytesOf({code}));
    if (code == 2)
        rig.meter.silence(QStringLiteral("Y"));
    QList<bool> pollingDuringMessage;
    rig.dialogs.setOnMessage([&](const auto &) { pollingDuringMessage.append(rig.polling()); });
    rig.openLogger();

    QCOMPARE(rig.dialogs.messageTexts(), QStringList{message});
    QCOMPARE(rig.dialogs.messages().first().icon == platform::MessageIcon::Critical, critical);
    QCOMPARE(pollingDuringMessage, QList<bool>{false});
    QVERIFY(rig.window().isHidden());
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());
    QVERIFY(rig.polling());
    QCOMPARE(rig.port.sent().last(), QByteArray(" "));
}

void LoggerUiTest::everyResizeReadsAgain()
{
    LoggerWindowRig rig;
    rig.openLogger();
    rig.clearRecords();
    rig.meter.always(QStringLiteral("Y"), loggertest::statusBytes(99, 0, 7));
    rig.window().resize(rig.window().width() + 40, rig.window().height());
    rig.window().resize(rig.window().width() + 40, rig.window().height() + 10);
    QCoreApplication::processEvents();
    QCOMPARE(rig.meter.requests(), openingRequests); // one read for the burst
    QCOMPARE(rig.window().Text3->text(), QStringLiteral("99"));
    QCOMPARE(rig.window().Label6->text(), QStringLiteral("128.0 K"));
}

void LoggerUiTest::setList()
{
    LoggerWindowRig rig;
    rig.openLogger();
    rig.clearRecords();
    logger::LOGGER &w = rig.window();
    QAbstractItemModelTester tester(&w.setList(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QStringList captions;
    QList<bool> polling;
    rig.pump.onStep([&](double) {
        if (captions.isEmpty() || captions.last() != w.Label1->text())
            captions.append(w.Label1->text());
        polling.append(rig.polling());
    });

    w.SSCommand1->click();
    QCOMPARE(rig.meter.requests(), listRequests);
    QCOMPARE(w.Label2->text(), QStringLiteral("3"));
    QCOMPARE(w.setList().rowCount(), 3);
    QCOMPARE(w.setList().cell(2, 1), QStringLiteral("00-02-28----23:59:55"));
    QCOMPARE(w.Label8->text(), QStringLiteral("3 SETS COMPLETED"));
    QVERIFY(captions.contains(QStringLiteral("PLEASE WAIT....")));
    QVERIFY(captions.contains(QStringLiteral("PLEASE WAIT.....")));
    QCOMPARE(w.Label1->text(), QString());
    QVERIFY(polling.contains(false));
    QVERIFY(rig.polling());
    QVERIFY(!w.SSCommand1->isEnabled());
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());

    // A row click enables NO.S OF SET again; a second reading appends.
    w.Grid1Click(w.setList().index(0, 0));
    w.SSCommand1->click();
    QCOMPARE(w.setList().rowCount(), 6);
}

void LoggerUiTest::setListFailures_data()
{
    QTest::addColumn<bool>("unplug");
    QTest::addColumn<QString>("message");
    QTest::newRow("list not answered") << false << logger::text::timeOutTryAgain;
    QTest::newRow("meter unplugged during the list") << true << logger::text::portLost;
}

void LoggerUiTest::setListFailures()
{
    QFETCH(bool, unplug);
    QFETCH(QString, message);
    LoggerWindowRig rig;
    rig.openLogger();
    logger::LOGGER &w = rig.window();
    rig.meter.silence(QStringLiteral("I"));
    if (unplug)
        rig.pump.after(rig.pump.advanced() + 1.5, [&] { rig.port.setDeviceLost(true); });
    w.SSCommand1->click();

    QCOMPARE(rig.dialogs.messageTexts(), QStringList{message});
    QCOMPARE(w.setList().rowCount(), 0);
    QVERIFY(w.SSCommand1->isEnabled());
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());
    QVERIFY(rig.polling());
    QCOMPARE(rig.port.sent().last(), QByteArray(" "));
    // A set of the list that was not read is refused.
    w.Text1->setText(QStringLiteral("2"));
    QCOMPARE(rig.dialogs.messageTexts().last(), logger::text::invalidSet);
    QVERIFY(!w.SSCommand3->isEnabled());
}

void LoggerUiTest::noRecords()
{
    LoggerWindowRig rig;
    rig.meter.always(QStringLiteral("R135"), bytesOf({0}));
    rig.meter.always(QStringLiteral("I"), QByteArray());
    rig.openLogger();
    rig.clearRecords();
    const double start = rig.pump.advanced();
    rig.window().SSCommand1->click();
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{logger::text::noRecords});
    QCOMPARE(rig.meter.requests(), listRequests);
    // Two attentions and the closing pauses: no waiting for a list.
    QVERIFY(rig.pump.advanced() - start < 0.5 + 0.5 + 0.3 + 0.1);
}

void LoggerUiTest::setSelection()
{
    LoggerWindowRig rig;
    rig.openLogger();
    logger::LOGGER &w = rig.window();
    w.SSCommand1->click();
    QSignalSpy asked(&w, &logger::LOGGER::showDataRequested);
    QList<bool> enabledDuringDownload;
    connect(&w, &logger::LOGGER::showDataRequested, this, [&] {
        const std::initializer_list<QWidget *> controls{
            w.Grid1, w.SSCommand6, w.Text2, w.Text1, w.SSCommand1, w.SSCommand4, w.SSCommand5};
        for (QWidget *control : controls)
            enabledDuringDownload.append(control->isEnabled());
    });

    // A row click chooses its set and asks for its data at once.
    w.Grid1Click(w.setList().index(1, 1));
    QCOMPARE(w.Text1->text(), QStringLiteral("2"));
    QCOMPARE(w.Label5->text(), QStringLiteral("20"));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().first().toInt(), 2);
    QCOMPARE(enabledDuringDownload, QList<bool>(7, false));
    QVERIFY(w.Grid1->isEnabled());

    // The last set with valueByteFlag 1: one record less shown, not counted.
    rig.shared.valueByteFlag = 1;
    w.Text1->setText(QStringLiteral("3"));
    QCOMPARE(w.Label5->text(), QStringLiteral("9"));
    QCOMPARE(rig.shared.recTotal, 20.0); // the record list still holds set 2
    w.SSCommand3->click();
    QCOMPARE(rig.shared.recTotal, 10.0);
    QCOMPARE(asked.last().first().toInt(), 3);

    w.Text1->setText(QStringLiteral("4"));
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{logger::text::invalidSet});
    QCOMPARE(w.Text1->text(), QString());
    QCOMPARE(w.Label5->text(), QString());
    QVERIFY(!w.SSCommand3->isEnabled());
}

void LoggerUiTest::settings_data()
{
    QTest::addColumn<bool>("idCode");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("ID code 70000")
        << true << "70000"
        << QByteArrayList{"A", bytesOf({'W', 0, 0, 0, 128, 255, 0}),
                          bytesOf({'W', 0, 0, 0, 129, 255, 0}), " "}
        << " 65535" << QStringList{"Number Too Large ! Set Value to  65535!"};
    QTest::newRow("sampling 2,6")
        << false << "2,6"
        << QByteArrayList{"A", bytesOf({'W', 0, 0, 0, 130, 0, 0}),
                          bytesOf({'W', 0, 0, 0, 131, 3, 0}), " "}
        << " 3 Sec" << QStringList{};
    QTest::newRow("ID code cancelled")
        << true << "" << QByteArrayList{} << "4711" << QStringList{};
}

void LoggerUiTest::settings()
{
    QFETCH(bool, idCode);
    QFETCH(QString, answer);
    QFETCH(QByteArrayList, sent);
    QFETCH(QString, shown);
    QFETCH(QStringList, messages);
    LoggerWindowRig rig;
    rig.openLogger();
    rig.clearRecords();
    logger::LOGGER &w = rig.window();
    rig.dialogs.queueInput(answer);
    (idCode ? w.SSCommand4 : w.SSCommand5)->click();

    QCOMPARE(rig.dialogs.prompts().size(), 1);
    QCOMPARE(rig.dialogs.prompts().first().defaultAnswer, idCode ? " 4711" : " 5");
    QCOMPARE(rig.port.sent(), sent);
    QCOMPARE((idCode ? w.Text3 : w.Text2)->text(), shown);
    QCOMPARE(rig.dialogs.messageTexts(), messages);
    QCOMPARE(w.Label1->text(), QString());
    QVERIFY(rig.polling());
}

void LoggerUiTest::timeOfMeter()
{
    LoggerWindowRig rig;
    rig.openLogger();
    rig.clearRecords();
    logger::LOGGER &w = rig.window();
    w.SSCommand6->click();
    QCOMPARE(rig.meter.requests(), (QStringList{"A", "C", " "}));
    QCOMPARE(w.Label3->text(), QStringLiteral("24-03-15-----10:30:05"));
    QVERIFY(w.SSCommand6->isEnabled());
    QVERIFY(rig.polling());

    rig.meter.always(QStringLiteral("C"), bytesOf({0x24, 0x03, 0x15, 0x10, 0x30, 0x05, 0x00}));
    w.Label3->clear();
    w.SSCommand6->click();
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{logger::text::badReply});
    QCOMPARE(w.Label3->text(), QString());
    QVERIFY(w.SSCommand6->isEnabled());
    QCOMPARE(rig.port.bytesWaiting(), 0);
}

void LoggerUiTest::closingAndRelMode()
{
    LoggerWindowRig rig;
    rig.openLogger();
    rig.window().close();
    QVERIFY(!rig.window().isLoaded());
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());

    rig.openLogger();
    QVERIFY(rig.window().isVisible());
    // A live frame with the meter's REL mode on closes the window.
    rig.port.feed(bytesOf({2, 0x80, 0x12, 0x34, 0x50, 0x88, 3}));
    for (int i = 0; i < 7; ++i)
        rig.panel->Timer6->fire();
    QVERIFY(!rig.window().isLoaded());
    QVERIFY(rig.window().isHidden());
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());
}

void LoggerUiTest::oneExchangeAtATime()
{
    LoggerWindowRig rig;
    rig.openLogger();
    rig.clearRecords();
    logger::LOGGER &w = rig.window();
    bool clicked = false;
    rig.pump.onStep([&](double) {
        if (clicked)
            return;
        clicked = true; // while NO.S OF SET waits
        for (QPushButton *b : {w.SSCommand6, w.SSCommand4, rig.panel->CMDSYSTEM,
                               rig.panel->CMDUPDATE, rig.panel->CMDMEMORY})
            b->click();
    });
    w.SSCommand1->click();
    QVERIFY(clicked);
    QCOMPARE(rig.meter.requests(), listRequests);
    QVERIFY(rig.dialogs.prompts().isEmpty());
    QCOMPARE(w.setList().rowCount(), 3);
}

void LoggerUiTest::memoryOpensAFreshLogger()
{
    LoggerWindowRig rig;
    rig.openLogger();
    logger::LOGGER &w = rig.window();
    w.SSCommand1->click(); // lists the sets and enables MEMORY again
    w.Text1->setText(QStringLiteral("2"));
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());
    int recordListClosed = 0;
    rig.loggerFeature().commands().setRecordListCloser([&] { ++recordListClosed; });

    rig.clearRecords();
    rig.openLogger();
    QCOMPARE(recordListClosed, 1);
    QVERIFY(w.isVisible());
    QCOMPARE(w.setList().rowCount(), 0);
    QCOMPARE(w.Label5->text(), QString());
    QVERIFY(w.SSCommand1->isEnabled());
    QVERIFY(!w.SSCommand3->isEnabled());
    QCOMPARE(rig.meter.requests(), (QStringList{"A", "Y", "R134", "R135", " "}));
}

void LoggerUiTest::systemTimeSet()
{
    LoggerWindowRig rig;
    rig.clock.setDate(QDate(2009, 12, 31));
    rig.clock.setSecondsSinceMidnight(86399.0 - 0.1); // read after the 0.1 s attention
    QStringList seen; // request, caption, polling
    rig.meter.watch([&](const QString &key) {
        seen.append(key + u'|' + rig.panel->LBLCOMM->text() + (rig.polling() ? "|on" : "|off"));
    });
    rig.panel->CMDSYSTEM->click();
    QCOMPARE(rig.port.sent(),
             (QByteArrayList{"A", bytesOf({'D', 0x09, 0x12, 0x31, 0x23, 0x59, 0x59, 0}), " "}));
    QCOMPARE(seen, (QStringList{"A|WAIT|off", "D|WAIT|off", " |WAIT|off"}));
    QCOMPARE(rig.panel->LBLCOMM->text(), QStringLiteral("Com1"));
    QVERIFY(rig.polling());
}

void LoggerUiTest::update_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("loggerOpen");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QStringList>("messages");
    // sent: "A", the write, " " with the polling still off, " " with it on.

    const auto write = [](int code) {
        return QByteArrayList{"A", bytesOf({'W', 0, 0, 0, 134, code, 0, 0}), " ", " "};
    };
    QTest::newRow("4,0") << "4,0" << false << write(2) << QStringList{};
    QTest::newRow("3") << "3" << false << QByteArrayList{} << QStringList{logger::text::icPairs};
    QTest::newRow("cancelled") << "" << false << QByteArrayList{} << QStringList{};
    QTest::newRow("8 with the logger open") << "8" << true << write(4) << QStringList{};
}

void LoggerUiTest::update()
{
    QFETCH(QString, answer);
    QFETCH(bool, loggerOpen);
    QFETCH(QByteArrayList, sent);
    QFETCH(QStringList, messages);

    LoggerWindowRig rig;
    if (loggerOpen)
        rig.openLogger();
    rig.clearRecords();
    rig.dialogs.queueInput(answer);
    QList<bool> pollingAtSend;
    rig.meter.watch([&](const QString &) { pollingAtSend.append(rig.polling()); });
    rig.panel->CMDUPDATE->click();

    QCOMPARE(rig.dialogs.prompts().size(), 1);
    const auto &asked = rig.dialogs.prompts().first();
    QCOMPARE(asked.prompt, QStringLiteral("Update the MEMORY SIZE in No.s of ICs\r\n\r\n"
                                          "2-->  64K\r\n4-->128K\r\n6-->192K\r\n8-->256K"));
    QCOMPARE(asked.title, QStringLiteral("Input Memory Size"));
    QCOMPARE(asked.defaultAnswer, QStringLiteral("2.0"));
    QCOMPARE(rig.port.sent(), sent);
    if (!sent.isEmpty())
        QCOMPARE(pollingAtSend, (QList<bool>{false, false, false, true}));
    QCOMPARE(rig.dialogs.messageTexts(), messages);
    for (const auto &message : rig.dialogs.messages())
        QCOMPARE(message.icon, platform::MessageIcon::Critical);
    QVERIFY(rig.polling());
    if (loggerOpen) {
        QVERIFY(!rig.window().isLoaded());
        QVERIFY(rig.panel->CMDMEMORY->isEnabled());
    }
}

QTEST_MAIN(LoggerUiTest)
#include "tst_logger_ui.moc"
