#include "common/numbers.h"
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

const QStringList listRequests{"A", "R135", "A", "I", " ", " "};

// Every text a label shows while the pump runs.
QStringList *watchLabel(LoggerWindowRig &rig, QLabel *label)
{
    auto *seen = new QStringList;
    rig.pump.onStep([label, seen](double) {
        if (seen->isEmpty() || seen->last() != label->text())
            seen->append(label->text());
    });
    return seen;
}

} // namespace

class LoggerWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openingShowsTheLogger();
    void noSetsShowsTheMemorySize();
    void openingFailures_data();
    void openingFailures();
    void everyResizeReadsAgain();
    void setList();
    void setListFailures_data();
    void setListFailures();
    void noRecords();
    void setSelection_data();
    void setSelection();
    void gridClickAsksForTheSet();
    void settings_data();
    void settings();
    void timeOfMeter_data();
    void timeOfMeter();
    void closingAndRelMode();
    void oneExchangeAtATime();
};

void LoggerWindowTest::openingShowsTheLogger()
{
    LoggerWindowRig rig;
    rig.port.feed("\x02\x80"); // part of a live frame, dropped by the attention
    rig.openLogger();
    logger::LOGGER &w = rig.window();
    QVERIFY(w.isVisible());
    QCOMPARE(w.windowTitle(), QStringLiteral("LOGGER"));
    QCOMPARE(w.x(), rig.panel->frameGeometry().width());
    QCOMPARE(rig.meter.requests(), (QStringList{"A", "Y", "R134", "R135", " "}));
    QCOMPARE(w.Label4->text(), QStringLiteral("128 K"));
    QCOMPARE(w.Label6->text(), QStringLiteral("32.0 K"));
    QCOMPARE(w.Text3->text(), QStringLiteral("4711"));
    QCOMPARE(w.Text2->text(), QStringLiteral("5  sec"));
    QCOMPARE(w.Label1->text(), QString());
    QVERIFY(!w.Text1->isEnabled());
    QVERIFY(w.SSCommand1->isEnabled());
    QVERIFY(!w.SSCommand2->isEnabled());
    QVERIFY(!w.SSCommand3->isEnabled());
    QVERIFY(!rig.panel->CMDMEMORY->isEnabled());
    QVERIFY(rig.polling());
    QVERIFY(rig.dialogs.messages().isEmpty());
}

void LoggerWindowTest::noSetsShowsTheMemorySize()
{
    LoggerWindowRig rig;
    rig.meter.always(QStringLiteral("R135"), bytesOf({0}));
    rig.openLogger();
    QCOMPARE(rig.window().Label6->text(), QStringLiteral("128 K"));
    QCOMPARE(rig.window().Label6->text(), rig.window().Label4->text());
}

void LoggerWindowTest::openingFailures_data()
{
    QTest::addColumn<QString>("silent"); // request left unanswered
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("critical");

    QTest::newRow("status never answered") << "Y" << 2 << logger::text::timeOutExit << false;
    QTest::newRow("memory size not answered") << "R134" << 2 << logger::text::timeOutExit << false;
    QTest::newRow("memory size code 0") << "" << 0 << logger::text::invalidMemorySize() << true;
    QTest::newRow("memory size code 5") << "" << 5 << logger::text::invalidMemorySize() << true;
    QTest::newRow("number of sets not answered")
        << "R135" << 2 << logger::text::timeOutTryAgain << false;
    QTest::newRow("meter unplugged") << "unplug" << 2 << logger::text::portLost << true;
}

void LoggerWindowTest::openingFailures()
{
    QFETCH(QString, silent);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(bool, critical);

    LoggerWindowRig rig;
    rig.meter.always(QStringLiteral("R134"), bytesOf({code}));
    if (silent == QLatin1String("unplug")) {
        rig.meter.silence(QStringLiteral("Y"));
        rig.pump.after(rig.pump.advanced() + 1.0, [&] { rig.port.setDeviceLost(true); });
    } else if (!silent.isEmpty()) {
        rig.meter.silence(silent);
    }
    QList<bool> pollingDuringMessage;
    rig.dialogs.setOnMessage([&](const auto &) { pollingDuringMessage.append(rig.polling()); });
    rig.openLogger();

    logger::LOGGER &w = rig.window();
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{message});
    QCOMPARE(rig.dialogs.messages().first().icon == platform::MessageIcon::Critical, critical);
    QCOMPARE(pollingDuringMessage, QList<bool>{false});
    QVERIFY(w.isHidden());
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());
    QVERIFY(rig.polling());
    QVERIFY(!w.Text1->isEnabled());
    QCOMPARE(w.Label1->text(), QString());
    QCOMPARE(rig.port.sent().last(), QByteArray(" "));
    QVERIFY(rig.pump.advanced() < 3 * 2.5 + 3.1);
}

void LoggerWindowTest::everyResizeReadsAgain()
{
    LoggerWindowRig rig;
    rig.openLogger();
    rig.clearRecords();
    rig.meter.always(QStringLiteral("Y"), loggertest::statusBytes(99, 0, 7));
    rig.window().resize(rig.window().width() + 40, rig.window().height());
    rig.window().resize(rig.window().width() + 40, rig.window().height() + 10);
    QCoreApplication::processEvents();
    QCOMPARE(rig.meter.requests(), (QStringList{"A", "Y", "R134", "R135", " "}));
    QCOMPARE(rig.window().Text3->text(), QStringLiteral("99"));
    QCOMPARE(rig.window().Label6->text(), QStringLiteral("128.0 K"));
}

void LoggerWindowTest::setList()
{
    LoggerWindowRig rig;
    rig.openLogger();
    rig.clearRecords();
    logger::LOGGER &w = rig.window();
    QAbstractItemModelTester tester(&w.setList(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    std::unique_ptr<QStringList> captions(watchLabel(rig, w.Label1));
    QList<bool> pollingAtRequest;
    rig.pump.onStep([&](double) { pollingAtRequest.append(rig.polling()); });

    w.SSCommand1->click();
    QCOMPARE(rig.meter.requests(), listRequests);
    QCOMPARE(w.Label2->text(), QStringLiteral("3"));
    QCOMPARE(w.setList().rowCount(), 3);
    QCOMPARE(w.setList().cell(0, 1), QStringLiteral("24-03-14----08:00:00"));
    QCOMPARE(w.setList().cell(2, 0), QStringLiteral("3"));
    QCOMPARE(w.setList().cell(2, 1), QStringLiteral("00-02-28----23:59:55"));
    QCOMPARE(w.Label8->text(), QStringLiteral("3 SETS COMPLETED"));
    QVERIFY(captions->contains(QStringLiteral("PLEASE WAIT....")));
    QVERIFY(captions->contains(QStringLiteral("PLEASE WAIT.....")));
    QCOMPARE(w.Label1->text(), QString());
    QVERIFY(!w.SSCommand1->isEnabled());
    QVERIFY(!w.SSCommand2->isEnabled());
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());
    QVERIFY(rig.polling());
    QVERIFY(pollingAtRequest.contains(false));

    // A row click enables NO.S OF SET again; a second reading appends.
    w.Grid1Click(w.setList().index(0, 0));
    w.SSCommand1->click();
    QCOMPARE(w.setList().rowCount(), 6);
}

void LoggerWindowTest::setListFailures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("label2");
    QTest::newRow("number of sets not answered")
        << "R135" << logger::text::timeOutTryAgain << QString();
    QTest::newRow("list not answered") << "I" << logger::text::timeOutTryAgain << "3";
    QTest::newRow("list falls silent half way") << "half" << logger::text::timeOutTryAgain << "3";
    QTest::newRow("meter unplugged during the list") << "unplug" << logger::text::portLost << "3";
}

void LoggerWindowTest::setListFailures()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QFETCH(QString, label2);

    LoggerWindowRig rig;
    rig.openLogger();
    logger::LOGGER &w = rig.window();
    if (fault == QLatin1String("half"))
        rig.meter.always(QStringLiteral("I"), loggertest::entryBytes({0x24, 1, 2, 3, 4, 5}, 1));
    else if (fault == QLatin1String("unplug")) {
        rig.meter.silence(QStringLiteral("I"));
        rig.pump.after(rig.pump.advanced() + 1.5, [&] { rig.port.setDeviceLost(true); });
    } else
        rig.meter.silence(fault);
    w.SSCommand1->click();

    QCOMPARE(rig.dialogs.messageTexts(), QStringList{message});
    QCOMPARE(w.Label2->text(), label2);
    QCOMPARE(w.setList().rowCount(), 0);
    QCOMPARE(w.Label1->text(), QString());
    QVERIFY(w.SSCommand1->isEnabled());
    QVERIFY(rig.polling());
    QCOMPARE(rig.port.sent().last(), QByteArray(" "));
    if (fault != QLatin1String("R135"))
        QVERIFY(rig.panel->CMDMEMORY->isEnabled());
    // Choosing a set of the list that was not read is refused.
    rig.dialogs.setOnMessage({});
    w.Text1->setText(QStringLiteral("2"));
    QCOMPARE(rig.dialogs.messageTexts().last(), logger::text::invalidSet);
    QVERIFY(!w.SSCommand3->isEnabled());
}

void LoggerWindowTest::noRecords()
{
    LoggerWindowRig rig;
    rig.meter.always(QStringLiteral("R135"), bytesOf({0}));
    rig.meter.always(QStringLiteral("I"), QByteArray());
    rig.openLogger();
    rig.clearRecords();
    const double start = rig.pump.advanced();
    rig.window().SSCommand1->click();
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{logger::text::noRecords});
    QCOMPARE(rig.window().setList().rowCount(), 0);
    QCOMPARE(rig.meter.requests(), listRequests);
    // Two attentions and the closing pauses: no waiting for a list.
    QVERIFY(rig.pump.advanced() - start < 0.5 + 0.5 + 0.3 + 0.1);
}

void LoggerWindowTest::setSelection_data()
{
    QTest::addColumn<bool>("listRead");
    QTest::addColumn<int>("valueByteFlag");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("label5");
    QTest::addColumn<bool>("showData");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<double>("recTotal");

    const QStringList none;
    const QStringList invalid{logger::text::invalidSet};
    QTest::newRow("0") << true << 0 << "0"
                       << ""
                       << "" << false << none << 0.0;
    QTest::newRow("4 of 3") << true << 0 << "4"
                            << ""
                            << "" << false << invalid << 0.0;
    QTest::newRow("set 2") << true << 0 << "2"
                           << "2"
                           << "20" << true << none << 20.0;
    QTest::newRow("last set, flag 1") << true << 1 << "3"
                                      << "3"
                                      << "9" << true << none << 10.0;
    QTest::newRow("before the list was read") << false << 0 << "1"
                                              << ""
                                              << "" << false << invalid << 0.0;
}

void LoggerWindowTest::setSelection()
{
    QFETCH(bool, listRead);
    QFETCH(int, valueByteFlag);
    QFETCH(QString, typed);
    QFETCH(QString, text1);
    QFETCH(QString, label5);
    QFETCH(bool, showData);
    QFETCH(QStringList, messages);
    QFETCH(double, recTotal);

    LoggerWindowRig rig;
    rig.openLogger();
    logger::LOGGER &w = rig.window();
    if (listRead)
        w.SSCommand1->click();
    rig.shared.valueByteFlag = qint16(valueByteFlag);
    w.Label5->setText(QStringLiteral("stale"));
    w.Text1->setText(typed);
    QCOMPARE(w.Text1->text(), text1);
    QCOMPARE(w.Label5->text(), label5);
    QCOMPARE(w.SSCommand3->isEnabled(), showData);
    QCOMPARE(rig.dialogs.messageTexts(), messages);
    QCOMPARE(rig.shared.recTotal, recTotal);
}

void LoggerWindowTest::gridClickAsksForTheSet()
{
    LoggerWindowRig rig;
    rig.openLogger();
    logger::LOGGER &w = rig.window();
    w.SSCommand1->click();
    QList<bool> controlsDuringDownload;
    QSignalSpy asked(&w, &logger::LOGGER::showDataRequested);
    connect(&w, &logger::LOGGER::showDataRequested, this, [&] {
        controlsDuringDownload
            = {w.Grid1->isEnabled(),     w.SSCommand6->isEnabled(), w.Text2->isEnabled(),
               w.Text1->isEnabled(),     w.SSCommand1->isEnabled(), w.SSCommand4->isEnabled(),
               w.SSCommand5->isEnabled()};
    });
    w.Grid1Click(w.setList().index(1, 1));
    QCOMPARE(w.Text1->text(), QStringLiteral("2"));
    QCOMPARE(w.Label5->text(), QStringLiteral("20"));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().first().toInt(), 2);
    QCOMPARE(controlsDuringDownload, QList<bool>(7, false));
    for (QWidget *control : {static_cast<QWidget *>(w.Grid1), static_cast<QWidget *>(w.Text1),
                             static_cast<QWidget *>(w.SSCommand1)})
        QVERIFY(control->isEnabled());
    w.SSCommand3->click();
    QCOMPARE(asked.size(), 2);
}

void LoggerWindowTest::settings_data()
{
    QTest::addColumn<bool>("idCode");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("messages");

    const QStringList idWrite{"A", "W128", "W129", " "};
    QTest::newRow("ID code 70000")
        << true << "70000" << idWrite
        << QByteArrayList{bytesOf({'W', 0, 0, 0, 128, 255, 0}),
                          bytesOf({'W', 0, 0, 0, 129, 255, 0})}
        << " 65535" << QStringList{"Number Too Large ! Set Value to  65535!"};
    QTest::newRow("ID code 0") << true << "0" << idWrite
                               << QByteArrayList{bytesOf({'W', 0, 0, 0, 128, 0, 0}),
                                                 bytesOf({'W', 0, 0, 0, 129, 1, 0})}
                               << " 1" << QStringList{"Number Too Small ! Set Value to 1 !"};
    QTest::newRow("ID code cancelled")
        << true << "" << QStringList{"A", " "} << QByteArrayList{} << "4711" << QStringList{};
    QTest::newRow("sampling 2,6") << false << "2,6" << QStringList{"A", "W130", "W131", " "}
                                  << QByteArrayList{bytesOf({'W', 0, 0, 0, 130, 0, 0}),
                                                    bytesOf({'W', 0, 0, 0, 131, 3, 0})}
                                  << " 3 Sec" << QStringList{};
    QTest::newRow("sampling 2,5") << false << "2,5" << QStringList{"A", "W130", "W131", " "}
                                  << QByteArrayList{bytesOf({'W', 0, 0, 0, 130, 0, 0}),
                                                    bytesOf({'W', 0, 0, 0, 131, 2, 0})}
                                  << " 2 Sec" << QStringList{};
}

void LoggerWindowTest::settings()
{
    QFETCH(bool, idCode);
    QFETCH(QString, answer);
    QFETCH(QStringList, requests);
    QFETCH(QByteArrayList, writes);
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
    QCOMPARE(rig.meter.requests(), requests);
    QByteArrayList written;
    for (const QByteArray &sent : rig.port.sent())
        if (sent.startsWith('W'))
            written.append(sent);
    QCOMPARE(written, writes);
    QCOMPARE((idCode ? w.Text3 : w.Text2)->text(), shown);
    QCOMPARE(rig.dialogs.messageTexts(), messages);
    QCOMPARE(w.Label1->text(), QString());
    QVERIFY(rig.polling());
}

void LoggerWindowTest::timeOfMeter_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("label3");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("clock") << bytesOf({0x24, 0x03, 0x15, 0x10, 0x30, 0x05})
                           << "24-03-15-----10:30:05" << QStringList{};
    QTest::newRow("no answer") << QByteArray() << "" << QStringList{logger::text::timeOutTryAgain};
    QTest::newRow("seven bytes") << bytesOf({0x24, 0x03, 0x15, 0x10, 0x30, 0x05, 0x00}) << ""
                                 << QStringList{logger::text::badReply};
}

void LoggerWindowTest::timeOfMeter()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, label3);
    QFETCH(QStringList, messages);
    LoggerWindowRig rig;
    rig.openLogger();
    rig.clearRecords();
    rig.meter.always(QStringLiteral("C"), reply);
    logger::LOGGER &w = rig.window();
    w.SSCommand6->click();
    QCOMPARE(rig.meter.requests(), (QStringList{"A", "C", " "}));
    QCOMPARE(w.Label3->text(), label3);
    QCOMPARE(rig.dialogs.messageTexts(), messages);
    QVERIFY(w.SSCommand6->isEnabled());
    QCOMPARE(w.Label1->text(), QString());
    QVERIFY(rig.polling());
    QCOMPARE(rig.port.bytesWaiting(), 0);
}

void LoggerWindowTest::closingAndRelMode()
{
    LoggerWindowRig rig;
    rig.openLogger();
    rig.window().close();
    QVERIFY(!rig.window().isLoaded());
    QVERIFY(rig.window().isHidden());
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());

    rig.openLogger();
    QVERIFY(rig.window().isVisible());
    // A live frame with the meter's REL mode on closes the window.
    rig.port.feed(bytesOf({2, 0x80, 0x12, 0x34, 0x50, 0x88, 3}));
    for (int i = 0; i < 7; ++i)
        rig.panel->Timer6->fire();
    QVERIFY(rig.panel->Label2->isVisible() || rig.panel->Label2->isVisibleTo(rig.panel.get()));
    QVERIFY(!rig.window().isLoaded());
    QVERIFY(rig.window().isHidden());
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());
}

void LoggerWindowTest::oneExchangeAtATime()
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
        w.SSCommand6->click();
        w.SSCommand4->click();
        rig.panel->CMDSYSTEM->click();
        rig.panel->CMDUPDATE->click();
        rig.panel->CMDMEMORY->click();
    });
    w.SSCommand1->click();
    QVERIFY(clicked);
    QCOMPARE(rig.meter.requests(), listRequests);
    QVERIFY(rig.dialogs.prompts().isEmpty());
    QCOMPARE(w.setList().rowCount(), 3);
}

QTEST_MAIN(LoggerWindowTest)
#include "tst_logger.moc"
