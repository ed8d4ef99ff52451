#include "graphs/livegraphchart.h"

#include <QFont>
#include <QImage>
#include <QTest>

namespace {

const QColor background(236, 233, 216);
const QColor textColour(0, 0, 128);
const QSize designClient(350, 184);

graphs::LiveGraphChart makeChart(const QString &range = QStringLiteral("500 mV"))
{
    graphs::LiveGraphChart chart(graphs::ChartLook{QFont(), background, textColour});
    chart.open();
    chart.redraw(designClient, range);
    return chart;
}

graphs::PanelTexts reading(const QString &value, const QString &comm = QStringLiteral("Com1"))
{
    return {value, QStringLiteral("500 mV"), QStringLiteral("10:15:58"), comm};
}

QColor at(const graphs::LiveGraphChart &chart, int x, int y)
{
    return chart.image().pixelColor(x, y);
}

// Pixels of a colour in a column between two rows (both included).
int countInColumn(const graphs::LiveGraphChart &chart, int x, int fromY, int toY, const QColor &colour)
{
    int count = 0;
    for (int y = fromY; y <= toY; ++y)
        count += at(chart, x, y) == colour ? 1 : 0;
    return count;
}

int countInRow(const graphs::LiveGraphChart &chart, int y, int fromX, int toX, const QColor &colour)
{
    int count = 0;
    for (int x = fromX; x <= toX; ++x)
        count += at(chart, x, y) == colour ? 1 : 0;
    return count;
}

const QColor black(0, 0, 0);
const QColor white(255, 255, 255);
const QColor lightGrey(192, 192, 192);

} // namespace

class LiveGraphChartTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void frameLayout_data();
    void frameLayout();
    void valueLabelsStandOnTheirLevels();
    void segmentsJoinSuccessiveReadings_data();
    void segmentsJoinSuccessiveReadings();
    void noSegmentWhileTheLinkIsLost();
    void wipeBandClearsAheadOfTheSweep();
    void timeMarksEvery60AndShortMarksEvery30();
    void gridColourCyclesThroughThePalette();
    void redrawKeepsOrReloadsLimits();
    void equalLimitsDrawOnTheBottomEdge();
    void readingBeforeAnyRedrawIsHarmless();
};

void LiveGraphChartTest::frameLayout_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("plot area inside") << QPoint(190, 85) << white;
    QTest::newRow("plot area top-left corner") << QPoint(40, 13) << white;
    QTest::newRow("plot area bottom-right corner") << QPoint(340, 157) << white;
    QTest::newRow("right of the plot area") << QPoint(345, 85) << background;
    QTest::newRow("above the plot area") << QPoint(190, 5) << background;
    QTest::newRow("vertical axis") << QPoint(38, 100) << black;
    QTest::newRow("horizontal axis") << QPoint(200, 163) << black;
    QTest::newRow("long tick at a labelled level") << QPoint(31, 121) << black;
    QTest::newRow("short tick between levels: inner part") << QPoint(34, 139) << black;
    QTest::newRow("short tick between levels: no outer part") << QPoint(31, 139) << background;
    QTest::newRow("below the axis, where time labels go") << QPoint(200, 175) << background;
}

void LiveGraphChartTest::frameLayout()
{
    QFETCH(QPoint, pixel);
    QFETCH(QColor, colour);
    const graphs::LiveGraphChart chart = makeChart();
    QCOMPARE(chart.image().size(), designClient);
    QCOMPARE(at(chart, pixel.x(), pixel.y()), colour);
}

void LiveGraphChartTest::valueLabelsStandOnTheirLevels()
{
    const graphs::LiveGraphChart chart = makeChart();
    // Each label is centred on x = 18 and on its level's y: inked pixels
    // (anything but the background) lie around the level, left of the ticks.
    const auto inked = [&chart](int fromY, int toY) {
        int count = 0;
        for (int x = 0; x < 30; ++x)
            count += toY - fromY + 1 - countInColumn(chart, x, fromY, toY, background);
        return count;
    };
    for (const int y : {157, 121, 85, 49, 13})
        QVERIFY2(inked(y - 2, y + 2) > 0, qPrintable(QString::number(y)));
    // Halfway between two levels there is no text.
    QCOMPARE(inked(101, 105), 0);
    QCOMPARE(inked(65, 69), 0);
}

void LiveGraphChartTest::segmentsJoinSuccessiveReadings_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("y1");
    QTest::addColumn<int>("y2");

    // Levels off the grid rows (121, 85, 49), which dot over the trace.
    QTest::newRow("up") << "-125.00" << "125.00" << 103 << 67;
    QTest::newRow("down") << "375.00" << "-375.00" << 31 << 139;
    QTest::newRow("OL clipped 5 above the top") << "-125.00" << "OL" << 103 << 8;
    QTest::newRow("-OL clipped 3 below the bottom") << "-125.00" << "-OL" << 103 << 160;
    QTest::newRow("beyond the limit clipped") << "-125.00" << "600.00" << 103 << 8;
    QTest::newRow("top limit") << "-125.00" << "500.00" << 103 << 13;
    QTest::newRow("bottom limit") << "125.00" << "-500.00" << 67 << 157;
}

void LiveGraphChartTest::segmentsJoinSuccessiveReadings()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, y1);
    QFETCH(int, y2);
    graphs::LiveGraphChart chart = makeChart();
    // Readings in columns 1 and 2, away from the mark of column 0.
    chart.plot(reading(first));
    chart.plot(reading(first));
    QCOMPARE(at(chart, 41, y1), black);
    chart.plot(reading(second));
    QCOMPARE(chart.sweep().sweepPos(), 2);
    QCOMPARE(at(chart, 41, y1), black);
    QCOMPARE(at(chart, 42, y2), black);
    // The band ahead is white.
    QCOMPARE(countInColumn(chart, 44, 13, 157, black), 0);
}

void LiveGraphChartTest::noSegmentWhileTheLinkIsLost()
{
    graphs::LiveGraphChart chart = makeChart();
    for (int i = 0; i < 10; ++i)
        chart.plot(reading(QStringLiteral("-375.00")));
    chart.plot(reading(QStringLiteral("375.00"), QStringLiteral(" NO COM ")));
    QCOMPARE(chart.sweep().sweepPos(), 10);
    QCOMPARE(at(chart, 49, 139), black);
    QCOMPARE(countInColumn(chart, 50, 13, 157, black), 0);
    chart.plot(reading(QStringLiteral("-375.00")));
    // The trace resumes from the reading taken while the link was lost.
    QCOMPARE(at(chart, 50, 31), black);
    QCOMPARE(at(chart, 51, 139), black);
}

void LiveGraphChartTest::wipeBandClearsAheadOfTheSweep()
{
    graphs::LiveGraphChart chart = makeChart();
    for (int i = 0; i < 300; ++i)
        chart.plot(reading(QStringLiteral("-375.00"))); // y 139
    QCOMPARE(at(chart, 60, 139), black);
    QCOMPARE(at(chart, 42, 139), black);
    chart.plot(reading(QStringLiteral("-375.00"))); // wraps: wipes columns 0..5
    QCOMPARE(chart.sweep().sweepPos(), 0);
    QCOMPARE(at(chart, 42, 139), white);
    QCOMPARE(at(chart, 45, 139), white);
    QCOMPARE(at(chart, 46, 139), black);
    // The band reaches 3 below and 5 above the plot area.
    QCOMPARE(at(chart, 43, 160), white);
    QCOMPARE(at(chart, 43, 8), white);
}

void LiveGraphChartTest::timeMarksEvery60AndShortMarksEvery30()
{
    graphs::LiveGraphChart chart = makeChart();
    for (int i = 0; i < 122; ++i)
        chart.plot(reading(QStringLiteral("-375.00")));
    // Labelled marks: dotted full-height lines in the grid colour...
    for (const int column : {0, 60, 120}) {
        const int dots = countInColumn(chart, 40 + column, 13, 140, lightGrey);
        QVERIFY2(dots > 20 && dots < 128, qPrintable(QString::number(column)));
    }
    // ... and the time under them.
    for (const int column : {0, 60, 120}) {
        int text = 0;
        for (int x = 40 + column - 20; x <= 40 + column + 20; ++x)
            text += countInColumn(chart, x, 167, 183, textColour);
        QVERIFY2(text > 0, qPrintable(QString::number(column)));
    }
    // Short marks: solid from 3/8 to 5/8 of the height (y 103 to 67).
    for (const int column : {30, 90}) {
        QCOMPARE(countInColumn(chart, 40 + column, 68, 102, lightGrey), 35);
        QCOMPARE(countInColumn(chart, 40 + column, 13, 45, lightGrey), 0);
        QCOMPARE(countInColumn(chart, 40 + column, 167, 183, textColour), 0);
    }
    // Other columns carry no mark.
    QCOMPARE(countInColumn(chart, 40 + 45, 13, 48, lightGrey), 0);
    QCOMPARE(countInColumn(chart, 40 + 45, 50, 84, lightGrey), 0);
}

void LiveGraphChartTest::gridColourCyclesThroughThePalette()
{
    graphs::LiveGraphChart chart = makeChart();
    QCOMPARE(chart.gridColor(), 7);
    for (int i = 0; i < 9; ++i)
        chart.cycleGridColor();
    QCOMPARE(chart.gridColor(), 0);
    chart.cycleGridColor();
    chart.cycleGridColor();
    chart.cycleGridColor(); // 3: teal
    for (int i = 0; i < 61; ++i)
        chart.plot(reading(QStringLiteral("-375.00")));
    const QColor teal(0, 128, 128);
    QVERIFY(countInRow(chart, 121, 40, 100, teal) > 10); // grid line at a quarter
    QVERIFY(countInColumn(chart, 100, 13, 140, teal) > 20); // time mark at 60
    chart.open();
    QCOMPARE(chart.gridColor(), 7);
}

void LiveGraphChartTest::redrawKeepsOrReloadsLimits()
{
    graphs::LiveGraphChart chart = makeChart();
    QVERIFY(chart.enterYMax(QStringLiteral("123.6"), QStringLiteral("500 mV")));
    QVERIFY(chart.keepLimits());
    chart.redraw(QSize(400, 200), QStringLiteral("500 mV"));
    QCOMPARE(chart.limits(), (graphs::AxisLimits{-500, 124}));
    QVERIFY(!chart.enterYMin(QStringLiteral("200"), QStringLiteral("500 mV")));
    QVERIFY(chart.enterYMin(QStringLiteral("-7000"), QStringLiteral("500 mV")));
    QCOMPARE(chart.limits(), (graphs::AxisLimits{-500, 124}));
    QVERIFY(chart.enterYMin(QStringLiteral("-7"), QStringLiteral("500 mV")));
    QCOMPARE(chart.limits(), (graphs::AxisLimits{-7, 124}));

    QVERIFY(chart.rangeChanged(QStringLiteral("5 V")));
    chart.releaseLimits();
    chart.redraw(QSize(400, 200), QStringLiteral("5 V"));
    QCOMPARE(chart.limits(), (graphs::AxisLimits{-5, 5}));
    QVERIFY(!chart.rangeChanged(QStringLiteral("5 V")));
    QCOMPARE(chart.image().size(), QSize(400, 200));
    QCOMPARE(chart.sweep().sweepPos(), -1);
}

void LiveGraphChartTest::equalLimitsDrawOnTheBottomEdge()
{
    graphs::LiveGraphChart chart = makeChart(QStringLiteral("Diode"));
    QCOMPARE(chart.limits(), (graphs::AxisLimits{0, 0}));
    for (int i = 0; i < 3; ++i)
        chart.plot({QStringLiteral("0.000"), QStringLiteral("Diode"), QStringLiteral("10:15:58"),
                    QStringLiteral("Com1")});
    QCOMPARE(at(chart, 41, 157), black);
    QCOMPARE(at(chart, 42, 157), black);
}

void LiveGraphChartTest::readingBeforeAnyRedrawIsHarmless()
{
    graphs::LiveGraphChart chart;
    chart.plot(reading(QStringLiteral("1")));
    QVERIFY(chart.image().isNull());
    QCOMPARE(chart.sweep().sweepPos(), 0);
}

QTEST_MAIN(LiveGraphChartTest)
#include "tst_livegraphchart.moc"
