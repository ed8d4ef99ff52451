#include "views/listrows.h"

#include <QTest>

namespace {

constexpr int rowHeight = 15;
const QDate today(2024, 1, 15);

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
        list.addLine(QStringLiteral("line %1").arg(i), today, QLatin1Char('/'));
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

} // namespace

class ListRowsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rowsMaxFromTheHeight_data();
    void rowsMaxFromTheHeight();
    void fillsThenScrolls_data();
    void fillsThenScrolls();
    void emptyTextAddsNothing();
    void datePrefix_data();
    void datePrefix();
    void tinyWindowWritesIntoRowZero_data();
    void tinyWindowWritesIntoRowZero();
    void shrinkingKeepsTheNewestLineVisible();
    void growingAddsBlankRowsBelow();
};

void ListRowsTest::rowsMaxFromTheHeight_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<int>("rowsMax");
    QTest::addColumn<int>("rowCount");

    QTest::newRow("room for 10") << 195 << 15 << 10 << 11;
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

    QStringList one(11, QStringLiteral(" "));
    one[1] = line(1);
    QTest::newRow("first line in row 1") << 1 << one;

    QStringList ten{QStringLiteral(" ")};
    for (int i = 1; i <= 10; ++i)
        ten << line(i);
    QTest::newRow("ten lines fill rows 1 to 10") << 10 << ten;

    QStringList eleven;
    for (int i = 1; i <= 11; ++i)
        eleven << line(i);
    QTest::newRow("11th scrolls row 0 out of its blank") << 11 << eleven;

    QStringList fifteen;
    for (int i = 5; i <= 15; ++i)
        fifteen << line(i);
    QTest::newRow("15 lines keep the newest 11") << 15 << fifteen;
}

void ListRowsTest::fillsThenScrolls()
{
    QFETCH(int, lines);
    views::ListRows list = listWithRoomFor(10);
    add(list, 1, lines);
    QTEST(captions(list), "expected");
    QCOMPARE(list.rowNext(), qMin(lines, 10));
    QCOMPARE(list.framedRow(), list.rowNext()); // only the newest is framed
}

void ListRowsTest::emptyTextAddsNothing()
{
    views::ListRows list = listWithRoomFor(10);
    add(list, 1, 3);
    const QStringList before = captions(list);
    list.addLine(QString(), today, QLatin1Char('/'));
    QCOMPARE(captions(list), before);
    QCOMPARE(list.rowNext(), 3);
    QCOMPARE(list.framedRow(), 3);
}

void ListRowsTest::datePrefix_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("caption");

    const QString text = QStringLiteral("  10:15:58    V    5 V:     1.2345");
    QTest::newRow("slashes") << QDate(2024, 1, 15) << QChar('/') << "24/01/15 " + text;
    QTest::newRow("dots") << QDate(2009, 12, 31) << QChar('.') << "09.12.31 " + text;
    QTest::newRow("dashes") << QDate(2000, 2, 29) << QChar('-') << "00-02-29 " + text;
}

void ListRowsTest::datePrefix()
{
    QFETCH(QDate, date);
    QFETCH(QChar, separator);
    views::ListRows list = listWithRoomFor(10);
    list.addLine(QStringLiteral("  10:15:58    V    5 V:     1.2345"), date, separator);
    QTEST(list.caption(1), "caption");
}

void ListRowsTest::tinyWindowWritesIntoRowZero_data()
{
    QTest::addColumn<int>("height");
    QTest::newRow("rowsMax 0") << 3 * rowHeight;
    QTest::newRow("rowsMax below 0") << rowHeight;
    QTest::newRow("no height at all") << 0;
}

void ListRowsTest::tinyWindowWritesIntoRowZero()
{
    QFETCH(int, height);
    views::ListRows list;
    list.resize(height, rowHeight);
    add(list, 1, 3);
    QCOMPARE(list.rowNext(), 0);
    QCOMPARE(list.framedRow(), 0);
    QCOMPARE(list.caption(0), line(3));
    QCOMPARE(list.rowCount(), 1);
}

void ListRowsTest::shrinkingKeepsTheNewestLineVisible()
{
    views::ListRows list = listWithRoomFor(10);
    add(list, 1, 8);
    list.resize(8 * rowHeight, rowHeight); // rowsMax 5
    QCOMPARE(list.rowsMax(), 5);
    QCOMPARE(list.rowNext(), 5);
    QCOMPARE(list.framedRow(), 5);
    QCOMPARE(list.rowCount(), 11); // rows stay
    QStringList expected;
    for (int i = 3; i <= 8; ++i)
        expected << line(i);
    expected << QStringList(5, QStringLiteral(" "));
    QCOMPARE(captions(list), expected);

    add(list, 9, 9); // full: scrolls
    QCOMPARE(list.caption(5), line(9));
    QCOMPARE(list.caption(0), line(4));

    list.resize(2 * rowHeight, rowHeight); // nothing fits: newest in row 0
    QCOMPARE(list.rowNext(), 0);
    QCOMPARE(list.caption(0), line(9));
    QCOMPARE(list.framedRow(), 0);
}

void ListRowsTest::growingAddsBlankRowsBelow()
{
    views::ListRows list = listWithRoomFor(3);
    add(list, 1, 5); // rows 0..3 hold lines 2..5
    list.resize(9 * rowHeight, rowHeight); // rowsMax 6
    QCOMPARE(list.rowCount(), 7);
    QCOMPARE(list.caption(3), line(5));
    QCOMPARE(list.caption(4), QStringLiteral(" "));
    add(list, 6, 6);
    QCOMPARE(list.rowNext(), 4);
    QCOMPARE(list.caption(4), line(6));
    QCOMPARE(list.caption(0), line(2));

    // Shrinking while the newest line still fits changes nothing.
    const QStringList before = captions(list);
    list.resize(7 * rowHeight, rowHeight); // rowsMax 4
    QCOMPARE(captions(list), before);
    QCOMPARE(list.rowNext(), 4);
}

QTEST_APPLESS_MAIN(ListRowsTest)
#include "tst_listrows.moc"
