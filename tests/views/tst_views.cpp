// The live views' logic: the dial's needle and scale, the list's rows.

#include "views/dial.h"
#include "views/dialpicture.h"
#include "views/listrows.h"

#include <QTest>
#include <optional>
#include <tuple>

Q_DECLARE_METATYPE(std::optional<double>)

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

namespace {

const QSize client(320, 180);
const QColor face(255, 255, 128);
const QColor yellow(255, 255, 0);
const QColor black(0, 0, 0);
const QColor textColour(0, 0, 128);

views::DialPicture redrawn(const QString &range = QStringLiteral("500 mV"))
{
    views::DialPicture picture;
    picture.redraw(client, range, views::DialLook{QFont(), textColour});
    return picture;
}

QColor at(const views::DialPicture &picture, double factor, double degrees)
{
    const QPointF p = picture.frame().polar(factor, degrees);
    return picture.image().pixelColor(qRound(p.x()), qRound(p.y()));
}

// True when one of the pixels around a point has the colour (lines are
// rasterised to within half a pixel).
bool near(const views::DialPicture &picture, double factor, double degrees, const QColor &colour)
{
    const QPointF p = picture.frame().polar(factor, degrees);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (picture.image().pixelColor(qRound(p.x()) + dx, qRound(p.y()) + dy) == colour)
                return true;
    return false;
}

} // namespace

class ViewsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void needleAngle_data();
    void needleAngle();
    void scaleNumbers_data();
    void scaleNumbers();
    void rowsMaxFromTheHeight_data();
    void rowsMaxFromTheHeight();
    void fillsThenScrolls_data();
    void fillsThenScrolls();
    void datePrefixUsesTheSeparator();
    void resizingKeepsTheNewestLineVisible();
    void scale_data();
    void scale();
    void needle_data();
    void needle();
    void noNeedleStillErasesTheOldOne();
    void needleBeforeAnyRedrawIsHarmless();
};

void ViewsTest::needleAngle_data()
{
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("range");
    QTest::addColumn<std::optional<double>>("degrees");
    using Deg = std::optional<double>;
    QTest::newRow("250 of 500 mV") << "250.00" << "500 mV" << Deg(63);
    QTest::newRow("-500 of 500 mV on the last tick") << "-500.00" << "500 mV" << Deg(144);
    QTest::newRow("zero straight up") << "000.00" << "500 mV" << Deg(90);
    QTest::newRow("-OL rests beyond the left end") << "-OL" << "500 mV" << Deg(145);
    QTest::newRow("OL rests beyond the right end") << "OL" << "500 mV" << Deg(35);
    QTest::newRow("twice the range clamped") << "1000.00" << "500 mV" << Deg(35);
    QTest::newRow("leading zeros and sign") << "-01.250" << "5 V" << Deg(103.5);
    QTest::newRow("K range") << "2.500" << "5K Ohm" << Deg(63);
    QTest::newRow("range without a number: no needle") << "0.123" << "Diode" << Deg();
    QTest::newRow("empty range: no needle") << "0.123" << "" << Deg();
    QTest::newRow("OL even without a range") << "OL" << "Diode" << Deg(35);
    QTest::newRow("truncated reading") << "2." << "5 V" << Deg(68.4);
}

void ViewsTest::needleAngle()
{
    QFETCH(QString, reading);
    QFETCH(QString, range);
    QFETCH(std::optional<double>, degrees);
    const auto got = views::needleAngle(reading, range);
    QCOMPARE(got.has_value(), degrees.has_value());
    if (degrees)
        QVERIFY2(qAbs(*got - *degrees) < 1e-9, qPrintable(QString::number(*got)));
}

void ViewsTest::scaleNumbers_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("5 V") << "5 V" << QStringList{"0", " 2.5", "-2.5", " 5", "-5"};
    QTest::newRow("1000 V") << "1000 V" << QStringList{"0", " 500", "-500", " 1000", "-1000"};
    QTest::newRow("no number") << "Diode" << QStringList{"0", " 0", " 0", " 0", " 0"};
}

void ViewsTest::scaleNumbers()
{
    QFETCH(QString, range);
    QStringList texts;
    QList<double> angles;
    for (const views::ScaleNumber &number : views::scaleNumbers(range)) {
        texts << number.text;
        angles << number.degrees;
    }
    QTEST(texts, "texts");
    QCOMPARE(angles, (QList<double>{90, 63, 117, 39.6, 140.4}));
}

void ViewsTest::rowsMaxFromTheHeight_data()
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

void ViewsTest::rowsMaxFromTheHeight()
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

void ViewsTest::fillsThenScrolls_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("first line in row 1") << 1 << QStringList{" "} + lines(1, 1, 9);
    QTest::newRow("ten lines fill rows 1 to 10") << 10 << QStringList{" "} + lines(1, 10);
    QTest::newRow("11th scrolls row 0 out of its blank") << 11 << lines(1, 11);
    QTest::newRow("15 lines keep the newest 11") << 15 << lines(5, 15);
}

void ViewsTest::fillsThenScrolls()
{
    QFETCH(int, lines);
    views::ListRows list = listWithRoomFor(10);
    add(list, 1, lines);
    list.addLine(QString(), QDate(2024, 1, 15), QLatin1Char('/')); // an empty text adds nothing
    QTEST(captions(list), "expected");
    QCOMPARE(list.rowNext(), qMin(lines, 10));
    QCOMPARE(list.framedRow(), list.rowNext()); // only the newest is framed
}

void ViewsTest::datePrefixUsesTheSeparator()
{
    views::ListRows list = listWithRoomFor(10);
    list.addLine(QStringLiteral("  10:15:58    V    5 V:     1.2345"), QDate(2009, 12, 31), QLatin1Char('.'));
    QCOMPARE(list.caption(1), QStringLiteral("09.12.31   10:15:58    V    5 V:     1.2345"));
}

void ViewsTest::resizingKeepsTheNewestLineVisible()
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

void ViewsTest::scale_data()
{
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("degrees");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("present");
    QTest::newRow("arc at the top") << 1.0 << 90.0 << textColour << true;
    QTest::newRow("arc near its right end") << 1.0 << 35.0 << textColour << true;
    QTest::newRow("no arc beyond its left end") << 1.0 << 149.0 << textColour << false;
    QTest::newRow("long tick at 144") << 1.07 << 144.0 << black << true;
    QTest::newRow("middle tick at 49.5") << 1.05 << 49.5 << black << true;
    QTest::newRow("short tick ends early") << 1.05 << 38.7 << black << false;
    QTest::newRow("short tick at 38.7") << 1.02 << 38.7 << black << true;
    QTest::newRow("nothing inside the arc") << 0.5 << 100.0 << black << false;
}

void ViewsTest::scale()
{
    QFETCH(double, factor);
    QFETCH(double, degrees);
    QFETCH(QColor, colour);
    const views::DialPicture picture = redrawn();
    QCOMPARE(picture.image().size(), client);
    QTEST(near(picture, factor, degrees, colour), "present");
    QCOMPARE(at(picture, 0.5, 100), face);
}

void ViewsTest::needle_data()
{
    QTest::addColumn<double>("degrees");
    QTest::newRow("144") << 144.0;
    QTest::newRow("35") << 35.0;
}

void ViewsTest::needle()
{
    QFETCH(double, degrees);
    views::DialPicture picture = redrawn();
    picture.drawNeedle(90);
    picture.drawNeedle(degrees);
    // The new needle, the old one wiped by the yellow sector.
    QVERIFY(near(picture, 0.5, degrees, black));
    QVERIFY(near(picture, 0.9, degrees, black));
    QCOMPARE(at(picture, 0.5, 90), yellow);
    QCOMPARE(at(picture, 0.5, 100), yellow);
    // The needle stops short of the arc; the arc and the ticks stay.
    QVERIFY(!near(picture, 0.985, degrees, black));
    QVERIFY(near(picture, 1.0, 90, textColour));
    QVERIFY(near(picture, 1.07, 63, black));
}

void ViewsTest::noNeedleStillErasesTheOldOne()
{
    views::DialPicture picture = redrawn(QStringLiteral("Diode"));
    picture.drawNeedle(63);
    picture.drawNeedle(std::nullopt);
    QCOMPARE(at(picture, 0.5, 63), yellow);
    QVERIFY(!near(picture, 0.5, 63, black));
}

void ViewsTest::needleBeforeAnyRedrawIsHarmless()
{
    views::DialPicture picture;
    picture.drawNeedle(63);
    QVERIFY(picture.image().isNull());
}

QTEST_MAIN(ViewsTest)
#include "tst_views.moc"
