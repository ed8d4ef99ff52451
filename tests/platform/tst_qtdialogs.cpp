#include "platform/qt/qtdialogs.h"

#include <QTest>

// Only what can be checked without opening a dialog: how a file dialog's
// answer becomes the program's file choice.
class TestQtDialogs : public QObject
{
    Q_OBJECT

private slots:
    void choiceFor_data();
    void choiceFor();
};

void TestQtDialogs::choiceFor_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("fileTitle");

    QTest::newRow("cancel") << "" << true << "";
    QTest::newRow("blanks in names") << "/home/user/my data/run 2.dat" << false << "run 2.dat";
    QTest::newRow("no folder") << "run3.dat" << false << "run3.dat";
}

void TestQtDialogs::choiceFor()
{
    QFETCH(QString, answer);
    QFETCH(bool, cancelled);
    QFETCH(QString, fileTitle);

    const auto choice = platform::QtDialogs::choiceFor(answer);
    QCOMPARE(choice.cancelled, cancelled);
    QCOMPARE(choice.fullName, answer);
    QCOMPARE(choice.fileTitle, fileTitle);
}

QTEST_GUILESS_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
