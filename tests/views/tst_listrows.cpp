#include "views/listrows.h"

#include <QTest>

namespace {

constexpr int rowHeight = 15;

// A list whose window has room for `rows` rows after the deduction.
views::ListRows listWithRoomFor(int rows)
{
    views::ListRows list;
    list.resize((rows + 3) * rowHeight, rowHeight);
    return list;
}

void add(views::ListRows &list, int from, int to)
{
    for (int i = from; i <= to; ++i)
        list.addLine(QStringLiteral("line %1").arg(i), QDate(2024, 1, 15), QLatin1Char('/'));
}

QString line(int i)
{
    return QStringLiteral("24/01/15 line %1").arg(i);
}

QStringList captions(const views::ListRows &list)
{
    QStringList all;
    for (int i = 0; i < list.rowCount(); ++i)
        all << list.caption(i);
    return all;
}

// Lines from..to, then `blanks` empty rows.
QStringList lines(int from, int to, int blanks = 0)
{
    QStringList all;
    for (int i = from; i <= to; ++i)
        all << line(i);
    return all + QStringList(blanks, QStringLiteral(" "));
}

} // namespace

class ListRowsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rowsMaxFromTheHeight_data();
    void rowsMaxFromTheHeight();
    void fillsThenScrolls_data();
    void fillsThenScrolls();
    void datePrefixUsesTheSeparator();
    void tinyWindowWritesIntoRowZero();
    void resizingKeepsTheNewestLineVisible();
};

void ListRowsTest::rowsMaxFromTheHeight_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<int>("rowsMax");
    QTest::addColumn<int>("rowCount");
    QTest::newRow("division truncates") << 209 << 15 << 10 << 11;
    QTest::newRow("exactly three rows high") << 45 << 15 << 0 << 1;
    QTest::newRow("smaller than three rows") << 20 << 15 << -2 << 1;
    QTest::newRow("row height zero does not divide by zero") << 50 << 0 << 47 << 48;
}

void ListRowsTest::rowsMaxFromTheHeight()
{
    QFETCH(int, height);
    QFETCH(int, rowHeight);
    views::ListRows list;
    list.resize(height, rowHeight);
    QTEST(list.rowsMax(), "rowsMax");
    QTEST(list.rowCount(), "rowCount");
    QCOMPARE(list.caption(0), QStringLiteral(" "));
    QCOMPARE(list.framedRow(), -1);
}

void ListRowsTest::fillsThenScrolls_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("first line in row 1") << 1 << QStringList{" "} + lines(1, 1, 9);
    QTest::newRow("ten lines fill rows 1 to 10") << 10 << QStringList{" "} + lines(1, 10);
    QTest::newRow("11th scrolls row 0 out of its blank") << 11 << lines(1, 11);
    QTest::newRow("15 lines keep the newest 11") << 15 << lines(5, 15);
}

void ListRowsTest::fillsThenScrolls()
{
    QFETCH(int, lines);
    views::ListRows list = listWithRoomFor(10);
    add(list, 1, lines);
    list.addLine(QString(), QDate(2024, 1, 15), QLatin1Char('/')); // an empty text adds nothing
    QTEST(captions(list), "expected");
    QCOMPARE(list.rowNext(), qMin(lines, 10));
    QCOMPARE(list.framedRow(), list.rowNext()); // only the newest is framed
}

void ListRowsTest::datePrefixUsesTheSeparator()
{
    views::ListRows list = listWithRoomFor(10);
    list.addLine(QStringLiteral("  10:15:58    V    5 V:     1.2345"), QDate(2009, 12, 31), QLatin1Char('.'));
    QCOMPARE(list.caption(1), QStringLiteral("09.12.31   10:15:58    V    5 V:     1.2345"));
}

void ListRowsTest::tinyWindowWritesIntoRowZero()
{
    views::ListRows list;
    list.resize(3 * rowHeight, rowHeight);
    add(list, 1, 3);
    QCOMPARE(list.rowNext(), 0);
    QCOMPARE(list.framedRow(), 0);
    QCOMPARE(captions(list), QStringList{line(3)});
}

void ListRowsTest::resizingKeepsTheNewestLineVisible()
{
    views::ListRows list = listWithRoomFor(10);
    add(list, 1, 8);
    list.resize(8 * rowHeight, rowHeight); // rowsMax 5: rows stay, the lines move up
    QCOMPARE(list.rowNext(), 5);
    QCOMPARE(list.framedRow(), 5);
    QCOMPARE(captions(list), lines(3, 8, 5));
    add(list, 9, 9); // full: scrolls
    QCOMPARE(list.caption(5), line(9));
    QCOMPARE(list.caption(0), line(4));

    list.resize(11 * rowHeight, rowHeight); // rowsMax 8: blank rows below
    add(list, 10, 10);
    QCOMPARE(list.rowNext(), 6);
    QCOMPARE(list.caption(0), line(4));
    list.resize(10 * rowHeight, rowHeight); // the newest still fits: nothing moves
    QCOMPARE(list.rowNext(), 6);

    list.resize(2 * rowHeight, rowHeight); // nothing fits: newest in row 0
    QCOMPARE(list.rowNext(), 0);
    QCOMPARE(list.caption(0), line(10));
    QCOMPARE(list.framedRow(), 0);
}

QTEST_APPLESS_MAIN(ListRowsTest)
#include "tst_listrows.moc"
