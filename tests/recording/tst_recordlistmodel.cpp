#include "recording/recordlistmodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using recording::RecordListModel;

class RecordListModelTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void passesTheModelTester();
    void rowZeroIsTheCaptionRow_data();
    void rowZeroIsTheCaptionRow();
    void cellsOutsideTheListAreEmpty_data();
    void cellsOutsideTheListAreEmpty();
    void modelRowsAreRecords();
    void appendedRowsSplitAtTabs_data();
    void appendedRowsSplitAtTabs();
    void clearStartsANewGeneration();
    void fileTextKeepsItsBytes();
};

void RecordListModelTest::passesTheModelTester()
{
    RecordListModel list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.appendFileText("1\ta\r\n2\tb\r\n");
    list.appendRow({"3", "c"});
    list.appendFileText("");
    list.appendFileText("\"4\td\t\"\r\n");
    QCOMPARE(list.rowCount(), 4);
    list.clear();
    QCOMPARE(list.rowCount(), 0);
    list.appendRecord({});
    QCOMPARE(list.rowCount(), 1);
}

void RecordListModelTest::rowZeroIsTheCaptionRow_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("caption");
    QTest::newRow("REC") << 0 << " REC ";
    QTest::newRow("DATE") << 1 << "  DATE";
    QTest::newRow("TIME") << 2 << "  TIME";
    QTest::newRow("VALUE") << 3 << " VALUE";
    QTest::newRow("UNIT") << 4 << " UNIT ";
    QTest::newRow("RANGE") << 5 << "  RANGE ";
    QTest::newRow("A/D") << 6 << "A/D";
    QTest::newRow("BAT") << 7 << " BAT ";
}

void RecordListModelTest::rowZeroIsTheCaptionRow()
{
    QFETCH(int, column);
    QFETCH(QString, caption);
    RecordListModel list;
    list.appendRow({"1"});
    QCOMPARE(list.cell(0, column), caption);
    QCOMPARE(list.headerData(column, Qt::Horizontal).toString(), caption);
}

void RecordListModelTest::cellsOutsideTheListAreEmpty_data()
{
    QTest::addColumn<qint64>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("negative row") << qint64(-1) << 0;
    QTest::newRow("row after the last") << qint64(3) << 0;
    QTest::newRow("far row") << qint64(1) << 8;
    QTest::newRow("negative column") << qint64(1) << -1;
    QTest::newRow("missing cell of a short row") << qint64(2) << 5;
}

void RecordListModelTest::cellsOutsideTheListAreEmpty()
{
    QFETCH(qint64, row);
    QFETCH(int, column);
    RecordListModel list;
    list.appendFileText("1\t2\t3\t4\t5\t6\t7\t8\r\nshort\r\n");
    QCOMPARE(list.cell(row, column), QString());
}

void RecordListModelTest::modelRowsAreRecords()
{
    RecordListModel list;
    list.appendFileText("1\t26-05-31\t14:03:07\t 1.234\tV\t5 V\tDC\t\r\n");
    QCOMPARE(list.data(list.index(0, 3)).toString(), QStringLiteral(" 1.234"));
    QCOMPARE(list.data(list.index(0, 7)).toString(), QString());
    QCOMPARE(list.cell(1, 3), QStringLiteral(" 1.234"));
    QVERIFY(!list.data(list.index(0, 3), Qt::EditRole).isValid());
}

void RecordListModelTest::appendedRowsSplitAtTabs_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("eight cells") << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}
                                 << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"};
    QTest::newRow("tab inside a cell") << QStringList{"a\tb", "c"}
                                       << QStringList{"a", "b", "c", "", "", "", "", ""};
    QTest::newRow("more than eight") << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}
                                     << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"};
}

void RecordListModelTest::appendedRowsSplitAtTabs()
{
    QFETCH(QStringList, cells);
    QFETCH(QStringList, shown);
    RecordListModel list;
    list.appendRow(cells);
    QStringList actual;
    for (int column = 0; column < RecordListModel::ColumnCount; ++column)
        actual.append(list.cell(1, column));
    QCOMPARE(actual, shown);
}

void RecordListModelTest::clearStartsANewGeneration()
{
    RecordListModel list;
    list.appendRow({"1"});
    const quint64 before = list.generation();
    QSignalSpy reset(&list, &RecordListModel::modelReset);
    list.clear();
    QCOMPARE(reset.count(), 1);
    QVERIFY(list.generation() != before);
    QCOMPARE(list.recordCount(), 0);
    QCOMPARE(list.cell(1, 0), QString());
}

void RecordListModelTest::fileTextKeepsItsBytes()
{
    RecordListModel list;
    list.appendFileText("\xb5" "A\tx\r\n");
    QCOMPARE(list.cell(1, 0), QStringLiteral("\u00b5A"));
    QCOMPARE(list.cellView(1, 0).size(), 2);
}

QTEST_GUILESS_MAIN(RecordListModelTest)
#include "tst_recordlistmodel.moc"
