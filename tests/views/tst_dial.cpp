#include "views/dial.h"

#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<double>)

class DialTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void needleAngle_data();
    void needleAngle();
    void ticks_data();
    void ticks();
    void scaleNumbers_data();
    void scaleNumbers();
    void coordinates_data();
    void coordinates();
    void scaleNumberPlacement();
};

void DialTest::needleAngle_data()
{
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("range");
    QTest::addColumn<std::optional<double>>("degrees");

    using Deg = std::optional<double>;
    QTest::newRow("250 of 500 mV") << "250.00" << "500 mV" << Deg(63);
    QTest::newRow("-500 of 500 mV on the last tick") << "-500.00" << "500 mV" << Deg(144);
    QTest::newRow("full scale on the first tick") << "500.00" << "500 mV" << Deg(36);
    QTest::newRow("zero straight up") << "000.00" << "500 mV" << Deg(90);
    QTest::newRow("-OL rests beyond the left end") << "-OL" << "500 mV" << Deg(145);
    QTest::newRow("OL rests beyond the right end") << "OL" << "500 mV" << Deg(35);
    QTest::newRow("twice the range clamped") << "1000.00" << "500 mV" << Deg(35);
    QTest::newRow("minus twice the range clamped") << "-1000.00" << "500 mV" << Deg(145);
    QTest::newRow("leading zeros and sign") << "-01.250" << "5 V" << Deg(103.5);
    QTest::newRow("K range") << "2.500" << "5K Ohm" << Deg(63);
    QTest::newRow("range without a number: no needle") << "0.123" << "Diode" << Deg();
    QTest::newRow("empty range: no needle") << "0.123" << "" << Deg();
    QTest::newRow("OL even without a range") << "OL" << "Diode" << Deg(35);
    QTest::newRow("reading without a number reads 0") << "abc" << "5 V" << Deg(90);
    QTest::newRow("truncated reading") << "2." << "5 V" << Deg(68.4);
}

void DialTest::needleAngle()
{
    QFETCH(QString, reading);
    QFETCH(QString, range);
    QFETCH(std::optional<double>, degrees);
    const auto got = views::needleAngle(reading, range);
    QCOMPARE(got.has_value(), degrees.has_value());
    if (degrees)
        QVERIFY2(qAbs(*got - *degrees) < 1e-9, qPrintable(QString::number(*got)));
}

void DialTest::ticks_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("degrees");
    QTest::addColumn<double>("outer");

    QTest::newRow("first") << 0 << 36.0 << 1.08;
    QTest::newRow("second") << 1 << 38.7 << 1.03;
    QTest::newRow("fifth") << 5 << 49.5 << 1.06;
    QTest::newRow("tenth") << 10 << 63.0 << 1.08;
    QTest::newRow("middle") << 20 << 90.0 << 1.08;
    QTest::newRow("35th") << 35 << 130.5 << 1.06;
    QTest::newRow("last") << 40 << 144.0 << 1.08;
}

void DialTest::ticks()
{
    QFETCH(int, index);
    QFETCH(double, degrees);
    QFETCH(double, outer);
    const auto ticks = views::dialTicks();
    QCOMPARE(ticks.size(), std::size_t(41));
    const views::DialTick tick = ticks[static_cast<std::size_t>(index)];
    QVERIFY(qAbs(tick.degrees - degrees) < 1e-9);
    QCOMPARE(tick.outerFactor, outer);
}

void DialTest::scaleNumbers_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("5 V") << "5 V" << QStringList{"0", " 2.5", "-2.5", " 5", "-5"};
    QTest::newRow("500 mV") << "500 mV" << QStringList{"0", " 250", "-250", " 500", "-500"};
    QTest::newRow("5K Ohm") << "5K Ohm" << QStringList{"0", " 2.5", "-2.5", " 5", "-5"};
    QTest::newRow("1000 V") << "1000 V" << QStringList{"0", " 500", "-500", " 1000", "-1000"};
    QTest::newRow("5000 uA") << "5000 uA" << QStringList{"0", " 2500", "-2500", " 5000", "-5000"};
    QTest::newRow("no number") << "Diode" << QStringList{"0", " 0", " 0", " 0", " 0"};
}

void DialTest::scaleNumbers()
{
    QFETCH(QString, range);
    QFETCH(QStringList, texts);
    QStringList got;
    QList<double> angles;
    for (const views::ScaleNumber &number : views::scaleNumbers(range)) {
        got << number.text;
        angles << number.degrees;
    }
    QCOMPARE(got, texts);
    QCOMPARE(angles, (QList<double>{90, 63, 117, 39.6, 140.4}));
}

void DialTest::coordinates_data()
{
    QTest::addColumn<QPointF>("dial");
    QTest::addColumn<QPointF>("pixel");

    // Client 320 x 180: x from -160 to 160, y from 216 (top) to 36 (bottom).
    QTest::newRow("pivot below the bottom edge") << QPointF(0, 0) << QPointF(160, 216);
    QTest::newRow("top left corner") << QPointF(-160, 216) << QPointF(0, 0);
    QTest::newRow("bottom right corner") << QPointF(160, 36) << QPointF(320, 180);
}

void DialTest::coordinates()
{
    QFETCH(QPointF, dial);
    const views::DialFrame frame(QSizeF(320, 180));
    QCOMPARE(frame.radius(), 160.0);
    QTEST(frame.toPixel(dial), "pixel");
}

void DialTest::scaleNumberPlacement()
{
    const views::DialFrame frame(QSizeF(320, 180));
    const auto numbers = views::scaleNumbers(QStringLiteral("5 V"));
    // "0": centred on the vertical line, one unit to the right, its top
    // 1.16 R above the pivot.
    const QPointF zero = views::scaleNumberTopLeft(frame, numbers[0], 10);
    QVERIFY(qAbs(zero.x() - 156) < 1e-9);
    QVERIFY(qAbs(zero.y() - (216 - 1.16 * 160)) < 1e-9);
    // " 2.5" at 63 degrees, centred on its direction.
    const QPointF half = views::scaleNumberTopLeft(frame, numbers[1], 20);
    const QPointF at63 = frame.polar(1.16, 63);
    QVERIFY(qAbs(half.x() - (at63.x() - 10)) < 1e-9);
    QCOMPARE(half.y(), at63.y());
    QVERIFY(at63.x() > 160 && at63.y() < 216);
}

QTEST_APPLESS_MAIN(DialTest)
#include "tst_dial.moc"
