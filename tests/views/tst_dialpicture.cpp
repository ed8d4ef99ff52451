#include "views/dialpicture.h"

#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<double>)

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
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (picture.image().pixelColor(qRound(p.x()) + dx, qRound(p.y()) + dy) == colour)
                return true;
        }
    }
    return false;
}

} // namespace

class DialPictureTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void scale_data();
    void scale();
    void scaleNumbersStandOutsideTheTicks();
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
    QTest::newRow("arc near its left end") << 1.0 << 145.0 << textColour << true;
    QTest::newRow("no arc beyond its right end") << 1.0 << 31.0 << textColour << false;
    QTest::newRow("no arc beyond its left end") << 1.0 << 149.0 << textColour << false;
    QTest::newRow("long tick at 63") << 1.07 << 63.0 << black << true;
    QTest::newRow("long tick at 144") << 1.07 << 144.0 << black << true;
    QTest::newRow("middle tick at 49.5") << 1.05 << 49.5 << black << true;
    QTest::newRow("short tick ends early") << 1.05 << 38.7 << black << false;
    QTest::newRow("short tick at 38.7") << 1.02 << 38.7 << black << true;
    QTest::newRow("no tick beyond 144") << 1.02 << 147.0 << black << false;
    QTest::newRow("nothing inside the arc") << 0.5 << 100.0 << black << false;
}

void DialPictureTest::scale()
{
    QFETCH(double, factor);
    QFETCH(double, degrees);
    QFETCH(QColor, colour);
    QFETCH(bool, present);
    const views::DialPicture picture = redrawn();
    QCOMPARE(picture.image().size(), client);
    QCOMPARE(near(picture, factor, degrees, colour), present);
    QCOMPARE(at(picture, 0.5, 100), face);
}

void DialPictureTest::scaleNumbersStandOutsideTheTicks()
{
    const views::DialPicture picture = redrawn();
    // Below the top-left corner of each number there is ink.
    for (const double degrees : {90.0, 63.0, 117.0, 39.6, 140.4}) {
        const QPointF p = picture.frame().polar(1.16, degrees);
        int ink = 0;
        for (int x = qRound(p.x()) - 25; x <= qRound(p.x()) + 25; ++x)
            for (int y = qRound(p.y()); y <= qRound(p.y()) + 14; ++y)
                ink += picture.image().valid(x, y) && picture.image().pixelColor(x, y) != face ? 1 : 0;
        QVERIFY2(ink > 0, qPrintable(QString::number(degrees)));
    }
}

void DialPictureTest::needle_data()
{
    QTest::addColumn<std::optional<double>>("degrees");
    QTest::newRow("63") << std::optional<double>(63);
    QTest::newRow("144") << std::optional<double>(144);
    QTest::newRow("35") << std::optional<double>(35);
}

void DialPictureTest::needle()
{
    QFETCH(std::optional<double>, degrees);
    views::DialPicture picture = redrawn();
    picture.drawNeedle(90);
    QVERIFY(near(picture, 0.5, 90, black));
    picture.drawNeedle(degrees);
    // The new needle, the old one wiped by the yellow sector.
    QVERIFY(near(picture, 0.5, *degrees, black));
    QVERIFY(near(picture, 0.9, *degrees, black));
    QCOMPARE(at(picture, 0.5, 90), yellow);
    QCOMPARE(at(picture, 0.5, 100), yellow);
    // The needle stops short of the arc; the arc and the ticks stay.
    QVERIFY(!near(picture, 0.985, *degrees, black));
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
