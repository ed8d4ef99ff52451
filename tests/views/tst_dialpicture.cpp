#include "views/dialpicture.h"

#include <QTest>

#include <optional>

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

class DialPictureTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void scale_data();
    void scale();
    void needle_data();
    void needle();
    void noNeedleStillErasesTheOldOne();
    void needleBeforeAnyRedrawIsHarmless();
};

void DialPictureTest::scale_data()
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

void DialPictureTest::scale()
{
    QFETCH(double, factor);
    QFETCH(double, degrees);
    QFETCH(QColor, colour);
    const views::DialPicture picture = redrawn();
    QCOMPARE(picture.image().size(), client);
    QTEST(near(picture, factor, degrees, colour), "present");
    QCOMPARE(at(picture, 0.5, 100), face);
}

void DialPictureTest::needle_data()
{
    QTest::addColumn<double>("degrees");
    QTest::newRow("63") << 63.0;
    QTest::newRow("144") << 144.0;
    QTest::newRow("35") << 35.0;
}

void DialPictureTest::needle()
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

void DialPictureTest::noNeedleStillErasesTheOldOne()
{
    views::DialPicture picture = redrawn(QStringLiteral("Diode"));
    picture.drawNeedle(63);
    picture.drawNeedle(std::nullopt);
    QCOMPARE(at(picture, 0.5, 63), yellow);
    QVERIFY(!near(picture, 0.5, 63, black));
}

void DialPictureTest::needleBeforeAnyRedrawIsHarmless()
{
    views::DialPicture picture;
    picture.drawNeedle(63);
    QVERIFY(picture.image().isNull());
}

QTEST_MAIN(DialPictureTest)
#include "tst_dialpicture.moc"
