#include "logger/inputnumber.h"
#include "logger/messages.h"
#include "logger/panelrequests.h"
#include "logger/setselection.h"
#include "scriptedmeter.h"
#include "support/scripteddialogs.h"

#include <QTest>

using loggertest::entryBytes;
using Kind = logger::SetChoice::Kind;

Q_DECLARE_METATYPE(logger::SetChoice::Kind)
Q_DECLARE_METATYPE(logger::IcCountAnswer::Kind)

class UserInputTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void inputnumber_data();
    void inputnumber();
    void inputnumberAsks();
    void setChoice_data();
    void setChoice();
    void icCount_data();
    void icCount();
};

void UserInputTest::inputnumber_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("messages");

    const QString tooSmall = QStringLiteral("Number Too Small ! Set Value to 1 !");
    QTest::newRow("70000 of 65535")
        << "70000" << 65535 << 65535 << QStringList{"Number Too Large ! Set Value to  65535!"};
    QTest::newRow("decimal comma 2,6") << "2,6" << 32767 << 3 << QStringList{};
    QTest::newRow("decimal comma 2,5 to even") << "2,5" << 32767 << 2 << QStringList{};
    QTest::newRow("0") << "0" << 65535 << 1 << QStringList{tooSmall};
    QTest::newRow("0.6 is below 1") << "0.6" << 65535 << 1 << QStringList{tooSmall};
    QTest::newRow("not a number") << "abc" << 65535 << 1 << QStringList{tooSmall};
    QTest::newRow("empty (Cancel)") << "" << 65535 << 0 << QStringList{};
    QTest::newRow("largest") << "65535" << 65535 << 65535 << QStringList{};
    QTest::newRow("just above the largest")
        << "32767.1" << 32767 << 32767 << QStringList{"Number Too Large ! Set Value to  32767!"};
}

void UserInputTest::inputnumber()
{
    QFETCH(QString, answer);
    QFETCH(int, max);
    QFETCH(int, result);
    QFETCH(QStringList, messages);
    testsupport::ScriptedDialogs dialogs;
    dialogs.queueInput(answer);
    QCOMPARE(logger::inputnumber(dialogs, {7, max, QStringLiteral(" ID Code ")}), result);
    QCOMPARE(dialogs.messageTexts(), messages);
}

void UserInputTest::inputnumberAsks()
{
    testsupport::ScriptedDialogs dialogs;
    dialogs.queueInput(QStringLiteral("5"));
    logger::inputnumber(dialogs, {2, 32767, QStringLiteral(" Sampling Time in Seconds ")});
    QCOMPARE(dialogs.prompts().size(), 1);
    const auto &asked = dialogs.prompts().first();
    QCOMPARE(asked.prompt,
             QStringLiteral("Enter the  Sampling Time in Seconds (1 <= t <=  32767 ) "));
    QCOMPARE(asked.title, QStringLiteral("Input  Sampling Time in Seconds "));
    QCOMPARE(asked.defaultAnswer, QStringLiteral(" 2"));
}

void UserInputTest::setChoice_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("setCount");
    QTest::addColumn<int>("directorySets");
    QTest::addColumn<int>("valueByteFlag");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("shown");

    const auto row = [](const char *name, const char *text, const char *count, int entries,
                        int flag, Kind kind, int set, int records, const char *shown) {
        QTest::newRow(name) << QString(text) << QString(count) << entries << flag << kind << set
                            << records << QString(shown);
    };
    row("0", "0", "3", 3, 0, Kind::Cleared, 0, 0, "");
    row("300", "300", "3", 3, 0, Kind::Cleared, 0, 0, "");
    row("4 of 3", "4", "3", 3, 0, Kind::Invalid, 4, 0, "");
    row("3.5 of 3", "3.5", "3", 3, 0, Kind::Invalid, 4, 0, "");
    row("before the count was read", "1", "", 0, 0, Kind::Invalid, 1, 0, "");
    row("count read, list cut short", "3", "3", 2, 0, Kind::Invalid, 3, 0, "");
    row("set 2", "2", "3", 3, 0, Kind::Chosen, 2, 20, "20");
    row("last set, flag 1", "3", "3", 3, 1, Kind::Chosen, 3, 10, "9");
    row("other set, flag 1", "2", "3", 3, 1, Kind::Chosen, 2, 20, "20");
    row("last set as 3.0, flag 1", "3.0", "3", 3, 1, Kind::Chosen, 3, 10, "10");
    row("empty last set, flag 1", "4", "4", 4, 1, Kind::Chosen, 4, 0, "0");
    row("set 256 of 256", "256", "256", 256, 0, Kind::Chosen, 256, 256, "256");
}

void UserInputTest::setChoice()
{
    QFETCH(QString, text);
    QFETCH(QString, setCount);
    QFETCH(int, directorySets);
    QFETCH(int, valueByteFlag);
    QFETCH(Kind, kind);
    QFETCH(int, set);
    QFETCH(int, records);
    QFETCH(QString, shown);

    // Set 2 has 20 records, set 3 has 10, set 4 none; any other set its number.
    QByteArray directory;
    for (int i = 1; i <= directorySets; ++i) {
        const int count = i == 2 ? 20 : i == 3 ? 10 : i == 4 ? 0 : i;
        directory += entryBytes({0x24, 0x01, 0x02, 0x03, 0x04, 0x05}, count);
    }
    const logger::SetChoice choice
        = logger::chooseSet(text, setCount, directory, qint16(valueByteFlag));
    QCOMPARE(choice.kind, kind);
    QCOMPARE(choice.set, set);
    QCOMPARE(choice.records, records);
    QCOMPARE(choice.recordsText, shown);
}

void UserInputTest::icCount_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<logger::IcCountAnswer::Kind>("kind");
    QTest::addColumn<int>("code");
    using K = logger::IcCountAnswer::Kind;
    QTest::newRow("2") << "2" << K::Code << 1;
    QTest::newRow("4,0") << "4,0" << K::Code << 2;
    QTest::newRow("8") << "8" << K::Code << 4;
    QTest::newRow("3") << "3" << K::NotPairs << 0;
    QTest::newRow("2.5") << "2.5" << K::NotPairs << 0;
    QTest::newRow("10") << "10" << K::NotPairs << 0;
    QTest::newRow("text") << "eight" << K::NotPairs << 0;
    QTest::newRow("empty") << "" << K::Cancelled << 0;
}

void UserInputTest::icCount()
{
    QFETCH(QString, answer);
    QFETCH(logger::IcCountAnswer::Kind, kind);
    QFETCH(int, code);
    const logger::IcCountAnswer parsed = logger::parseIcCount(answer);
    QCOMPARE(parsed.kind, kind);
    QCOMPARE(parsed.code, code);
}

QTEST_GUILESS_MAIN(UserInputTest)
#include "tst_userinput.moc"
