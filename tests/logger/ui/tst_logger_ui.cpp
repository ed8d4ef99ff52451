// The LOGGER window and the main window's MEMORY, SYSTEM TIME SET and UPDATE
// over the scripted meter: clicks and answers in, requests, bytes and texts out.

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
struct OpeningRow { int sets, code; bool silent; QString remaining; };
struct SettingsRow { bool idCode; QString answer; QByteArrayList sent; QString shown; QStringList messages; };

} // namespace

Q_DECLARE_METATYPE(OpeningRow)
Q_DECLARE_METATYPE(SettingsRow)

class LoggerUiTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opening_data();
    void opening();
    void setList_data();
    void setList();
    void setSelection();
    void settings_data();
    void settings();
    void timeOfMeter();
    void closingAndRelMode();
    void oneExchangeAtATime();
    void systemTimeSet();
    void update_data();
    void update();
};

void LoggerUiTest::opening_data()
{
    // Sets, the memory size code (11: one 11-byte status, 12: always), no
    // status at all; the remaining memory shown or the message.
    QTest::addColumn<OpeningRow>("r");
    QTest::newRow("three sets") << OpeningRow{3, 2, false, "32.0 K"};
    QTest::newRow("no sets: the memory size") << OpeningRow{0, 2, false, "128 K"};
    QTest::newRow("status never answered") << OpeningRow{3, 2, true, logger::text::timeOutExit};
    QTest::newRow("memory size code 5") << OpeningRow{3, 5, false, logger::text::invalidMemorySize()};
    QTest::newRow("11-byte status is asked again") << OpeningRow{3, 11, false, "32.0 K"};
    QTest::newRow("status always 11 bytes") << OpeningRow{3, 12, false, logger::text::badReply};
}

void LoggerUiTest::opening()
{
    QFETCH(OpeningRow, r);
    const auto [sets, code, silent, remaining] = r;
    LoggerWindowRig rig;
    rig.meter.always(QStringLiteral("R135"), bytesOf({sets}));
    rig.meter.always(QStringLiteral("R134"), bytesOf({code > 10 ? 2 : code}));
    const QByteArray status = loggertest::statusBytes(4711, 98304, 5) + '\0';
    silent ? rig.meter.silence(QStringLiteral("Y")) : code == 11 ? rig.meter.once(QStringLiteral("Y"), status) : code == 12 ? rig.meter.always(QStringLiteral("Y"), status) : void();
    QList<bool> pollingDuringMessage;
    rig.dialogs.setOnMessage([&](const auto &) { pollingDuringMessage.append(rig.polling()); });
    rig.port.feed("\x02\x80"); // part of a live frame, dropped by the attention
    rig.openLogger();
    logger::LOGGER &w = rig.window();
    QVERIFY(rig.polling() && rig.port.sent().last() == " ");
    if (silent || code == 5 || code == 12) {
        QVERIFY(rig.pump.advanced() < 3 * 2.5 + 0.1); // three status tries of 0.5 s + 2 s at most
        QCOMPARE(rig.dialogs.messageTexts(), QStringList{remaining});
        QCOMPARE(rig.dialogs.messages().first().icon == platform::MessageIcon::Critical, code == 5);
        QCOMPARE(pollingDuringMessage, QList<bool>{false});
        QVERIFY(w.isHidden() && rig.panel->CMDMEMORY->isEnabled());
        return;
    }
    QVERIFY(w.isVisible());
    QCOMPARE(rig.meter.requests(), (code == 11 ? QStringList{"A", "Y", "A", "Y", "R134", "R135", " "} : openingRequests));
    QCOMPARE((QStringList{w.Label4->text(), w.Label6->text(), w.Text3->text(), w.Text2->text()}), (QStringList{"128 K", remaining, "4711", "5  sec"}));
    QVERIFY(!w.Text1->isEnabled() && !rig.panel->CMDMEMORY->isEnabled());
    if (sets == 0)
        return;
    rig.clearRecords(); // every resize reads again, once for a burst
    rig.meter.always(QStringLiteral("Y"), loggertest::statusBytes(99, 0, 7));
    w.resize(w.width() + 40, w.height());
    w.resize(w.width() + 40, w.height() + 10);
    QCoreApplication::processEvents();
    QCOMPARE(rig.meter.requests(), openingRequests);
    QCOMPARE((QStringList{w.Text3->text(), w.Label6->text()}), (QStringList{"99", "128.0 K"}));

    w.SSCommand1->click(); // MEMORY again: a fresh LOGGER, the record list closed
    w.Text1->setText(QStringLiteral("2"));
    int recordListClosed = 0;
    rig.loggerFeature().commands().setRecordListCloser([&] { ++recordListClosed; });
    rig.clearRecords();
    rig.openLogger();
    QCOMPARE(recordListClosed, 1);
    QVERIFY(w.isVisible() && w.setList().rowCount() == 0 && w.Label5->text().isEmpty());
    QVERIFY(w.SSCommand1->isEnabled() && !w.SSCommand3->isEnabled());
    QCOMPARE(rig.meter.requests(), openingRequests);
}

void LoggerUiTest::setList_data()
{
    QTest::addColumn<QString>("meter"); // "", "silent", "unplugged", "none"
    QTest::addColumn<QString>("message");
    QTest::newRow("three sets") << "" << "";
    QTest::newRow("list not answered") << "silent" << logger::text::timeOutTryAgain;
    QTest::newRow("one entry of three, then silence") << "partial" << logger::text::timeOutTryAgain;
    QTest::newRow("meter unplugged during the list") << "unplugged" << logger::text::portLost;
    QTest::newRow("no records: no waiting for a list") << "none" << logger::text::noRecords;
}

void LoggerUiTest::setList()
{
    QFETCH(QString, meter);
    QFETCH(QString, message);
    LoggerWindowRig rig;
    if (meter == QLatin1String("none")) {
        rig.meter.always(QStringLiteral("R135"), bytesOf({0}));
        rig.meter.always(QStringLiteral("I"), QByteArray());
    }
    rig.openLogger();
    rig.clearRecords();
    logger::LOGGER &w = rig.window();
    QAbstractItemModelTester tester(&w.setList(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    if (meter == "silent" || meter == "unplugged")
        rig.meter.silence(QStringLiteral("I"));
    if (meter == "partial")
        rig.meter.always(QStringLiteral("I"), loggertest::entryBytes({0x24, 0x03, 0x14, 0x08, 0x00, 0x00}, 5), 0.1);
    if (meter == QLatin1String("unplugged"))
        rig.pump.after(rig.pump.advanced() + 1.5, [&] { rig.port.setDeviceLost(true); });
    QStringList captions;
    QList<bool> polling;
    rig.pump.onStep([&](double) {
        if (captions.isEmpty() || captions.last() != w.Label1->text())
            captions.append(w.Label1->text());
        polling.append(rig.polling());
    });
    const double start = rig.pump.advanced();
    w.SSCommand1->click();
    QCOMPARE(rig.dialogs.messageTexts(), message.isEmpty() ? QStringList{} : QStringList{message});
    QVERIFY(polling.contains(false) && rig.polling() && rig.panel->CMDMEMORY->isEnabled());
    QVERIFY(rig.port.sent().last() == " " && w.Label1->text().isEmpty());
    if (meter == QLatin1String("none")) {
        QCOMPARE(rig.meter.requests(), listRequests);
        QVERIFY(rig.pump.advanced() - start < 0.5 + 0.5 + 0.3 + 0.1); // two attentions and the closing pauses
        return;
    }
    if (!message.isEmpty()) {
        QVERIFY(rig.pump.advanced() - start <= 0.5 + 0.1 + logger::responseMarginSeconds + 1.6);
        QVERIFY(w.setList().rowCount() == 0 && w.SSCommand1->isEnabled());
        w.Text1->setText(QStringLiteral("2")); // a set of the list that was not read is refused
        QCOMPARE(rig.dialogs.messageTexts().last(), logger::text::invalidSet);
        QVERIFY(!w.SSCommand3->isEnabled());
        return;
    }
    QCOMPARE(rig.meter.requests(), listRequests);
    QCOMPARE((QStringList{w.Label2->text(), QString::number(w.setList().rowCount()), w.setList().cell(2, 1), w.Label8->text()}),
             (QStringList{"3", "3", "00-02-28----23:59:55", "3 SETS COMPLETED"}));
    QVERIFY(captions.contains(QStringLiteral("PLEASE WAIT....")) && captions.contains(QStringLiteral("PLEASE WAIT.....")));
    QVERIFY(!w.SSCommand1->isEnabled());
    w.Grid1Click(w.setList().index(0, 0)); // a row click enables NO.S OF SET again; a second reading appends
    w.SSCommand1->click();
    QCOMPARE(w.setList().rowCount(), 6);
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
        for (QWidget *control : std::initializer_list<QWidget *>{w.Grid1, w.SSCommand6, w.Text2, w.Text1, w.SSCommand1, w.SSCommand4, w.SSCommand5})
            enabledDuringDownload.append(control->isEnabled());
    });
    w.Grid1Click(w.setList().index(1, 1)); // a row click chooses its set and asks for its data at once
    QCOMPARE(w.Text1->text(), QStringLiteral("2"));
    QCOMPARE(w.Label5->text(), QStringLiteral("20"));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().first().toInt(), 2);
    QCOMPARE(enabledDuringDownload, QList<bool>(7, false));
    QVERIFY(w.Grid1->isEnabled());
    rig.shared.valueByteFlag = 1; // the last set with the flag: one record less shown, not counted
    w.Text1->setText(QStringLiteral("3"));
    QCOMPARE(w.Label5->text(), QStringLiteral("9"));
    QCOMPARE(rig.shared.recTotal, 20.0); // the record list still holds set 2
    w.SSCommand3->click();
    QCOMPARE(rig.shared.recTotal, 10.0);
    QCOMPARE(asked.last().first().toInt(), 3);
    w.Text1->setText(QStringLiteral("4"));
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{logger::text::invalidSet});
    QCOMPARE((QStringList{w.Text1->text(), w.Label5->text()}), (QStringList{"", ""}));
    QVERIFY(!w.SSCommand3->isEnabled());
}

void LoggerUiTest::settings_data()
{
    QTest::addColumn<SettingsRow>("r");
    const auto w = [](int address, int value) { return bytesOf({'W', 0, 0, 0, address, value, 0}); };
    QTest::newRow("ID code 70000") << SettingsRow{true, "70000", {"A", w(128, 255), w(129, 255), " "}, " 65535", {"Number Too Large ! Set Value to  65535!"}};
    QTest::newRow("sampling 2,6") << SettingsRow{false, "2,6", {"A", w(130, 0), w(131, 3), " "}, " 3 Sec", {}};
    QTest::newRow("sampling 32768") << SettingsRow{false, "32768", {"A", w(130, 127), w(131, 255), " "}, " 32767 Sec", {"Number Too Large ! Set Value to  32767!"}};
    QTest::newRow("ID code cancelled") << SettingsRow{true, "", {}, "4711", {}};
}

void LoggerUiTest::settings()
{
    QFETCH(SettingsRow, r);
    LoggerWindowRig rig;
    rig.openLogger();
    rig.clearRecords();
    logger::LOGGER &w = rig.window();
    rig.dialogs.queueInput(r.answer);
    (r.idCode ? w.SSCommand4 : w.SSCommand5)->click();
    QVERIFY(rig.dialogs.prompts().size() == 1 && rig.dialogs.prompts().first().defaultAnswer == (r.idCode ? " 4711" : " 5"));
    QCOMPARE(rig.port.sent(), r.sent);
    QCOMPARE((r.idCode ? w.Text3 : w.Text2)->text(), r.shown);
    QCOMPARE(rig.dialogs.messageTexts(), r.messages);
    QVERIFY(w.Label1->text().isEmpty() && rig.polling());
}

void LoggerUiTest::timeOfMeter()
{
    LoggerWindowRig rig;
    rig.openLogger();
    rig.clearRecords();
    logger::LOGGER &w = rig.window();
    w.SSCommand6->click();
    QCOMPARE(QStringList(rig.meter.requests()) << w.Label3->text(), (QStringList{"A", "C", " ", "24-03-15-----10:30:05"}));
    QVERIFY(w.SSCommand6->isEnabled() && rig.polling());
    rig.meter.always(QStringLiteral("C"), bytesOf({0x24, 0x03, 0x15, 0x10, 0x30, 0x05, 0x00}));
    w.Label3->clear();
    w.SSCommand6->click();
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{logger::text::badReply});
    QVERIFY(w.Label3->text().isEmpty() && w.SSCommand6->isEnabled() && rig.port.bytesWaiting() == 0);
}

void LoggerUiTest::closingAndRelMode()
{
    LoggerWindowRig rig;
    rig.openLogger();
    rig.window().close();
    QVERIFY(!rig.window().isLoaded() && rig.panel->CMDMEMORY->isEnabled());
    rig.openLogger();
    QVERIFY(rig.window().isVisible());
    rig.port.feed(bytesOf({2, 0x80, 0x12, 0x34, 0x50, 0x88, 3})); // a live frame with REL on closes the window
    for (int i = 0; i < 7; ++i)
        rig.panel->Timer6->fire();
    QVERIFY(!rig.window().isLoaded() && rig.window().isHidden() && rig.panel->CMDMEMORY->isEnabled());
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
        for (QPushButton *b : {w.SSCommand6, w.SSCommand4, rig.panel->CMDSYSTEM, rig.panel->CMDUPDATE, rig.panel->CMDMEMORY})
            b->click();
    });
    w.SSCommand1->click();
    QCOMPARE(rig.meter.requests(), listRequests);
    QVERIFY(clicked && rig.dialogs.prompts().isEmpty() && w.setList().rowCount() == 3);
}

void LoggerUiTest::systemTimeSet()
{
    LoggerWindowRig rig;
    rig.clock.setDate(QDate(2009, 12, 31));
    rig.clock.setSecondsSinceMidnight(86399.0 - 0.1); // read after the 0.1 s attention
    QStringList seen; // request, caption, polling
    rig.meter.watch([&](const QString &key) { seen.append(key + u'|' + rig.panel->LBLCOMM->text() + (rig.polling() ? "|on" : "|off")); });
    rig.panel->CMDSYSTEM->click();
    QCOMPARE(rig.port.sent(), (QByteArrayList{"A", bytesOf({'D', 0x09, 0x12, 0x31, 0x23, 0x59, 0x59, 0}), " "}));
    QCOMPARE(seen, (QStringList{"A|WAIT|off", "D|WAIT|off", " |WAIT|off"}));
    QVERIFY(rig.panel->LBLCOMM->text() == "Com1" && rig.polling());
}

void LoggerUiTest::update_data()
{
    // sent: "A", the write, " " with the polling still off, " " with it on.
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("loggerOpen");
    QTest::addColumn<QByteArrayList>("sent");
    const auto write = [](int code) { return QByteArrayList{"A", bytesOf({'W', 0, 0, 0, 134, code, 0, 0}), " ", " "}; };
    QTest::newRow("4,0") << "4,0" << false << write(2);
    QTest::newRow("3: told to give pairs") << "3" << false << QByteArrayList{};
    QTest::newRow("8 with the logger open") << "8" << true << write(4);
}

void LoggerUiTest::update()
{
    QFETCH(QString, answer);
    QFETCH(bool, loggerOpen);
    QFETCH(QByteArrayList, sent);
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
    QCOMPARE((QStringList{asked.title, asked.prompt, asked.defaultAnswer}),
             (QStringList{"Input Memory Size", "Update the MEMORY SIZE in No.s of ICs\r\n\r\n2-->  64K\r\n4-->128K\r\n6-->192K\r\n8-->256K", "2.0"}));
    QCOMPARE(rig.port.sent(), sent);
    if (!sent.isEmpty())
        QCOMPARE(pollingAtSend, (QList<bool>{false, false, false, true}));
    QCOMPARE(rig.dialogs.messageTexts(), sent.isEmpty() ? QStringList{logger::text::icPairs} : QStringList{});
    for (const auto &message : rig.dialogs.messages())
        QCOMPARE(message.icon, platform::MessageIcon::Critical);
    QVERIFY(rig.polling());
    if (loggerOpen)
        QVERIFY(!rig.window().isLoaded() && rig.panel->CMDMEMORY->isEnabled());
}

QTEST_MAIN(LoggerUiTest)
#include "tst_logger_ui.moc"
