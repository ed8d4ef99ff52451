#include "graphs/livegraph.h"
#include "graphs/livegraphlimits.h"
#include "graphs/livegraphsweep.h"

#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(graphs::TimeMark)

namespace {

const graphs::PlotArea designArea = graphs::plotAreaFor(QSize(350, 184));
const graphs::AxisLimits mv{-500, 500};
using Opt = std::optional<double>;

} // namespace

class LiveGraphTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void plotArea_data();
    void plotArea();
    void levelLabels_data();
    void levelLabels();
    void readingOffset_data();
    void readingOffset();
    void limitEntry_data();
    void limitEntry();
    void promptsOfferTheCurrentLimits();
    void sweep_data();
    void sweep();
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
    QTest::newRow("narrower than one band") << QSize(69, 100) << 73 << 60 << 0;
    QTest::newRow("empty client") << QSize(0, 0) << -27 << -40 << 0;
}

void LiveGraphTest::plotArea()
{
    QFETCH(QSize, client);
    const graphs::PlotArea area = graphs::plotAreaFor(client);
    QTEST(area.plotBase, "plotBase");
    QTEST(area.plotHeight, "plotHeight");
    QTEST(area.plotWidth, "plotWidth");
}

void LiveGraphTest::levelLabels_data()
{
    QTest::addColumn<graphs::AxisLimits>("limits");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("500 mV") << graphs::limitsForRange(QStringLiteral("500 mV"))
                            << QStringList{"-500", "-250", "0", "250", "500"};
    QTest::newRow("5K Ohm rounds halves away from zero")
        << graphs::limitsForRange(QStringLiteral("5K Ohm")) << QStringList{"-5", "-3", "0", "3", "5"};
    QTest::newRow("range without a number") << graphs::limitsForRange(QStringLiteral("Diode"))
                                            << QStringList(5, QStringLiteral("0"));
    QTest::newRow("user limits") << graphs::AxisLimits{-10, 124} << QStringList{"-10", "24", "57", "91", "124"};
}

void LiveGraphTest::levelLabels()
{
    QFETCH(graphs::AxisLimits, limits);
    QStringList texts;
    QList<double> centres;
    for (const graphs::LevelLabel &label : graphs::levelLabels(designArea, limits)) {
        texts << label.text;
        centres << label.centreY;
    }
    QTEST(texts, "texts");
    QCOMPARE(centres, (QList<double>{157, 121, 85, 49, 13}));
}

void LiveGraphTest::readingOffset_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<graphs::AxisLimits>("limits");
    QTest::addColumn<double>("offset");
    QTest::newRow("zero in the middle") << "000.00" << mv << 72.0;
    QTest::newRow("top limit") << "500.00" << mv << 144.0;
    QTest::newRow("OL above the top") << "OL" << mv << 149.0;
    QTest::newRow("-OL below the bottom") << "-OL" << mv << -3.0;
    QTest::newRow("above yMax clipped") << "500.01" << mv << 149.0;
    QTest::newRow("-OL stays low under negative limits") << "-OL" << graphs::AxisLimits{-500, -100} << -3.0;
    QTest::newRow("text without a number reads 0") << "abc" << mv << 72.0;
    QTest::newRow("equal limits: at them on the bottom edge") << "000.00" << graphs::AxisLimits{0, 0} << 0.0;
    QTest::newRow("equal limits: above them") << "1" << graphs::AxisLimits{0, 0} << 149.0;
}

void LiveGraphTest::readingOffset()
{
    QFETCH(QString, value);
    QFETCH(graphs::AxisLimits, limits);
    QFETCH(double, offset);
    const double got = graphs::readingOffset(value, limits, designArea.plotHeight);
    QVERIFY2(qAbs(got - offset) < 1e-9, qPrintable(QString::number(got)));
}

void LiveGraphTest::limitEntry_data()
{
    QTest::addColumn<bool>("isMax");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<graphs::AxisLimits>("limits");
    QTest::addColumn<double>("fullScale");
    QTest::addColumn<Opt>("accepted");
    QTest::newRow("max beyond full scale cut") << true << "2000" << mv << 500.0 << Opt(500);
    QTest::newRow("max rounded to whole") << true << "123.6" << mv << 500.0 << Opt(124);
    QTest::newRow("max empty (cancel)") << true << "" << mv << 500.0 << Opt();
    QTest::newRow("max unchanged") << true << " 500" << mv << 500.0 << Opt();
    QTest::newRow("max below yMin") << true << "-600" << mv << 500.0 << Opt();
    QTest::newRow("max rounds onto yMin") << true << "0.3" << graphs::AxisLimits{0, 500} << 500.0 << Opt();
    QTest::newRow("max without full scale") << true << "10" << graphs::AxisLimits{0, 0} << 0.0 << Opt();
    QTest::newRow("min beyond full scale raised") << false << "-2000" << mv << 500.0 << Opt(-500);
    QTest::newRow("min equal to yMax refused") << false << "500" << mv << 500.0 << Opt();
    QTest::newRow("min rounds onto yMax") << false << "-0.3" << graphs::AxisLimits{-500, 0} << 500.0 << Opt();
}

void LiveGraphTest::limitEntry()
{
    QFETCH(bool, isMax);
    QFETCH(QString, answer);
    QFETCH(graphs::AxisLimits, limits);
    QFETCH(double, fullScale);
    QTEST(isMax ? graphs::acceptYMax(answer, limits, fullScale) : graphs::acceptYMin(answer, limits, fullScale),
          "accepted");
}

void LiveGraphTest::promptsOfferTheCurrentLimits()
{
    QCOMPARE(graphs::yMaxPrompt({0, 2.5}).prompt, QStringLiteral("Enter maximum value for Y (vertical) axis"));
    QCOMPARE(graphs::yMinPrompt({0, 2.5}).prompt, QStringLiteral("Enter minimum value for Y (vertical) axis"));
    QCOMPARE(graphs::yMaxPrompt({0, 2.5}).defaultAnswer, QStringLiteral(" 2.5"));
    QCOMPARE(graphs::yMinPrompt({0, 2.5}).defaultAnswer, QStringLiteral(" 0")); // zero gets a blank
    QCOMPARE(graphs::yMinPrompt(mv).defaultAnswer, QStringLiteral("-500"));
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
    QTest::newRow("second reading: first segment from x 40") << 2 << QList<int>{} << 1 << From(QPointF(40, 156));
    QTest::newRow("last column") << 300 << QList<int>{} << 299 << From(QPointF(338, -142));
    QTest::newRow("301st wraps without a segment") << 301 << QList<int>{} << 0 << From();
    QTest::newRow("302nd joins the wrapped point") << 302 << QList<int>{} << 1 << From(QPointF(40, -144));
    QTest::newRow("no segment while the link is lost") << 5 << QList<int>{5} << 4 << From();
    QTest::newRow("link back: from the point taken while lost") << 6 << QList<int>{5} << 5 << From(QPointF(44, 152));
}

void LiveGraphTest::sweep()
{
    QFETCH(int, readings);
    QFETCH(QList<int>, lostAt);
    QFETCH(int, column);
    graphs::Sweep sweep;
    sweep.restart();
    graphs::SweepStep step;
    for (int k = 1; k <= readings; ++k)
        step = sweep.advance(designArea, k, !lostAt.contains(k));
    QCOMPARE(step.column, column);
    QCOMPARE(sweep.sweepPos(), column);
    QCOMPARE(step.point, QPointF(40 + column, 157 - readings));
    QTEST(step.segmentFrom, "segmentFrom");
}

void LiveGraphTest::timeMarks()
{
    QList<graphs::TimeMark> marks;
    for (const int column : {0, 60, 120, 30, 90, 1, 59, 45})
        marks << graphs::timeMarkAt(column);
    using M = graphs::TimeMark;
    QCOMPARE(marks, (QList<M>{M::Labelled, M::Labelled, M::Labelled, M::Short, M::Short, M::None, M::None, M::None}));
}

QTEST_APPLESS_MAIN(LiveGraphTest)
#include "tst_livegraph.moc"
