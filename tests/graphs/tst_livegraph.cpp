#include "graphs/livegraph.h"
#include "graphs/livegraphlimits.h"
#include "graphs/livegraphsweep.h"

#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(graphs::TimeMark)

namespace {

const graphs::PlotArea designArea = graphs::plotAreaFor(QSize(350, 184));

} // namespace

class LiveGraphTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void plotArea_data();
    void plotArea();
    void levelLabels_data();
    void levelLabels();
    void levelCentresOfTheDesignArea();
    void readingOffset_data();
    void readingOffset();
    void yMaxEntry_data();
    void yMaxEntry();
    void yMinEntry_data();
    void yMinEntry();
    void promptsOfferTheCurrentLimits_data();
    void promptsOfferTheCurrentLimits();
    void sweep_data();
    void sweep();
    void timeMarks_data();
    void timeMarks();
};

void LiveGraphTest::plotArea_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("plotBase");
    QTest::addColumn<int>("plotHeight");
    QTest::addColumn<int>("plotWidth");

    QTest::newRow("design 350 x 184") << QSize(350, 184) << 157 << 144 << 300;
    QTest::newRow("width cut to a multiple of 30") << QSize(369, 200) << 173 << 160 << 300;
    QTest::newRow("exact multiple kept") << QSize(370, 100) << 73 << 60 << 330;
    QTest::newRow("narrower than one band") << QSize(69, 100) << 73 << 60 << 0;
    QTest::newRow("narrower than the margin") << QSize(20, 50) << 23 << 10 << 0;
    QTest::newRow("empty client") << QSize(0, 0) << -27 << -40 << 0;
}

void LiveGraphTest::plotArea()
{
    QFETCH(QSize, client);
    const graphs::PlotArea area = graphs::plotAreaFor(client);
    QTEST(area.plotBase, "plotBase");
    QTEST(area.plotHeight, "plotHeight");
    QTEST(area.plotWidth, "plotWidth");
    QCOMPARE(area.clientHeight, client.height());
}

void LiveGraphTest::levelLabels_data()
{
    QTest::addColumn<graphs::AxisLimits>("limits");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("500 mV") << graphs::limitsForRange(QStringLiteral("500 mV"))
                            << QStringList{"-500", "-250", "0", "250", "500"};
    QTest::newRow("5K Ohm rounds halves away from zero")
        << graphs::limitsForRange(QStringLiteral("5K Ohm")) << QStringList{"-5", "-3", "0", "3", "5"};
    QTest::newRow("1000 V") << graphs::limitsForRange(QStringLiteral("1000 V"))
                            << QStringList{"-1000", "-500", "0", "500", "1000"};
    QTest::newRow("range without a number") << graphs::limitsForRange(QStringLiteral("Diode"))
                                            << QStringList(5, QStringLiteral("0"));
    QTest::newRow("empty range") << graphs::limitsForRange(QString())
                                 << QStringList(5, QStringLiteral("0"));
    QTest::newRow("user limits") << graphs::AxisLimits{-10, 124}
                                 << QStringList{"-10", "24", "57", "91", "124"};
}

void LiveGraphTest::levelLabels()
{
    QFETCH(graphs::AxisLimits, limits);
    QFETCH(QStringList, texts);
    QStringList got;
    for (const graphs::LevelLabel &label : graphs::levelLabels(designArea, limits))
        got << label.text;
    QCOMPARE(got, texts);
}

void LiveGraphTest::levelCentresOfTheDesignArea()
{
    QList<double> centres;
    for (const auto &label : graphs::levelLabels(designArea, {-500, 500}))
        centres << label.centreY;
    QCOMPARE(centres, (QList<double>{157, 121, 85, 49, 13}));
}

void LiveGraphTest::readingOffset_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<graphs::AxisLimits>("limits");
    QTest::addColumn<double>("offset");

    const graphs::AxisLimits mv{-500, 500};
    QTest::newRow("zero in the middle") << "000.00" << mv << 72.0;
    QTest::newRow("half scale") << "250.00" << mv << 108.0;
    QTest::newRow("top limit") << "500.00" << mv << 144.0;
    QTest::newRow("bottom limit") << "-500.00" << mv << 0.0;
    QTest::newRow("OL above the top") << "OL" << mv << 149.0;
    QTest::newRow("-OL below the bottom") << "-OL" << mv << -3.0;
    QTest::newRow("above yMax clipped") << "500.01" << mv << 149.0;
    QTest::newRow("below yMin clipped") << "-500.01" << mv << -3.0;
    QTest::newRow("-OL stays low under negative limits") << "-OL" << graphs::AxisLimits{-500, -100}
                                                         << -3.0;
    QTest::newRow("OL stays high over positive limits") << "OL" << graphs::AxisLimits{100, 500}
                                                        << 149.0;
    QTest::newRow("leading zeros and sign") << "-01.250" << graphs::AxisLimits{-5, 5} << 54.0;
    QTest::newRow("text without a number reads 0") << "abc" << mv << 72.0;
    QTest::newRow("truncated number") << "25" << mv << 75.6;
    QTest::newRow("equal limits: at them on the bottom edge") << "000.00" << graphs::AxisLimits{0, 0}
                                                              << 0.0;
    QTest::newRow("equal limits: above them") << "1" << graphs::AxisLimits{0, 0} << 149.0;
    QTest::newRow("equal limits: below them") << "-1" << graphs::AxisLimits{0, 0} << -3.0;
}

void LiveGraphTest::readingOffset()
{
    QFETCH(QString, value);
    QFETCH(graphs::AxisLimits, limits);
    QFETCH(double, offset);
    const double got = graphs::readingOffset(value, limits, designArea.plotHeight);
    QVERIFY2(qAbs(got - offset) < 1e-9, qPrintable(QString::number(got)));
}

void LiveGraphTest::yMaxEntry_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<graphs::AxisLimits>("limits");
    QTest::addColumn<double>("fullScale");
    QTest::addColumn<std::optional<double>>("yMax");

    const graphs::AxisLimits mv{-500, 500};
    using Opt = std::optional<double>;
    QTest::newRow("beyond full scale cut") << "2000" << mv << 500.0 << Opt(500);
    QTest::newRow("rounded to whole") << "123.6" << mv << 500.0 << Opt(124);
    QTest::newRow("half rounds away from zero") << "-2.5" << mv << 500.0 << Opt(-3);
    QTest::newRow("with blanks and unit") << "  200 mV" << mv << 500.0 << Opt(200);
    QTest::newRow("empty (cancel)") << "" << mv << 500.0 << Opt();
    QTest::newRow("unchanged") << " 500" << mv << 500.0 << Opt();
    QTest::newRow("below yMin") << "-600" << mv << 500.0 << Opt();
    QTest::newRow("equal to yMin accepted as a number, refused as a limit")
        << "-500" << mv << 500.0 << Opt();
    QTest::newRow("rounds onto yMin") << "0.3" << graphs::AxisLimits{0, 500} << 500.0 << Opt();
    QTest::newRow("text without a number reads 0") << "abc" << mv << 500.0 << Opt(0);
    QTest::newRow("no full scale") << "10" << graphs::AxisLimits{0, 0} << 0.0 << Opt();
}

void LiveGraphTest::yMaxEntry()
{
    QFETCH(QString, answer);
    QFETCH(graphs::AxisLimits, limits);
    QFETCH(double, fullScale);
    QTEST(graphs::acceptYMax(answer, limits, fullScale), "yMax");
}

void LiveGraphTest::yMinEntry_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<graphs::AxisLimits>("limits");
    QTest::addColumn<double>("fullScale");
    QTest::addColumn<std::optional<double>>("yMin");

    const graphs::AxisLimits mv{-500, 500};
    using Opt = std::optional<double>;
    QTest::newRow("beyond full scale raised") << "-2000" << mv << 500.0 << Opt(-500);
    QTest::newRow("rounded to whole") << "-123.6" << mv << 500.0 << Opt(-124);
    QTest::newRow("positive lower limit") << "100" << mv << 500.0 << Opt(100);
    QTest::newRow("empty (cancel)") << "" << mv << 500.0 << Opt();
    QTest::newRow("unchanged") << "-500" << mv << 500.0 << Opt();
    QTest::newRow("above yMax") << "600" << mv << 500.0 << Opt();
    QTest::newRow("equal to yMax refused") << "500" << mv << 500.0 << Opt();
    QTest::newRow("rounds onto yMax") << "-0.3" << graphs::AxisLimits{-500, 0} << 500.0 << Opt();
}

void LiveGraphTest::yMinEntry()
{
    QFETCH(QString, answer);
    QFETCH(graphs::AxisLimits, limits);
    QFETCH(double, fullScale);
    QTEST(graphs::acceptYMin(answer, limits, fullScale), "yMin");
}

void LiveGraphTest::promptsOfferTheCurrentLimits_data()
{
    QTest::addColumn<graphs::AxisLimits>("limits");
    QTest::addColumn<QString>("maxDefault");
    QTest::addColumn<QString>("minDefault");

    QTest::newRow("500 mV") << graphs::AxisLimits{-500, 500} << " 500" << "-500";
    QTest::newRow("zero gets a blank") << graphs::AxisLimits{0, 124} << " 124" << " 0";
    QTest::newRow("fractions kept") << graphs::AxisLimits{-0.5, 2.5} << " 2.5" << "-0.5";
}

void LiveGraphTest::promptsOfferTheCurrentLimits()
{
    QFETCH(graphs::AxisLimits, limits);
    const graphs::LimitPrompt max = graphs::yMaxPrompt(limits);
    const graphs::LimitPrompt min = graphs::yMinPrompt(limits);
    QCOMPARE(max.prompt, QStringLiteral("Enter maximum value for Y (vertical) axis"));
    QCOMPARE(max.title, QStringLiteral("Max Y"));
    QCOMPARE(min.prompt, QStringLiteral("Enter minimum value for Y (vertical) axis"));
    QCOMPARE(min.title, QStringLiteral("MIN Y"));
    QTEST(max.defaultAnswer, "maxDefault");
    QTEST(min.defaultAnswer, "minDefault");
}

void LiveGraphTest::sweep_data()
{
    // Reading k (1-based) lies k pixels above the bottom edge (y = 157 - k)
    // of the design area; the link is lost for the readings listed.
    QTest::addColumn<int>("readings");
    QTest::addColumn<QList<int>>("lostAt");
    QTest::addColumn<int>("column");
    QTest::addColumn<std::optional<QPointF>>("segmentFrom");

    using From = std::optional<QPointF>;
    QTest::newRow("first reading: column 0, no segment") << 1 << QList<int>{} << 0 << From();
    QTest::newRow("second reading: first segment from x 40")
        << 2 << QList<int>{} << 1 << From(QPointF(40, 156));
    QTest::newRow("last column") << 300 << QList<int>{} << 299 << From(QPointF(338, -142));
    QTest::newRow("301st wraps without a segment") << 301 << QList<int>{} << 0 << From();
    QTest::newRow("302nd joins the wrapped point")
        << 302 << QList<int>{} << 1 << From(QPointF(40, -144));
    QTest::newRow("no segment while the link is lost") << 5 << QList<int>{5} << 4 << From();
    QTest::newRow("link back: from the point taken while lost")
        << 6 << QList<int>{5} << 5 << From(QPointF(44, 152));
}

void LiveGraphTest::sweep()
{
    QFETCH(int, readings);
    QFETCH(QList<int>, lostAt);
    QFETCH(int, column);
    QFETCH(std::optional<QPointF>, segmentFrom);

    graphs::Sweep sweep;
    sweep.restart();
    graphs::SweepStep step;
    for (int k = 1; k <= readings; ++k)
        step = sweep.advance(designArea, k, !lostAt.contains(k));
    QCOMPARE(step.column, column);
    QCOMPARE(sweep.sweepPos(), column);
    QCOMPARE(step.point, QPointF(40 + column, 157 - readings));
    QCOMPARE(step.segmentFrom, segmentFrom);
    QCOMPARE(sweep.prevX(), 40 + column);
}

void LiveGraphTest::timeMarks_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<graphs::TimeMark>("mark");

    QTest::newRow("0") << 0 << graphs::TimeMark::Labelled;
    QTest::newRow("60") << 60 << graphs::TimeMark::Labelled;
    QTest::newRow("120") << 120 << graphs::TimeMark::Labelled;
    QTest::newRow("30") << 30 << graphs::TimeMark::Short;
    QTest::newRow("90") << 90 << graphs::TimeMark::Short;
    QTest::newRow("1") << 1 << graphs::TimeMark::None;
    QTest::newRow("59") << 59 << graphs::TimeMark::None;
    QTest::newRow("45") << 45 << graphs::TimeMark::None;
}

void LiveGraphTest::timeMarks()
{
    QFETCH(int, column);
    QTEST(graphs::timeMarkAt(column), "mark");
}

QTEST_APPLESS_MAIN(LiveGraphTest)
#include "tst_livegraph.moc"
