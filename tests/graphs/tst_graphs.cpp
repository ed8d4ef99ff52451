// The live graph (limits, sweep, chart) and the stored-graph trace and
// picture, as tables: texts and readings in, levels, points and pixels out.

#include "graphs/livegraph.h"
#include "graphs/livegraphlimits.h"
#include "graphs/livegraphpainter.h"
#include "graphs/livegraphsweep.h"
#include "graphs/storedgraph.h"
#include "graphs/storedgraphlevel.h"
#include "graphs/storedgraphtrace.h"
#include "recording/rangecheck.h"
#include "recording/recordlistmodel.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <optional>

using graphs::AxisLimits;
using graphs::RangeMatch;
using graphs::TraceRequest;
using recording::RecordListModel;
using Opt = std::optional<double>;
using From = std::optional<QPointF>;

namespace {

const graphs::PlotArea designArea = graphs::plotAreaFor(QSize(350, 184));
const AxisLimits mv{-500, 500};

int countIn(const QImage &image, const QRect &area, QRgb colour = qRgb(0, 0, 0))
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}
void fill(RecordListModel &list, const QStringList &values)
{
    int row = 0;
    for (const QString &value : values)
        list.appendRow({QString::number(++row), "24-01-15", QStringLiteral("12:00:%1").arg(row % 60, 2, 10, QLatin1Char('0')),
                        value, "mV", "500 mV", "DC", ""});
}

// Per pixel column the first, last, lowest and highest y of a trace.
QList<double> columnOutlines(const QPolygonF &trace)
{
    QList<double> outlines;
    double column = -1;
    for (const QPointF &p : trace) {
        if (const double c = std::floor(p.x() * graphs::screenPixelsPerTwip); c != column) {
            column = c;
            outlines << c << p.y() << p.y() << p.y() << p.y();
        }
        const qsizetype at = outlines.size() - 4;
        outlines[at + 1] = p.y();
        outlines[at + 2] = std::min(outlines[at + 2], p.y());
        outlines[at + 3] = std::max(outlines[at + 3], p.y());
    }
    return outlines;
}

struct LiveLevelRow { QString value; AxisLimits limits; double offset; QStringList texts = {}; };
struct LimitRow { bool isMax; QString answer; AxisLimits limits; double fullScale; Opt accepted; };
struct SweepRow { int readings; QList<int> lostAt; int column; From segmentFrom; };
struct LevelRow { QString value, range; double minimum, maximum; RangeMatch match; double level; QStringList labels = {}; };
struct TraceRow { QStringList values; TraceRequest request; QPolygonF points; };

} // namespace

Q_DECLARE_METATYPE(LiveLevelRow)
Q_DECLARE_METATYPE(LimitRow)
Q_DECLARE_METATYPE(SweepRow)
Q_DECLARE_METATYPE(LevelRow)
Q_DECLARE_METATYPE(TraceRow)

class GraphsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void liveLevel_data();
    void liveLevel();
    void limitEntry_data();
    void limitEntry();
    void sweep_data();
    void sweep();
    void recordLevel_data();
    void recordLevel();
    void storedUnit();
    void trace_data();
    void trace();
    void reducedTraceLooksTheSame_data();
    void reducedTraceLooksTheSame();
    void traceStaysInsideThePlotArea();
    void storedPicture();
};

// A reading's height above the bottom edge under the limits; with texts,
// the limits' level labels.
void GraphsTest::liveLevel_data()
{
    QTest::addColumn<LiveLevelRow>("r");
    const auto row = [](const char *name, LiveLevelRow r) { QTest::newRow(name) << r; };
    row("OL above the top, 500 mV labels", {"OL", graphs::limitsForRange("500 mV"), 149, {"-500", "-250", "0", "250", "500"}});
    row("-OL below the bottom", {"-OL", mv, -3});
    row("above yMax clipped, user limits", {"500.01", {-10, 124}, 149, {"-10", "24", "57", "91", "124"}});
    row("-OL stays low under negative limits", {"-OL", {-500, -100}, -3});
    row("text without a number reads 0", {"abc", mv, 72});
    row("equal limits: at them on the bottom edge", {"000.00", {0, 0}, 0, QStringList(5, QStringLiteral("0"))});
    row("equal limits: above them", {"1", graphs::limitsForRange("Diode"), 149});
}

void GraphsTest::liveLevel()
{
    QFETCH(LiveLevelRow, r);
    const double got = graphs::readingOffset(r.value, r.limits, designArea.plotHeight);
    QVERIFY2(qAbs(got - r.offset) < 1e-9, qPrintable(QString::number(got)));
    QStringList shown;
    for (const graphs::LevelLabel &label : graphs::levelLabels(designArea, r.limits))
        shown << label.text;
    QVERIFY(r.texts.isEmpty() || shown == r.texts);
    // The labels take the look's text colour, whatever pen drew before them.
    QImage frame(designArea.clientWidth, designArea.clientHeight, QImage::Format_RGB32);
    QPainter painter(&frame);
    graphs::ChartLook look;
    look.text = Qt::red;
    graphs::drawChartFrame(painter, designArea, r.limits, look);
    QVERIFY(countIn(frame, QRect(0, 0, 30, designArea.clientHeight), qRgb(255, 0, 0)) > 0);
}

void GraphsTest::limitEntry_data()
{
    QTest::addColumn<LimitRow>("r");
    const auto row = [](const char *name, LimitRow r) { QTest::newRow(name) << r; };
    row("max beyond full scale cut", {true, "2000", mv, 500, 500});
    row("max rounded to whole", {true, "123.6", mv, 500, 124});
    row("max empty (cancel)", {true, "", mv, 500, {}});
    row("max unchanged", {true, " 500", mv, 500, {}});
    row("max below yMin", {true, "-600", mv, 500, {}});
    row("max rounds onto yMin", {true, "0.3", {0, 500}, 500, {}});
    row("max without full scale", {true, "10", {0, 0}, 0, {}});
    row("min beyond full scale raised", {false, "-2000", mv, 500, -500});
    row("min equal to yMax refused", {false, "500", mv, 500, {}});
    row("min rounds onto yMax", {false, "-0.3", {-500, 0}, 500, {}});
}

void GraphsTest::limitEntry()
{
    QFETCH(LimitRow, r);
    QCOMPARE(r.isMax ? graphs::acceptYMax(r.answer, r.limits, r.fullScale)
                     : graphs::acceptYMin(r.answer, r.limits, r.fullScale), r.accepted);
    // The prompt offers the current limit, zero with a blank.
    QCOMPARE((QStringList{graphs::yMaxPrompt({0, 2.5}).defaultAnswer, graphs::yMinPrompt({0, 2.5}).defaultAnswer, graphs::yMinPrompt(mv).defaultAnswer}),
             (QStringList{" 2.5", " 0", "-500"}));
}

void GraphsTest::sweep_data()
{
    // Reading k lies k pixels above the bottom edge (y = 157 - k).
    QTest::addColumn<SweepRow>("r");
    QTest::newRow("first reading: column 0, no segment") << SweepRow{1, {}, 0, {}};
    QTest::newRow("second: first segment from x 40") << SweepRow{2, {}, 1, QPointF(40, 156)};
    QTest::newRow("last column") << SweepRow{300, {}, 299, QPointF(338, -142)};
    QTest::newRow("301st wraps without a segment") << SweepRow{301, {}, 0, {}};
    QTest::newRow("302nd joins the wrapped point") << SweepRow{302, {}, 1, QPointF(40, -144)};
    QTest::newRow("no segment while the link is lost") << SweepRow{5, {5}, 4, {}};
    QTest::newRow("link back: from the point taken while lost") << SweepRow{6, {5}, 5, QPointF(44, 152)};
}

void GraphsTest::sweep()
{
    QFETCH(SweepRow, r);
    graphs::Sweep sweep;
    sweep.restart();
    graphs::SweepStep step;
    for (int k = 1; k <= r.readings; ++k)
        step = sweep.advance(designArea, k, !r.lostAt.contains(k));
    QCOMPARE((QList<int>{step.column, sweep.sweepPos()}), (QList<int>{r.column, r.column}));
    QCOMPARE(step.point, QPointF(40 + r.column, 157 - r.readings));
    QCOMPARE(step.segmentFrom, r.segmentFrom);
    using M = graphs::TimeMark;
    QCOMPARE((QList<M>{graphs::timeMarkAt(0), graphs::timeMarkAt(120), graphs::timeMarkAt(30), graphs::timeMarkAt(90),
                       graphs::timeMarkAt(1), graphs::timeMarkAt(45)}),
             (QList<M>{M::Labelled, M::Labelled, M::Short, M::Short, M::None, M::None}));
}

void GraphsTest::recordLevel_data()
{
    QTest::addColumn<LevelRow>("r");
    const auto row = [](const char *name, LevelRow r) { QTest::newRow(name) << r; };
    const RangeMatch exact = RangeMatch::Exact;
    row("500 on the top line", {" 500", "500 mV", 0, 500, exact, 1000, {"500", "250", "0", "-250", "-500"}});
    row("600 above the top", {" 600", "500 mV", 0, 500, exact, 900});
    row("overload whatever the range", {"   OL  ", "", 0, 500, exact, 900});
    row("negative overload", {"  -OL  ", "500 mV", 0, 500, exact, 7100});
    row("min 100: 300 on the upper middle", {" 300", "500 V", 100, 500, exact, 2500, {"500", "300", "100", "-300", "-500"}});
    row("fractional labels", {" 1.25", "5 V", 0.5, 2, exact, 2500, {"2", "1.25", "0.5", "-1.25", "-2"}});
    row("5K Ohm: 4.321 is 4321", {" 4.321", "5K Ohm", 0, 5000, exact, 1407.4});
    row("blank before the range: factor 0", {" 4.321", " 5K Ohm", 0, 5000, exact, 4000});
    row("caption row reads as 0", {" VALUE", "  RANGE ", 0, 500, exact, 4000});
    row("maximum equal to minimum", {" 450", "500 V", 500, 500, exact, 4000});
    row("long value text", {" 1" + QString(80, QLatin1Char('0')), "500 V", 0, 500, exact, 900});
    // The range's factor: exact text, or the first table text found in it.
    row("labels of 50M", {" 25", "50M Ohm", 0, 50000000, exact, 2500, {"50000000", "25000000", "0", "-25000000", "-50000000"}});
    row("left column before right", {" 0.5", "5M Hz 5K Ohm", 0, 1000, RangeMatch::Containment, 2500});
    row("table order within a column", {" 0.5", "500 Ohm/5K Ohm", 0, 1, RangeMatch::Containment, 2500});
    row("not contained", {" 0.5", "5K", 0, 1, RangeMatch::Containment, 4000});
}

void GraphsTest::recordLevel()
{
    QFETCH(LevelRow, r);
    const QByteArray value = r.value.toLatin1(), range = r.range.toLatin1();
    const double y = graphs::recordLevel(QLatin1StringView(value), QLatin1StringView(range), {r.minimum, r.maximum}, r.match);
    QVERIFY2(std::abs(y - r.level) < 1e-9, qPrintable(QString::number(y, 'g', 17)));
    graphs::StoredGraphScene scene;
    scene.plotted = true;
    std::tie(scene.selection.minimum, scene.selection.maximum) = std::pair(r.minimum, r.maximum);
    const graphs::StoredGraphLabels shown = graphs::storedGraphLabels(scene);
    if (!r.labels.isEmpty())
        QCOMPARE((QStringList{shown.valTop, shown.valMid, shown.zero, shown.negMid, shown.negTop}), r.labels);
}

// The unit from the last record, "nF" added in MEMORY_GRAPH.
void GraphsTest::storedUnit()
{
    RecordListModel list;
    list.appendRow({"1", "d", "t", " 1", "Cx", "5 V", "DC", ""});
    graphs::StoredGraphScene scene;
    scene.list = &list;
    scene.design = graphs::memoryGraphDesign();
    const QString memoryUnit = graphs::storedGraphLabels(scene).unit;
    scene.design = graphs::recGraphDesign();
    QCOMPARE((QStringList{memoryUnit, graphs::storedGraphLabels(scene).unit}), (QStringList{"Cx nF", "Cx"}));
}

void GraphsTest::trace_data()
{
    QTest::addColumn<TraceRow>("r");
    const auto row = [](const char *name, QStringList values, qint64 first, qint64 last, double count,
                        QPolygonF points, graphs::AxisLimits scale = {0, 500}) {
        QTest::newRow(name) << TraceRow{values, {first, last, count, {scale.yMin, scale.yMax}, RangeMatch::Exact}, points};
    };
    row("two records span the axis", {" 500", "-500"}, 1, 2, 2, {{1000, 1000}, {5000, 7000}});
    row("overloads as start and end", {"   OL  ", "  -OL  ", "   OL  "}, 1, 3, 3, {{1000, 900}, {3000, 7100}, {5000, 900}});
    row("a span inside the list", {" 1", " 500", " 250", " 1"}, 2, 3, 2, {{1000, 1000}, {5000, 2500}});
    row("from the caption row", {" 500", " 250"}, 0, 2, 3, {{1000, 4000}, {3000, 1000}, {5000, 2500}});
    row("rows beyond the list read empty", {" 500", " 250"}, 1, 5, 5, {{1000, 1000}, {2000, 2500}, {3000, 4000}, {5000, 4000}});
    row("a span beyond the list reads empty", {" 500", " 250"}, 4, 6, 3, {{1000, 4000}, {5000, 4000}});
    row("a count that does not match the span", {" 500", " 250", " 0"}, 1, 3, 5, {{1000, 1000}, {2000, 2500}, {3000, 4000}});
    row("one record: nothing", {" 1", " 2", " 3"}, 1, 1, 1, {});
    row("count 0: nothing", {" 1", " 2", " 3"}, 1, 3, 0, {});
    row("first after last: nothing", {" 1", " 2", " 3"}, 3, 1, 3, {});
    row("maximum equals minimum: nothing", {" 1", " 2", " 3"}, 1, 3, 3, {}, {0, 0});
}

void GraphsTest::trace()
{
    QFETCH(TraceRow, r);
    RecordListModel list;
    fill(list, r.values);
    QCOMPARE(graphs::storedGraphTrace(list, r.request, graphs::screenPixelsPerTwip), r.points);
}

void GraphsTest::reducedTraceLooksTheSame_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    QTest::newRow("1 record, from the caption row") << 1 << qint64(0) << qint64(1);
    QTest::newRow("2 records") << 2 << qint64(1) << qint64(2);
    QTest::newRow("1000 records") << 1000 << qint64(1) << qint64(1000);
    QTest::newRow("5000 from the caption row") << 5000 << qint64(0) << qint64(5000);
    QTest::newRow("100 000 records") << 100'000 << qint64(1) << qint64(100'000);
    QTest::newRow("a span ending inside pixel columns") << 100'000 << qint64(12'345) << qint64(87'654);
}

// Reduced to a few points a pixel column, the trace draws as every record
// did: a wandering trace with an overload now and then, the same on every run.
void GraphsTest::reducedTraceLooksTheSame()
{
    QFETCH(int, records);
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    QRandomGenerator random(20240115);
    QStringList values;
    double v = 0;
    for (int i = 0; i < records; ++i)
        values.append(i % 997 == 0 ? QStringLiteral("   OL  ") : QString::number(v = std::clamp(v + random.bounded(41) - 20, -550.0, 550.0)));
    RecordListModel list;
    fill(list, values);
    const TraceRequest request{first, last, double(last - first + 1), {100, 450}, RangeMatch::Exact};
    const QPolygonF full = graphs::storedGraphTrace(list, request, 1e6);
    const QPolygonF reduced = graphs::storedGraphTrace(list, request, graphs::screenPixelsPerTwip);
    QCOMPARE(full.size(), last - first + 1);
    QVERIFY(reduced.size() <= 4 * (4000 / graphs::twipsPerPixel + 1));
    QCOMPARE(reduced.first(), full.first());
    QCOMPARE(reduced.last(), full.last());
    QCOMPARE(columnOutlines(reduced), columnOutlines(full));
}

// Every span the range windows accept, FROM 0 included, spaced by the count
// they set, in both stored graphs.
void GraphsTest::traceStaysInsideThePlotArea()
{
    for (const RangeMatch match : {RangeMatch::Exact, RangeMatch::Containment})
        for (int records : {1, 2, 7}) {
            RecordListModel list;
            fill(list, QStringList{"   OL  ", " 600", "  -OL  ", " 250", "-600", " 0", " 499"}.mid(0, records));
            for (qint64 first = 0; first <= records; ++first)
                for (qint64 last = first + 1; last <= records; ++last) {
                    const TraceRequest request{first, last, recording::rangeCount(double(first), double(last)), {0, 500}, match};
                    const QPolygonF trace = graphs::storedGraphTrace(list, request, graphs::screenPixelsPerTwip);
                    for (const QPointF &p : trace)
                        QVERIFY2(p.x() >= 1000 && p.x() <= 5000 && p.y() >= 900 && p.y() <= 7100,
                                 qPrintable(QStringLiteral("%1 records FROM %2 TO %3").arg(records).arg(first).arg(last)));
                    QVERIFY(request.count < 2 || trace.constLast().x() == 5000.0);
                }
        }
}

void GraphsTest::storedPicture()
{
    RecordListModel list;
    fill(list, {" 400", " 400", " 400"});
    graphs::StoredGraphScene scene;
    scene.plotted = true;
    scene.list = &list;
    scene.selection = {1, 3, 3, 0, 500, QStringLiteral("12:00:01"), QStringLiteral("12:00:02"), QStringLiteral("12:00:03")};
    const QImage image = graphs::renderStoredGraph(scene);
    QCOMPARE(image.size(), QSize(396, 497));
    const int red = countIn(image, QRect(70, 66, 260, 1), qRgb(255, 0, 0)); // dashed maximum
    // The trace at y = 1600 twips and nothing below it; the value labels.
    QVERIFY(countIn(image, QRect(70, 105, 260, 3)) >= 260 && countIn(image, QRect(80, 300, 240, 160)) == 0 && red > 100 && red < 250);
    QVERIFY(countIn(image, QRect(40, 60, 25, 20)) > 0);
    scene.plotted = false; // as designed: no trace, no value labels, the "TIME" caption
    const QImage designed = graphs::renderStoredGraph(scene);
    QCOMPARE((QList<int>{countIn(designed, QRect(80, 100, 240, 12)), countIn(designed, QRect(40, 60, 25, 20))}), (QList<int>{0, 0}));
    QVERIFY(countIn(designed, QRect(328, 240, 60, 25)) > 0);
}

QTEST_MAIN(GraphsTest)
#include "tst_graphs.moc"
