#include "graphs/storedgraph.h"
#include "graphs/storedgraphprint.h"
#include "graphs/storedgraphtrace.h"
#include "recording/datafilereader.h"
#include "recording/rangecheck.h"
#include "recording/recordlistmodel.h"
#include "support/recordingprinter.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QMap>
#include <QTemporaryDir>

#include <memory>
#include <QTest>

using graphs::TraceRequest;
using recording::RecordListModel;

namespace {

// A list of records with the given value cells in the "500 mV" range.
void fill(RecordListModel &list, const QStringList &values)
{
    int row = 0;
    for (const QString &value : values)
        list.appendRow({QString::number(++row), "24-01-15", QStringLiteral("12:00:%1").arg(row % 60, 2, 10, QLatin1Char('0')),
                        value, "mV", "500 mV", "DC", ""});
}

// A wandering trace of n records with an overload now and then, the same on every run.
QStringList wander(int n)
{
    QRandomGenerator random(20240115);
    QStringList values;
    double v = 0;
    for (int i = 0; i < n; ++i) {
        v = std::clamp(v + random.bounded(41) - 20, -550.0, 550.0);
        values.append(i % 997 == 0 ? QStringLiteral("   OL  ") : QString::number(v));
    }
    return values;
}

QImage traceImage(const QPolygonF &trace)
{
    QImage image(400, 500, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(graphs::screenPixelsPerTwip, graphs::screenPixelsPerTwip);
    painter.setPen(QPen(Qt::black, graphs::twipsPerPixel, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPolyline(trace);
    return image;
}

int blackIn(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == qRgb(0, 0, 0);
    return count;
}

// Black pixels of `a` with no black pixel of `b` at most one pixel away.
int farFrom(const QImage &a, const QImage &b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) == qRgb(0, 0, 0) && blackIn(b, QRect(x - 1, y - 1, 3, 3) & b.rect()) == 0;
    return count;
}

// The trace as the graph drew it before the min/max pyramid: every record
// read and reduced per pixel column.
QPolygonF readEveryRecord(const RecordListModel &list, const TraceRequest &request, double pixelsPerTwip)
{
    QPolygonF trace;
    const double dx = (graphs::timeAxisEnd - graphs::timeAxisStart) / (request.count - 1);
    double column = 0, low = 0, high = 0;
    QPointF first, last;
    qint64 count = 0;
    const auto push = [&](QPointF p) {
        if (trace.isEmpty() || trace.constLast() != p)
            trace.append(p);
    };
    const auto flush = [&] {
        push(first);
        if (count > 1) {
            push({first.x(), low});
            push({first.x(), high});
            push(last);
        }
        count = 0;
    };
    for (qint64 row = request.first; row <= request.last; ++row) {
        const RecordListModel::Cells cells = list.rowCells(row);
        const QPointF p(1000 + double(row - request.first) * dx,
                        graphs::recordLevel(cells[3], cells[5], request.scale, request.match));
        const double c = std::floor(p.x() * pixelsPerTwip);
        if (count > 0 && c != column)
            flush();
        if (count == 0) {
            column = c;
            first = p;
            low = high = p.y();
        }
        low = std::min(low, p.y());
        high = std::max(high, p.y());
        last = p;
        ++count;
    }
    if (count > 0)
        flush();
    return trace;
}

// A recorded file of n wandering records, read as OPEN FILE reads it (in
// chunks on several threads, the graph's keys kept while reading).
void openWandering(RecordListModel &list, const QString &fileName, int n)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QStringList values = wander(n);
    QByteArray text;
    for (int i = 0; i < n; ++i) {
        text += QByteArray::number(i + 1) + "\t24-01-15\t12:00:00\t" + values[i].toLatin1() + "\tmV\t"
                + (i % 7 == 3 ? "5 V" : "500 mV") + "\tDC\t\r\n";
    }
    QVERIFY(file.write(text) == text.size());
    file.close();
    list.setRowValuer(graphs::rowValuer(graphs::RangeMatch::Exact));
    recording::ReadOptions options;
    options.chunkBytes = 64 * 1024;
    QCOMPARE(recording::filelistu(list, fileName, options).rowsAdded, qsizetype(n));
}

graphs::StoredGraphScene plottedScene(const RecordListModel &list, qint64 first, qint64 last)
{
    graphs::StoredGraphScene scene;
    scene.plotted = true;
    scene.list = &list;
    scene.selection = {first, last, double(last - first + 1), 0, 500,
                       QStringLiteral("12:00:01"), QStringLiteral("12:00:02"), QStringLiteral("12:00:03")};
    return scene;
}

} // namespace

class StoredGraphTraceTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void joinsTheRecords_data();
    void joinsTheRecords();
    void nothingToDraw_data();
    void nothingToDraw();
    void reducedTraceLooksTheSame();
    void drawsAsEveryRecordWasRead_data();
    void drawsAsEveryRecordWasRead();
    void staysInsideThePlotArea_data();
    void staysInsideThePlotArea();
    void paintsTheWindow();
    void windowAsDesignedHasNoTrace();
    void printsThePicture();

private:
    QTemporaryDir dir_;
    QMap<int, std::shared_ptr<RecordListModel>> opened_; // files opened once for several rows
};

void StoredGraphTraceTest::joinsTheRecords_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    QTest::addColumn<double>("count");
    QTest::addColumn<QPolygonF>("points");
    QTest::newRow("two records span the axis")
        << QStringList{" 500", "-500"} << qint64(1) << qint64(2) << 2.0 << QPolygonF{{1000, 1000}, {5000, 7000}};
    QTest::newRow("overloads as start and end")
        << QStringList{"   OL  ", "  -OL  ", "   OL  "} << qint64(1) << qint64(3) << 3.0
        << QPolygonF{{1000, 900}, {3000, 7100}, {5000, 900}};
    QTest::newRow("a span inside the list")
        << QStringList{" 1", " 500", " 250", " 1"} << qint64(2) << qint64(3) << 2.0
        << QPolygonF{{1000, 1000}, {5000, 2500}};
    QTest::newRow("from the caption row")
        << QStringList{" 500", " 250"} << qint64(0) << qint64(2) << 3.0
        << QPolygonF{{1000, 4000}, {3000, 1000}, {5000, 2500}};
    QTest::newRow("rows beyond the list read empty")
        << QStringList{" 500", " 250"} << qint64(1) << qint64(5) << 5.0
        << QPolygonF{{1000, 1000}, {2000, 2500}, {3000, 4000}, {5000, 4000}};
    QTest::newRow("a count that does not match the span")
        << QStringList{" 500", " 250", " 0"} << qint64(1) << qint64(3) << 5.0
        << QPolygonF{{1000, 1000}, {2000, 2500}, {3000, 4000}};
}

void StoredGraphTraceTest::joinsTheRecords()
{
    QFETCH(QStringList, values);
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    QFETCH(double, count);
    RecordListModel list;
    fill(list, values);
    const TraceRequest request{first, last, count, {0, 500}, graphs::RangeMatch::Exact};
    QTEST(graphs::storedGraphTrace(list, request, graphs::screenPixelsPerTwip), "points");
}

void StoredGraphTraceTest::nothingToDraw_data()
{
    QTest::addColumn<TraceRequest>("request");
    QTest::newRow("one record") << TraceRequest{1, 1, 1, {0, 500}, graphs::RangeMatch::Exact};
    QTest::newRow("count 0") << TraceRequest{1, 3, 0, {0, 500}, graphs::RangeMatch::Exact};
    QTest::newRow("first after last") << TraceRequest{3, 1, 3, {0, 500}, graphs::RangeMatch::Exact};
    QTest::newRow("maximum equals minimum") << TraceRequest{1, 3, 3, {0, 0}, graphs::RangeMatch::Exact};
}

void StoredGraphTraceTest::nothingToDraw()
{
    QFETCH(TraceRequest, request);
    RecordListModel list;
    fill(list, {" 1", " 2", " 3"});
    QVERIFY(graphs::storedGraphTrace(list, request, graphs::screenPixelsPerTwip).isEmpty());
}

void StoredGraphTraceTest::reducedTraceLooksTheSame()
{
    RecordListModel list;
    fill(list, wander(5000));
    const TraceRequest request{1, 5000, 5000, {0, 500}, graphs::RangeMatch::Exact};
    const QPolygonF full = graphs::storedGraphTrace(list, request, 1e6);
    const QPolygonF reduced = graphs::storedGraphTrace(list, request, graphs::screenPixelsPerTwip);
    QCOMPARE(full.size(), 5000);
    QVERIFY(reduced.size() <= 4 * (4000 / graphs::twipsPerPixel + 1)); // a few points a pixel column
    QCOMPARE(reduced.first(), full.first());
    QCOMPARE(reduced.last(), full.last());
    // The rasteriser may place the end of a vertical run one pixel apart;
    // nothing else may differ.
    const QImage fullImage = traceImage(full);
    const QImage reducedImage = traceImage(reduced);
    QCOMPARE(farFrom(fullImage, reducedImage), 0);
    QCOMPARE(farFrom(reducedImage, fullImage), 0);
}

void StoredGraphTraceTest::drawsAsEveryRecordWasRead_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    QTest::addColumn<graphs::RangeMatch>("match");
    QTest::newRow("1 record, from the caption row") << 1 << qint64(0) << qint64(1) << graphs::RangeMatch::Exact;
    QTest::newRow("2 records") << 2 << qint64(1) << qint64(2) << graphs::RangeMatch::Exact;
    QTest::newRow("1000 records") << 1000 << qint64(1) << qint64(1000) << graphs::RangeMatch::Exact;
    QTest::newRow("1000 records, inside columns") << 1000 << qint64(3) << qint64(996) << graphs::RangeMatch::Containment;
    QTest::newRow("100000 records") << 100000 << qint64(1) << qint64(100000) << graphs::RangeMatch::Exact;
    QTest::newRow("100000 records, from the caption row") << 100000 << qint64(0) << qint64(100000) << graphs::RangeMatch::Exact;
    QTest::newRow("100000 records, inside columns") << 100000 << qint64(1234) << qint64(98765) << graphs::RangeMatch::Exact;
    QTest::newRow("100000 records, a short span") << 100000 << qint64(50001) << qint64(50123) << graphs::RangeMatch::Containment;
}

void StoredGraphTraceTest::drawsAsEveryRecordWasRead()
{
    QFETCH(int, records);
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    QFETCH(graphs::RangeMatch, match);
    if (!opened_.contains(records)) {
        opened_[records] = std::make_shared<RecordListModel>();
        openWandering(*opened_[records], dir_.filePath(QStringLiteral("%1.dat").arg(records)), records);
    }
    const RecordListModel &list = *opened_[records];
    const TraceRequest request{first, last, double(last - first + 1), {100, 450}, match};
    // On the screen and on a 600 dpi printer, the same points.
    QCOMPARE(graphs::storedGraphTrace(list, request, 600.0 / 1440.0), readEveryRecord(list, request, 600.0 / 1440.0));
    // Drawn, pixel for pixel.
    const QPolygonF expected = readEveryRecord(list, request, graphs::screenPixelsPerTwip);
    QCOMPARE(traceImage(graphs::storedGraphTrace(list, request, graphs::screenPixelsPerTwip)), traceImage(expected));
}

void StoredGraphTraceTest::staysInsideThePlotArea_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<graphs::RangeMatch>("match");
    for (int records : {1, 2, 7}) {
        QTest::addRow("%d records, opened file", records) << records << graphs::RangeMatch::Exact;
        QTest::addRow("%d records, downloaded", records) << records << graphs::RangeMatch::Containment;
    }
}

void StoredGraphTraceTest::staysInsideThePlotArea()
{
    QFETCH(int, records);
    QFETCH(graphs::RangeMatch, match);
    RecordListModel list;
    fill(list, QStringList{"   OL  ", " 600", "  -OL  ", " 250", "-600", " 0", " 499"}.mid(0, records));
    // Every span the range windows accept, FROM 0 included, spaced by the
    // count they set (one less than the rows when FROM is 0).
    for (qint64 first = 0; first <= records; ++first) {
        for (qint64 last = first + 1; last <= records; ++last) {
            const TraceRequest request{first, last, recording::rangeCount(double(first), double(last)),
                                       {0, 500}, match};
            const QPolygonF trace = graphs::storedGraphTrace(list, request, graphs::screenPixelsPerTwip);
            for (const QPointF &p : trace) {
                QVERIFY2(p.x() >= 1000 && p.x() <= 5000 && p.y() >= 900 && p.y() <= 7100,
                         qPrintable(QStringLiteral("FROM %1 TO %2: (%3, %4)").arg(first).arg(last).arg(p.x()).arg(p.y())));
            }
            if (request.count >= 2)
                QCOMPARE(trace.constLast().x(), 5000.0); // the last record at the axis' end
        }
    }
}

void StoredGraphTraceTest::paintsTheWindow()
{
    RecordListModel list;
    fill(list, {" 400", " 400", " 400"});
    const QImage image = graphs::renderStoredGraph(plottedScene(list, 1, 3));
    QCOMPARE(image.size(), QSize(396, 497));
    // The trace lies at y = 1600 twips from x = 1000 to 5000, nothing of it below the centre line.
    QVERIFY(blackIn(image, QRect(70, 105, 260, 3)) >= 260);
    QCOMPARE(blackIn(image, QRect(80, 300, 240, 160)), 0);
    // The fixed lines: dashed red maximum, window-text centre line and axis.
    int red = 0;
    for (int x = 70; x < 330; ++x)
        red += image.pixel(x, 66) == qRgb(255, 0, 0);
    QVERIFY(red > 100 && red < 250);
    QCOMPARE(image.pixel(150, 267), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(67, 400), qRgb(0, 0, 0));
    // Value labels left of the axis, time labels below the centre line.
    QVERIFY(blackIn(image, QRect(40, 60, 25, 20)) > 0);
    QVERIFY(blackIn(image, QRect(72, 272, 60, 18)) > 0);
}

void StoredGraphTraceTest::windowAsDesignedHasNoTrace()
{
    RecordListModel list;
    fill(list, {" 250", " 250", " 250"});
    graphs::StoredGraphScene scene = plottedScene(list, 1, 3);
    scene.plotted = false;
    const QImage image = graphs::renderStoredGraph(scene);
    QCOMPARE(blackIn(image, QRect(80, 160, 240, 12)), 0);
    QCOMPARE(blackIn(image, QRect(40, 60, 25, 20)), 0); // no value labels
    QVERIFY(blackIn(image, QRect(328, 240, 60, 25)) > 0); // the "TIME" caption
}

void StoredGraphTraceTest::printsThePicture()
{
    RecordListModel list;
    fill(list, {" 500", " 250", " 0"});
    testsupport::RecordingPrinter printer;
    QCOMPARE(graphs::printStoredGraph(printer, plottedScene(list, 1, 3)).status,
             graphs::GraphPrintOutcome::Status::Printed);
    QCOMPARE(printer.documentName(), QStringLiteral("MEMORY_GRAPH"));
    QCOMPARE(printer.pageCount(), 1);
    const QStringList texts = printer.allTexts();
    for (const char *text : {"TIME", "-250", "mV", "12:00:02"})
        QVERIFY2(texts.contains(QLatin1String(text)), text);
    // The printout is the picture at 100 dpi: the trace's start at (1000, 1000) twips.
    QVERIFY(blackIn(printer.pages().first(), QRect(68, 68, 6, 6)) > 0);
}

QTEST_MAIN(StoredGraphTraceTest)
#include "tst_storedgraphtrace.moc"
