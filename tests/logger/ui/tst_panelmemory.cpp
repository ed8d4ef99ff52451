#include "logger/messages.h"
#include "loggerwindowrig.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

using loggertest::bytesOf;
using loggertest::LoggerWindowRig;

class PanelMemoryTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void memoryOpensAFreshLogger();
    void systemTimeSet();
    void update_data();
    void update();
};

void PanelMemoryTest::memoryOpensAFreshLogger()
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

void PanelMemoryTest::systemTimeSet()
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

void PanelMemoryTest::update_data()
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

void PanelMemoryTest::update()
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

QTEST_MAIN(PanelMemoryTest)
#include "tst_panelmemory.moc"
