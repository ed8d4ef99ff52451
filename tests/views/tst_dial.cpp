#include "views/dial.h"

#include <QTest>

#include <optional>
#include <tuple>

Q_DECLARE_METATYPE(std::optional<double>)

class DialTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void needleAngle_data();
    void needleAngle();
    void ticks();
    void scaleNumbers_data();
    void scaleNumbers();
    void coordinates();
};

void DialTest::needleAngle_data()
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

void DialTest::ticks()
{
    const auto ticks = views::dialTicks();
    QCOMPARE(ticks.size(), std::size_t(41));
    // Index, angle and length: long every 10th, middle every 5th, short between.
    const QList<std::tuple<int, double, double>> expected{
        {0, 36, 1.08}, {1, 38.7, 1.03}, {5, 49.5, 1.06}, {20, 90, 1.08}, {40, 144, 1.08}};
    for (const auto &[index, degrees, outer] : expected) {
        QVERIFY(qAbs(ticks[std::size_t(index)].degrees - degrees) < 1e-9);
        QCOMPARE(ticks[std::size_t(index)].outerFactor, outer);
    }
}

void DialTest::scaleNumbers_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("5 V") << "5 V" << QStringList{"0", " 2.5", "-2.5", " 5", "-5"};
    QTest::newRow("1000 V") << "1000 V" << QStringList{"0", " 500", "-500", " 1000", "-1000"};
    QTest::newRow("no number") << "Diode" << QStringList{"0", " 0", " 0", " 0", " 0"};
}

void DialTest::scaleNumbers()
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

void DialTest::coordinates()
{
    // Client 320 x 180: x from -160 to 160, y from 216 (top) to 36 (bottom).
    const views::DialFrame frame(QSizeF(320, 180));
    QCOMPARE(frame.radius(), 160.0);
    QCOMPARE(frame.toPixel({0, 0}), QPointF(160, 216)); // the pivot, below the bottom edge
    QCOMPARE(frame.toPixel({-160, 216}), QPointF(0, 0));
    QCOMPARE(frame.toPixel({160, 36}), QPointF(320, 180));
    // "0" centred on the vertical line, one unit to the right, its top 1.16 R above the pivot.
    const QPointF zero = views::scaleNumberTopLeft(frame, views::scaleNumbers(QStringLiteral("5 V"))[0], 10);
    QVERIFY(qAbs(zero.x() - 156) < 1e-9);
    QVERIFY(qAbs(zero.y() - (216 - 1.16 * 160)) < 1e-9);
}

QTEST_APPLESS_MAIN(DialTest)
#include "tst_dial.moc"
