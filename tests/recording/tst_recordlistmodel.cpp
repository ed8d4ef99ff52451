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
    void cells_data();
    void cells();
    void clearStartsANewGeneration();
    void fileTextKeepsItsBytes();
    void keySpanOfAnyRows_data();
    void keySpanOfAnyRows();
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
    QCOMPARE(list.data(list.index(3, 1)).toString(), QStringLiteral("d"));
    QVERIFY(!list.data(list.index(3, 1), Qt::EditRole).isValid());
    list.clear();
    QCOMPARE(list.rowCount(), 0);
    list.appendRecord({});
    QCOMPARE(list.rowCount(), 1);
}

void RecordListModelTest::cells_data()
{
    // Rows: 0 captions, 1 a full file line, 2 a short one, 3 appended with a tab inside a cell.
    QTest::addColumn<qint64>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("caption REC") << qint64(0) << 0 << " REC ";
    QTest::newRow("caption RANGE") << qint64(0) << 5 << "  RANGE ";
    QTest::newRow("caption BAT") << qint64(0) << 7 << " BAT ";
    QTest::newRow("last cell of a file line") << qint64(1) << 7 << "8";
    QTest::newRow("missing cell of a short row") << qint64(2) << 5 << "";
    QTest::newRow("tab inside an appended cell splits it") << qint64(3) << 1 << "b";
    QTest::newRow("ninth appended cell dropped") << qint64(3) << 7 << "7";
    QTest::newRow("negative row") << qint64(-1) << 0 << "";
    QTest::newRow("row after the last") << qint64(4) << 0 << "";
    QTest::newRow("column after the last") << qint64(1) << 8 << "";
    QTest::newRow("negative column") << qint64(1) << -1 << "";
}

void RecordListModelTest::cells()
{
    QFETCH(qint64, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    RecordListModel list;
    list.appendFileText("1\t2\t3\t4\t5\t6\t7\t8\r\nshort\r\n");
    list.appendRow({"a\tb", "2", "3", "4", "5", "6", "7", "8"});
    QCOMPARE(list.cell(row, column), text);
    if (row == 0)
        QCOMPARE(list.headerData(column, Qt::Horizontal).toString(), text);
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
    QCOMPARE(list.cell(1, 0), QString());
}

void RecordListModelTest::fileTextKeepsItsBytes()
{
    RecordListModel list;
    list.appendFileText("\xb5" "A\tx\r\n");
    QCOMPARE(list.cell(1, 0), QStringLiteral("\u00b5A"));
    QCOMPARE(list.cellView(1, 0).size(), 2);
}

void RecordListModelTest::keySpanOfAnyRows_data()
{
    // Blocks of the pyramid hold 16 rows: spans inside one, across several,
    // ending in the rows not yet in a whole block, and from the caption row.
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    QTest::newRow("one row") << qint64(37) << qint64(37);
    QTest::newRow("inside a block") << qint64(17) << qint64(30);
    QTest::newRow("whole blocks") << qint64(16) << qint64(79);
    QTest::newRow("ends inside blocks") << qint64(5) << qint64(250);
    QTest::newRow("from the caption row to the last") << qint64(0) << qint64(300);
    QTest::newRow("the rows after the last whole block") << qint64(290) << qint64(300);
}

void RecordListModelTest::keySpanOfAnyRows()
{
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    const auto key = [](const recording::RowCells &cells) { return cells[0].toString().toDouble(); };
    RecordListModel list;
    list.setRowValuer(key);
    QByteArray text;
    for (int i = 1; i <= 200; ++i)
        text += QByteArray::number((i * 7919) % 1009 - 500) + "\r\n";
    list.appendFileText(text); // keys kept while reading
    for (int i = 201; i <= 300; ++i)
        list.appendRow({QString::number((i * 7919) % 1009 - 500)}); // keys found at the first call
    double low = key(list.rowCells(first)), high = low;
    for (qint64 row = first; row <= last; ++row) {
        low = std::min(low, key(list.rowCells(row)));
        high = std::max(high, key(list.rowCells(row)));
    }
    QCOMPARE(list.keySpan(first, last, key), (recording::KeySpan{low, high}));
}

QTEST_GUILESS_MAIN(RecordListModelTest)
#include "tst_recordlistmodel.moc"
