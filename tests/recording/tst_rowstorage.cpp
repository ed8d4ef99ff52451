#include "recording/datafileitems.h"
#include "recording/recordlistmodel.h"
#include "recording/rowindexing.h"
#include "recording/rowstarts.h"

#include <QTest>

using Offsets = QList<qint64>;

class RowStorageTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rowStartsKeepEveryOffset_data();
    void rowStartsKeepEveryOffset();
    void longItemsSplitAsShortOnes_data();
    void longItemsSplitAsShortOnes();
    void joinedRowsReadAsAppendedOnes();
};

void RowStorageTest::rowStartsKeepEveryOffset_data()
{
    QTest::addColumn<Offsets>("offsets");
    QTest::addColumn<qsizetype>("kept"); // after a truncate
    constexpr qint64 gib4 = qint64(1) << 32;
    QTest::newRow("close together") << Offsets{0, 1, 2, 50} << qsizetype(3);
    QTest::newRow("exactly 4 GiB - 1 apart") << Offsets{7, 7 + gib4 - 1, 8 + gib4} << qsizetype(2);
    QTest::newRow("4 GiB apart: a new base") << Offsets{0, gib4, gib4 + 3} << qsizetype(1);
    QTest::newRow("beyond 4 GiB to the limit") << Offsets{3 * gib4 + 9, (qint64(1) << 40) - 1} << qsizetype(0);
}

// Rows pushed one by one and rows moved over from pieces read on their own
// read back the same, and a truncate keeps exactly the first ones.
void RowStorageTest::rowStartsKeepEveryOffset()
{
    QFETCH(Offsets, offsets);
    QFETCH(qsizetype, kept);
    recording::RowStarts pushed;
    recording::RowStarts joined;
    for (const qint64 offset : offsets) {
        pushed.push(offset);
        recording::RowStarts piece;
        piece.push(offset);
        joined.append(std::move(piece));
        QVERIFY(piece.empty());
    }
    for (const recording::RowStarts *starts : {&pushed, &joined}) {
        QCOMPARE(starts->size(), offsets.size());
        for (qsizetype i = 0; i < offsets.size(); ++i)
            QCOMPARE((*starts)[i], offsets[i]);
    }
    pushed.truncate(kept);
    QCOMPARE(pushed.size(), kept);
    if (kept > 0)
        QCOMPARE(pushed[kept - 1], offsets[kept - 1]);
    pushed.push(offsets.last() + 1);
    QCOMPARE(pushed[kept], offsets.last() + 1);
}

void RowStorageTest::longItemsSplitAsShortOnes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArrayList>("items"); // each item's cells joined by '|'
    const QByteArray sixteen = "0123456789abcdef";
    QTest::newRow("comma right after 16 bytes")
        << sixteen + ",x\r\n" << QByteArrayList{sixteen, "x"};
    QTest::newRow("line end as the 16th byte")
        << "0123456789abcde\r\n" + sixteen + sixteen << QByteArrayList{"0123456789abcde", sixteen + sixteen};
    QTest::newRow("quoted past 16 bytes, comma inside")
        << "\"" + sixteen + "," + sixteen + "\"tail,b\n" << QByteArrayList{sixteen + "," + sixteen, "b"};
    QTest::newRow("quote never closed, 40 bytes")
        << "\"" + sixteen + sixteen + "12345678\n9" << QByteArrayList{sixteen + sixteen + "12345678", "9"};
    QTest::newRow("tabs on 16-byte edges")
        << sixteen.left(15) + "\t" + sixteen + "\t\tz\n"
        << QByteArrayList{sixteen.left(15) + "|" + sixteen + "||z"};
    QTest::newRow("more than eight cells, long")
        << "a\tb\tc\td\te\tf\tg\t" + sixteen + sixteen + "\tnine\tten"
        << QByteArrayList{"a|b|c|d|e|f|g|" + sixteen + sixteen};
    QTest::newRow("trailing tab") << sixteen + sixteen + "\t" << QByteArrayList{sixteen + sixteen + "|"};
}

// Every scan that jumps sixteen bytes a step stops where a byte by byte one
// does: at line ends, commas, quotes and tabs on any position.
void RowStorageTest::longItemsSplitAsShortOnes()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArrayList, items);
    for (const qsizetype chunk : {qsizetype(1), qsizetype(17), text.size()}) {
        recording::RowStarts starts;
        recording::RowIndexing how;
        how.chunkBytes = chunk;
        QCOMPARE(recording::indexRows(text, how, starts, nullptr), items.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            const qsizetype begin = starts[i];
            const recording::RowCells cells
                = recording::splitCells(QByteArrayView(text).sliced(begin, recording::itemEnd(text, begin) - begin));
            QByteArrayList pieces;
            for (const QLatin1StringView cell : cells)
                pieces.append(QByteArray(cell.data(), cell.size()));
            QByteArrayList expected = items[i].split('|');
            while (expected.size() < recording::cellCount)
                expected.append(QByteArray());
            QCOMPARE(pieces, expected);
        }
    }
}

// A download hands its rows over laid end to end: they read as rows
// appended one by one do, after rows already there.
void RowStorageTest::joinedRowsReadAsAppendedOnes()
{
    recording::RecordListModel joined;
    recording::RecordListModel single;
    joined.appendRow({"1", "a"});
    single.appendRow({"1", "a"});
    const QByteArray text = "2\tb3\tc3\t";
    joined.appendJoinedRows(text, {0, 3, 3});
    for (const QStringList &row : {QStringList{"2", "b"}, {""}, {"3", "c3", ""}})
        single.appendRow(row);
    QCOMPARE(joined.recordCount(), 4);
    for (int row = 1; row <= 4; ++row)
        QVERIFY(joined.rowCells(row) == single.rowCells(row));
}

QTEST_GUILESS_MAIN(RowStorageTest)
#include "tst_rowstorage.moc"
