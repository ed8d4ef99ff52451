#include "graphs/livegraphchart.h"

#include <QFont>
#include <QImage>
#include <QTest>

namespace {

const QColor background(236, 233, 216);
const QColor textColour(0, 0, 128);
const QColor black(0, 0, 0);
const QColor white(255, 255, 255);
const QColor lightGrey(192, 192, 192);
const QSize designClient(350, 184);

graphs::LiveGraphChart makeChart(const QString &range = QStringLiteral("500 mV"))
{
    graphs::LiveGraphChart chart(graphs::ChartLook{QFont(), background, textColour});
    chart.open();
    chart.redraw(designClient, range);
    return chart;
}

void plot(graphs::LiveGraphChart &chart, const QString &value, int times = 1,
          const QString &comm = QStringLiteral("Com1"))
{
    for (int i = 0; i < times; ++i)
        chart.plot({value, QStringLiteral("500 mV"), QStringLiteral("10:15:58"), comm});
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

} // namespace

class LiveGraphChartTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void frameLayout_data();
    void frameLayout();
    void segmentsJoinSuccessiveReadings_data();
    void segmentsJoinSuccessiveReadings();
    void noSegmentWhileTheLinkIsLost();
    void wipeBandClearsAheadOfTheSweep();
    void timeMarksInTheGridColour();
    void equalLimitsDrawOnTheBottomEdge();
    void readingBeforeAnyRedrawIsHarmless();
};

void LiveGraphChartTest::frameLayout_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("plot area top-left corner") << QPoint(40, 13) << white;
    QTest::newRow("right of the plot area") << QPoint(345, 85) << background;
    QTest::newRow("vertical axis") << QPoint(38, 100) << black;
    QTest::newRow("long tick at a labelled level") << QPoint(31, 121) << black;
    QTest::newRow("short tick between levels: inner part") << QPoint(34, 139) << black;
    QTest::newRow("short tick between levels: no outer part") << QPoint(31, 139) << background;
}

void LiveGraphChartTest::frameLayout()
{
    QFETCH(QPoint, pixel);
    const graphs::LiveGraphChart chart = makeChart();
    QCOMPARE(chart.image().size(), designClient);
    QTEST(at(chart, pixel.x(), pixel.y()), "colour");
}

void LiveGraphChartTest::segmentsJoinSuccessiveReadings_data()
{
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("y2");
    // From -125.00 (y 103), off the grid rows (121, 85, 49) that dot over the trace.
    QTest::newRow("up") << "125.00" << 67;
    QTest::newRow("down") << "-375.00" << 139;
    QTest::newRow("OL clipped 5 above the top") << "OL" << 8;
    QTest::newRow("-OL clipped 3 below the bottom") << "-OL" << 160;
}

void LiveGraphChartTest::segmentsJoinSuccessiveReadings()
{
    QFETCH(QString, second);
    QFETCH(int, y2);
    graphs::LiveGraphChart chart = makeChart();
    // Readings in columns 1 and 2, away from the mark of column 0.
    plot(chart, QStringLiteral("-125.00"), 2);
    plot(chart, second);
    QCOMPARE(chart.sweep().sweepPos(), 2);
    QCOMPARE(at(chart, 41, 103), black);
    QCOMPARE(at(chart, 42, y2), black);
    QCOMPARE(countInColumn(chart, 44, 13, 157, black), 0); // the band ahead is white
}

void LiveGraphChartTest::noSegmentWhileTheLinkIsLost()
{
    graphs::LiveGraphChart chart = makeChart();
    plot(chart, QStringLiteral("-375.00"), 10);
    plot(chart, QStringLiteral("375.00"), 1, QStringLiteral(" NO COM "));
    QCOMPARE(countInColumn(chart, 50, 13, 157, black), 0);
    plot(chart, QStringLiteral("-375.00"));
    QCOMPARE(at(chart, 50, 31), black); // resumes from the reading taken while lost
}

void LiveGraphChartTest::wipeBandClearsAheadOfTheSweep()
{
    graphs::LiveGraphChart chart = makeChart();
    plot(chart, QStringLiteral("-375.00"), 300); // y 139
    QCOMPARE(at(chart, 42, 139), black);
    plot(chart, QStringLiteral("-375.00")); // wraps: wipes columns 0..5
    QCOMPARE(chart.sweep().sweepPos(), 0);
    QCOMPARE(at(chart, 42, 139), white);
    QCOMPARE(at(chart, 45, 139), white);
    QCOMPARE(at(chart, 46, 139), black);
    // The band reaches 3 below and 5 above the plot area.
    QCOMPARE(at(chart, 43, 160), white);
    QCOMPARE(at(chart, 43, 8), white);
}

void LiveGraphChartTest::timeMarksInTheGridColour()
{
    graphs::LiveGraphChart chart = makeChart();
    QCOMPARE(chart.gridColor(), 7);
    for (int i = 0; i < 9; ++i)
        chart.cycleGridColor();
    QCOMPARE(chart.gridColor(), 0);
    chart.open();
    QCOMPARE(chart.gridColor(), 7); // light grey
    plot(chart, QStringLiteral("-375.00"), 122);
    // Labelled marks: dotted full-height lines, and the time under them.
    for (const int x : {40, 100, 160}) {
        const int dots = countInColumn(chart, x, 13, 140, lightGrey);
        QVERIFY2(dots > 20 && dots < 128, qPrintable(QString::number(x)));
        int text = 0;
        for (int column = x - 20; column <= x + 20; ++column)
            text += countInColumn(chart, column, 167, 183, textColour);
        QVERIFY2(text > 0, qPrintable(QString::number(x)));
    }
    // Short marks: solid from 3/8 to 5/8 of the height (y 103 to 67), no time.
    for (const int x : {70, 130}) {
        QCOMPARE(countInColumn(chart, x, 68, 102, lightGrey), 35);
        QCOMPARE(countInColumn(chart, x, 13, 45, lightGrey), 0);
        QCOMPARE(countInColumn(chart, x, 167, 183, textColour), 0);
    }
    QCOMPARE(countInColumn(chart, 85, 50, 84, lightGrey), 0); // column 45: no mark
}

void LiveGraphChartTest::equalLimitsDrawOnTheBottomEdge()
{
    graphs::LiveGraphChart chart = makeChart(QStringLiteral("Diode"));
    QCOMPARE(chart.limits(), (graphs::AxisLimits{0, 0}));
    plot(chart, QStringLiteral("0.000"), 3);
    QCOMPARE(at(chart, 41, 157), black);
    QCOMPARE(at(chart, 42, 157), black);
}

void LiveGraphChartTest::readingBeforeAnyRedrawIsHarmless()
{
    graphs::LiveGraphChart chart;
    plot(chart, QStringLiteral("1"));
    QVERIFY(chart.image().isNull());
    QCOMPARE(chart.sweep().sweepPos(), 0);
}

QTEST_MAIN(LiveGraphChartTest)
#include "tst_livegraphchart.moc"
