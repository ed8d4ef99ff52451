// G_GRAPH, MEMORY_GRAPH and REC_GRAPH through their windows: what the user
// does in, the chart, picture, printout, saved image and texts out.

#include "graphs/ui/ggraph.h"
#include "graphs/ui/ggraphview.h"
#include "graphs/ui/memorygraph.h"
#include "graphs/ui/recgraph.h"
#include "link/ui/panel.h"
#include "platform/timer.h"
#include "recording/recordlistmodel.h"
#include "support/panelrig.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct LiveRig : testsupport::PanelRig
{
    std::unique_ptr<graphs::G_GRAPH> graph;

    LiveRig()
    {
        panel->show();
        show(QStringLiteral("Com1"), QStringLiteral("500 mV"), QStringLiteral("123.45"));
        shared.graphFeedOn = 1;
        graph = std::make_unique<graphs::G_GRAPH>(*panel);
        graph->load();
        graph->show();
    }
    void show(const QString &comm, const QString &range, const QString &value)
    {
        panel->LBLCOMM->setText(comm);
        panel->LBLRAN->setText(range);
        panel->LBLVALUE->setText(value);
    }
    void feed(int times = 1) // a new text in Text1 is what the panel's sampling tick gives
    {
        for (int i = 0; i < times; ++i)
            graph->Text1->setText(QString::number(++fed));
    }
    int fed = 0;
    void enterYmax(const QString &answer)
    {
        if (answer.isEmpty())
            return;
        test.dialogs.queueInput(answer);
        graph->Ymax->trigger();
    }
    int sweepPos() const { return graph->chart().sweep().sweepPos(); }
};

// Both stored graphs over one list of ten 500 mV records.
struct StoredRig
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform;
    platform::Timer timer6{platform::Timer::Mode::Manual};
    recording::RecordListModel list;
    std::unique_ptr<graphs::MEMORY_GRAPH> memory;
    std::unique_ptr<graphs::REC_GRAPH> rec;

    StoredRig()
    {
        platform = test.platform();
        platform.timerMode = platform::Timer::Mode::Manual;
        timer6.setEnabled(true);
        for (int row = 1; row <= 10; ++row)
            list.appendRow({QString::number(row), "00-02-29", QStringLiteral("12:00:%1").arg(row + 10),
                            QStringLiteral(" %1").arg(row * 37 % 11 * 40), "mV", "500 mV", "DC", ""});
        select(1, 10, 10, 0, 500);
        memory = std::make_unique<graphs::MEMORY_GRAPH>(platform, shared);
        rec = std::make_unique<graphs::REC_GRAPH>(platform, shared, timer6);
        memory->setList(&list);
        rec->setList(&list);
    }
    void select(double first, double last, double count, double minimum, double maximum)
    {
        shared.memFirst = shared.recFirst = first;
        shared.memLast = shared.recLast = last;
        shared.memCount = shared.recCount = count;
        shared.memMin = shared.recMin = minimum;
        shared.memMax = shared.scaleMax = maximum;
        shared.memTimeFirst = shared.recTimeFirst = QStringLiteral("first");
        shared.memTimeMid = shared.recTimeMid = QStringLiteral("mid");
        shared.memTimeLast = shared.recTimeLast = QStringLiteral("last");
    }
    graphs::StoredGraphWindow &window(bool isRec) { return isRec ? static_cast<graphs::StoredGraphWindow &>(*rec) : *memory; }
};

// Dark pixels of `a` inside `region` with no ink of `b` within `slack`
// pixels of the same place (`scale` b-pixels to an a-pixel).
int unmatchedDark(const QImage &a, const QImage &b, double scale, QRect region, int slack)
{
    int unmatched = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x) {
            bool found = qGray(a.pixel(x, y)) >= 128;
            const QPoint at(int(x * scale), int(y * scale));
            for (int dy = -slack; dy <= slack && !found; ++dy)
                for (int dx = -slack; dx <= slack && !found; ++dx)
                    found = b.valid(at + QPoint(dx, dy)) && qGray(b.pixel(at + QPoint(dx, dy))) < 224;
            unmatched += found ? 0 : 1;
        }
    return unmatched;
}

struct LiveChange { QString ymaxBefore; int clicks; bool resize; bool linkLost; QString ymaxDuring; graphs::AxisLimits limits; int gridColor; };

} // namespace

Q_DECLARE_METATYPE(LiveChange)

class GraphsUiTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void liveReadingNeedsTextAndValue_data();
    void liveReadingNeedsTextAndValue();
    void liveChartChange_data();
    void liveChartChange();
    void livePrinting();
    void stored_data();
    void stored();
    void savedImageShowsTheWindow_data();
    void savedImageShowsTheWindow();
};

void GraphsUiTest::liveReadingNeedsTextAndValue_data()
{
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("sweepPos"); // -1: no reading taken
    QTest::newRow("the text is only a trigger") << "7" << "-OL" << 0;
    QTest::newRow("empty text ignored") << "" << "123.45" << -1;
    QTest::newRow("empty value ignored") << "0" << "" << -1;
}

void GraphsUiTest::liveReadingNeedsTextAndValue()
{
    LiveRig rig;
    QCOMPARE(rig.graph->clientSize(), QSize(350, 184));
    QFETCH(QString, value);
    rig.panel->LBLVALUE->setText(value);
    rig.graph->Text1->setText(QStringLiteral("x"));
    rig.graph->fullRedraw(); // back to no reading
    QFETCH(QString, text1);
    rig.graph->Text1->setText(text1);
    QTEST(rig.sweepPos(), "sweepPos");
}

// Ymax entered, grid colour changed by double clicks, five readings, the
// window moved; then the range changes or the window is resized (the link
// lost meanwhile, Ymax entered while lost). Once the meter is back a resized
// chart is as if resized with the meter connected; a new range starts anew.
void GraphsUiTest::liveChartChange_data()
{
    QTest::addColumn<LiveChange>("r");
    QTest::newRow("range change") << LiveChange{"200", 2, false, false, "", {-5, 5}, 7};
    QTest::newRow("resized") << LiveChange{"", 1, true, false, "", {-500, 500}, 8};
    QTest::newRow("resized, link lost, own Ymax") << LiveChange{"123.6", 1, true, true, "", {-500, 124}, 8};
    QTest::newRow("resized, link lost, Ymax entered meanwhile") << LiveChange{"", 1, true, true, "300", {-500, 300}, 8};
}

void GraphsUiTest::liveChartChange()
{
    QFETCH(LiveChange, r);
    LiveRig rig;
    rig.enterYmax(r.ymaxBefore);
    for (int i = 0; i < r.clicks; ++i)
        QTest::mouseDClick(rig.graph->clientArea(), Qt::LeftButton);
    rig.feed(5);
    rig.graph->move(300, 300);
    QCOMPARE(rig.sweepPos(), 4);
    if (r.linkLost)
        rig.show(QStringLiteral(" NO COM "), QString(), QString());
    if (r.resize) {
        rig.graph->resize(500, 300);
        QCoreApplication::processEvents();
    }
    rig.enterYmax(r.ymaxDuring);
    rig.show(QStringLiteral("Com1"), r.resize ? QStringLiteral("500 mV") : QStringLiteral("5 V"), QStringLiteral("1.2345"));
    rig.feed();
    QCOMPARE(rig.graph->chart().limits(), r.limits);
    // The reading starts the new sweep.
    QCOMPARE((QList<int>{rig.sweepPos(), rig.graph->chart().gridColor(), rig.graph->chart().area().plotWidth}), (QList<int>{0, r.gridColor, r.resize ? 450 : 300}));
    QCOMPARE(rig.graph->chart().image().size(), rig.graph->clientSize());
    QCOMPARE(rig.graph->pos(), r.resize ? QPoint(300, 300) : rig.panel->frameGeometry().bottomLeft() + QPoint(0, 1));
    rig.graph->activateWindow(); // Escape gives the panel the focus
    QCoreApplication::processEvents();
    QTest::keyClick(rig.graph.get(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), rig.panel.get());
}

// A refused job is told; a printed one is the window's picture at its size
// on the screen. Either way the panel has the focus again.
void GraphsUiTest::livePrinting()
{
    LiveRig rig;
    rig.feed(20);
    for (const QString &reason : {QStringLiteral("Printer is out of paper"), QString()}) {
        if (!reason.isEmpty())
            rig.test.refuseNextPrintJob(reason);
        rig.graph->activateWindow();
        QCoreApplication::processEvents();
        rig.graph->Pgraphics->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), rig.panel.get());
        QCOMPARE(rig.test.lastPrintJob()->ended(), reason.isEmpty());
    }
    QCOMPARE(rig.test.dialogs.messageTexts(), QStringList{"Printer is out of paper"});
    const testsupport::RecordingPrinter &job = *rig.test.lastPrintJob();
    QCOMPARE(job.pageCount(), 1);
    const QImage &picture = rig.graph->chart().image();
    const double scale = job.resolution() / double(rig.graph->clientArea()->logicalDpiX());
    for (const QPoint p : {QPoint(190, 100), QPoint(345, 100), QPoint(38, 100), QPoint(45, 90)})
        QCOMPARE(job.pages().front().pixelColor(int((p.x() + 0.5) * scale), int((p.y() + 0.5) * scale)), picture.pixelColor(p));
}

void GraphsUiTest::stored_data()
{
    QTest::addColumn<bool>("isRec");
    QTest::addColumn<bool>("polling");
    QTest::newRow("MEMORY_GRAPH") << false << true;
    QTest::newRow("REC_GRAPH, polling on") << true << true;
    QTest::newRow("REC_GRAPH, polling off") << true << false;
}

// Opening, printing, redrawing, resizing, closing, FROM 0 and the range match
// of either window; REC_GRAPH reads its list with the polling held off.
void GraphsUiTest::stored()
{
    QFETCH(bool, isRec);
    QFETCH(bool, polling);
    StoredRig rig;
    rig.timer6.setEnabled(polling);
    graphs::StoredGraphWindow &graph = rig.window(isRec);
    const QString title = isRec ? QStringLiteral("REC_GRAPH") : QStringLiteral("MEMORY_GRAPH");
    QStringList seen;
    connect(rig.rec.get(), &graphs::REC_GRAPH::readingList, this, [&] { seen << QStringLiteral("reading, polling %1").arg(rig.timer6.isEnabled()); });
    connect(&graph, &graphs::StoredGraphWindow::redrawn, this, [&] {
        seen << QStringLiteral("redrawn, polling %1, plotted %2").arg(rig.timer6.isEnabled()).arg(graph.scene().plotted);
    });
    graph.open();
    QCOMPARE(seen, (isRec ? QStringList{"reading, polling 0", "redrawn, polling 0, plotted 1"} : QStringList{"redrawn, polling 1, plotted 1"}));
    QVERIFY(graph.isOpen() && rig.timer6.isEnabled() == polling);
    QCOMPARE(graph.windowTitle(), title);
    QCOMPARE((QList<double>{double(graph.scene().selection.last), graph.scene().selection.maximum}), (QList<double>{10, 500}));
    QCOMPARE(graph.scene().selection.timeMid, QStringLiteral("mid"));
    QCOMPARE(graph.picture(), graphs::renderStoredGraph(graph.scene()));
    QCOMPARE(graph.scene().design.rangeMatch, isRec ? graphs::RangeMatch::Containment : graphs::RangeMatch::Exact);
    graph.MnuPrint->trigger();
    const testsupport::RecordingPrinter *job = rig.test.lastPrintJob();
    QVERIFY(job && job->ended() && job->documentName() == title);
    for (const char *text : {"500", "250", "0", "-250", "-500", "mV", "first", "mid", "last", "TIME"})
        QVERIFY2(job->allTexts().contains(QLatin1String(text)), text);
    rig.test.refuseNextPrintJob(); // cancelled: nothing said
    graph.print();
    rig.test.refuseNextPrintJob(QStringLiteral("No printer is installed."));
    graph.print();
    QCOMPARE(rig.test.dialogs.messageTexts(), QStringList{"The graph could not be printed: No printer is installed."});
    const QImage before = graph.picture();
    rig.select(2, 5, 4, 100, 400);
    graph.resize(graph.size() + QSize(40, 30));
    QCOMPARE(seen.filter(QStringLiteral("redrawn")).size(), 2);
    QCOMPARE(graph.scene().selection.minimum, 100.0);
    QVERIFY(graph.picture() != before && graph.picture().size() == before.size());
    if (isRec)
        QCOMPARE(rig.rec->LblValTopText(), QStringLiteral("400"));
    QSignalSpy closed(&graph, &graphs::StoredGraphWindow::closed);
    graph.close();
    QVERIFY(closed.count() == 1 && !graph.isOpen());
    // FROM 0: the range window counts one less; MEMORY_GRAPH recounts the
    // span, REC_GRAPH takes the count as set.
    rig.select(0, 4, 4, 0, 500);
    graph.open();
    QCOMPARE((QList<double>{double(graph.scene().selection.first), graph.scene().selection.count, isRec ? rig.shared.recCount : rig.shared.memCount}),
             (QList<double>{0, isRec ? 4.0 : 5.0, isRec ? 4.0 : 5.0}));
    graph.close();
    rig.shared.memCount = rig.shared.recCount = 1; // reopened with nothing to plot: as designed, nothing read
    seen.clear();
    graph.open();
    QVERIFY(!graph.scene().plotted && seen.isEmpty() && rig.timer6.isEnabled() == polling);
    graphs::StoredGraphScene designed;
    designed.design = graph.scene().design;
    QCOMPARE(graph.picture(), graphs::renderStoredGraph(designed));
}

void GraphsUiTest::savedImageShowsTheWindow_data()
{
    QTest::addColumn<QString>("graph");
    QTest::addColumn<QString>("suffix");
    for (const char *graph : {"memory", "rec", "live"})
        for (const char *suffix : {"png", "svg", "pdf"})
            QTest::addRow("%s %s", graph, suffix) << graph << suffix;
    QTest::newRow("unwritable") << "memory" << "/";
}

// The file, painted again, shows what the window shows (its dark pixels: the
// trace, and for the live chart everything), at twice the size for PNG.
void GraphsUiTest::savedImageShowsTheWindow()
{
    QFETCH(QString, graph);
    QFETCH(QString, suffix);
    const bool isLive = graph == QLatin1String("live");
    std::optional<StoredRig> stored;
    std::optional<LiveRig> live;
    testsupport::TestPlatform &test = isLive ? live.emplace().test : stored.emplace().test;
    for (int i = 0; isLive && i < 30; ++i) {
        live->panel->LBLVALUE->setText(QString::number(i * 13 % 400));
        live->feed();
    }
    if (!isLive)
        stored->window(graph == QLatin1String("rec")).open();
    const QImage picture = isLive ? live->graph->chart().image() : stored->window(graph == QLatin1String("rec")).picture();
    QTemporaryDir dir;
    const QString path = suffix == QLatin1String("/") ? QStringLiteral("/nonexistent-folder/graph.svg") : dir.filePath("graph." + suffix);
    test.dialogs.queueSaveFile(path);
    (isLive ? live->graph->SaveImage : stored->window(graph == QLatin1String("rec")).MnuSaveImage)->trigger();
    QFile file(path);
    if (suffix == QLatin1String("/")) {
        const QStringList told = test.dialogs.messageTexts();
        QVERIFY2(told.size() == 1 && told.first().startsWith("cannot write to " + path + ": ") && !file.exists(), qPrintable(told.join(u'|')));
        return;
    }
    QVERIFY(test.dialogs.messages().isEmpty() && file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QSize size = picture.size();
    if (suffix == QLatin1String("pdf")) { // points at 96 pixels an inch; the page is whole points
        const auto box = QRegularExpression("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]").match(QString::fromLatin1(bytes));
        QVERIFY(bytes.startsWith("%PDF-") && box.hasMatch() && qAbs(box.captured(1).toDouble() * 4 / 3 - size.width()) < 1.4 && qAbs(box.captured(2).toDouble() * 4 / 3 - size.height()) < 1.4);
        return;
    }
    const double scale = suffix == QLatin1String("png") ? 2 : 1;
    QImage copy(size * scale, QImage::Format_RGB32);
    if (scale == 2) {
        QVERIFY(copy.loadFromData(bytes, "PNG") && copy.size() == size * 2);
    } else {
        QSvgRenderer svg(bytes);
        QCOMPARE(svg.viewBox().size(), size);
        copy.fill(Qt::white);
        QPainter painter(&copy);
        svg.render(&painter);
    }
    // The stored graphs' plot area, without the labels around it (their glyphs differ at another size).
    const QRect region = isLive ? picture.rect() : QRect(70, 70, 260, 400);
    const int slack = isLive ? 0 : 2;
    QVERIFY2(unmatchedDark(picture, QImage(), 1, region, 0) > 20, "the window shows a trace");
    QCOMPARE(unmatchedDark(picture, copy, scale, region, slack), 0);
    QCOMPARE(unmatchedDark(copy, picture, 1 / scale, QRect(region.topLeft() * scale, region.size() * scale), slack), 0);
}

QTEST_MAIN(GraphsUiTest)
#include "tst_graphs_ui.moc"
