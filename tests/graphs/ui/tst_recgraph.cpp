// REC_GRAPH: the twin of MEMORY_GRAPH drawn with its own design, reading
// the rec* values and scaleMax, holding the polling off while it draws.

#include "graphs/storedgraphtrace.h"
#include "graphs/ui/memorygraph.h"
#include "graphs/ui/recgraph.h"
#include "platform/timer.h"
#include "recording/recordlistmodel.h"
#include "support/testplatform.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

namespace {

struct Rig
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform;
    platform::Timer timer6{platform::Timer::Mode::Manual};
    recording::RecordListModel list;
    std::unique_ptr<graphs::REC_GRAPH> graph;

    explicit Rig(const QString &range = QStringLiteral("500 mV"), const QString &unit = QStringLiteral("mV"))
    {
        platform = test.platform();
        platform.timerMode = platform::Timer::Mode::Manual;
        timer6.setEnabled(true);
        for (int row = 1; row <= 10; ++row)
            list.appendRow({QString::number(row), "00-02-29", QStringLiteral("12:00:%1").arg(row + 10),
                            QStringLiteral(" %1").arg(row * 50), unit, range, "DC", ""});
        select(1, 10, 10, 0, 500);
        graph = std::make_unique<graphs::REC_GRAPH>(platform, shared, timer6);
        graph->setList(&list);
    }

    void select(double first, double last, double count, double minimum, double maximum)
    {
        shared.recFirst = first;
        shared.recLast = last;
        shared.recCount = count;
        shared.recMin = minimum;
        shared.scaleMax = maximum;
        shared.recTimeFirst = QStringLiteral("first");
        shared.recTimeMid = QStringLiteral("mid");
        shared.recTimeLast = QStringLiteral("last");
    }
};

} // namespace

class RecGraphTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstShowingRedrawsFromTheRecValues();
    void countIsTakenAsSet();
    void countOfOneDrawsNothing();
    void pollingHeldOffWhileDrawing_data();
    void pollingHeldOffWhileDrawing();
    void rangeFoundByContainment_data();
    void rangeFoundByContainment();
    void unitShownAsItIs();
    void resizingRedraws();
    void limitAsksForTheRangeWindow();
    void printsThePicture();
};

void RecGraphTest::firstShowingRedrawsFromTheRecValues()
{
    Rig rig;
    rig.graph->move(40, 40);
    QCOMPARE(rig.graph->LblValTopText(), QString());
    rig.graph->open();
    QVERIFY(rig.graph->isOpen());
    QCOMPARE(rig.graph->windowTitle(), QStringLiteral("REC_GRAPH"));
    QCOMPARE(rig.graph->pos(), QPoint(0, 0));
    const graphs::StoredGraphScene &scene = rig.graph->scene();
    QVERIFY(scene.plotted);
    QCOMPARE(scene.design.caption, QStringLiteral("REC_GRAPH"));
    QCOMPARE(scene.selection.first, 1);
    QCOMPARE(scene.selection.last, 10);
    QCOMPARE(scene.selection.maximum, 500.0);
    QCOMPARE(scene.selection.timeLast, QStringLiteral("last"));
    QCOMPARE(rig.graph->LblValTopText(), QStringLiteral("500"));
    QCOMPARE(rig.graph->picture(), graphs::renderStoredGraph(scene));
}

void RecGraphTest::countIsTakenAsSet()
{
    Rig rig;
    rig.select(0, 4, 4, 0, 500); // FROM 0: the range window counts one less
    rig.graph->open();
    QCOMPARE(rig.graph->scene().selection.count, 4.0);
    QCOMPARE(rig.graph->scene().selection.first, 0);
    QCOMPARE(rig.shared.recCount, 4.0);
}

void RecGraphTest::countOfOneDrawsNothing()
{
    Rig rig;
    rig.shared.recCount = 1;
    QSignalSpy reading(rig.graph.get(), &graphs::REC_GRAPH::readingList);
    rig.graph->open();
    QVERIFY(!rig.graph->scene().plotted);
    QCOMPARE(reading.count(), 0);
    QVERIFY(rig.timer6.isEnabled());
    graphs::StoredGraphScene designed;
    designed.design = rig.graph->scene().design;
    QCOMPARE(rig.graph->picture(), graphs::renderStoredGraph(designed));
}

void RecGraphTest::pollingHeldOffWhileDrawing_data()
{
    QTest::addColumn<bool>("pollingBefore");
    QTest::newRow("polling on") << true;
    QTest::newRow("polling off (an exchange runs)") << false;
}

void RecGraphTest::pollingHeldOffWhileDrawing()
{
    QFETCH(bool, pollingBefore);
    Rig rig;
    rig.timer6.setEnabled(pollingBefore);
    QStringList seen;
    connect(rig.graph.get(), &graphs::REC_GRAPH::readingList, this, [&] {
        seen << QStringLiteral("reading, polling %1").arg(rig.timer6.isEnabled());
    });
    connect(rig.graph.get(), &graphs::REC_GRAPH::redrawn, this, [&] {
        seen << QStringLiteral("redrawn, polling %1, plotted %2")
                    .arg(rig.timer6.isEnabled())
                    .arg(rig.graph->scene().plotted);
    });
    rig.graph->open();
    QCOMPARE(seen, QStringList({"reading, polling 0", "redrawn, polling 0, plotted 1"}));
    QCOMPARE(rig.timer6.isEnabled(), pollingBefore);
}

void RecGraphTest::rangeFoundByContainment_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<double>("recLevel");
    QTest::addColumn<double>("memoryLevel");

    // Value 4.321 in a 5K Ohm range is 4321 Ohm: 4000 - 3000 * 4321 / 5000.
    QTest::newRow("exact text") << "5K Ohm" << 1407.4 << 1407.4;
    QTest::newRow("blank before it") << " 5K Ohm" << 1407.4 << 4000.0;
    QTest::newRow("blanks around it") << " 5K Ohm " << 1407.4 << 4000.0;
    QTest::newRow("not in the table") << "5 kOhm" << 4000.0 << 4000.0;
}

void RecGraphTest::rangeFoundByContainment()
{
    QFETCH(QString, range);
    Rig rig(range, QStringLiteral("Ohm"));
    rig.list.clear();
    for (int row = 1; row <= 2; ++row)
        rig.list.appendRow({QString::number(row), "00-02-29", "12:00:00", " 4.321", "Ohm", range, "", ""});
    rig.select(1, 2, 2, 0, 5000);
    graphs::MEMORY_GRAPH memory(rig.platform, rig.shared);
    const auto levelIn = [&](const graphs::StoredGraphDesign &design) {
        const graphs::TraceRequest request{1, 2, 2, {0, 5000}, design.rangeMatch};
        const QPolygonF trace = graphs::storedGraphTrace(rig.list, request, 1.0);
        return trace.isEmpty() ? -1.0 : trace.first().y();
    };
    QFETCH(double, recLevel);
    QFETCH(double, memoryLevel);
    QCOMPARE(levelIn(rig.graph->scene().design), recLevel);
    QCOMPARE(levelIn(memory.scene().design), memoryLevel);
}

void RecGraphTest::unitShownAsItIs()
{
    Rig rig(QStringLiteral("5 uF"), QStringLiteral("Cx"));
    rig.graph->open();
    QCOMPARE(graphs::storedGraphLabels(rig.graph->scene()).unit, QStringLiteral("Cx"));
}

void RecGraphTest::resizingRedraws()
{
    Rig rig;
    rig.graph->open();
    const QImage before = rig.graph->picture();
    rig.select(2, 5, 4, 100, 400);
    QSignalSpy redrawn(rig.graph.get(), &graphs::REC_GRAPH::redrawn);
    rig.graph->resize(rig.graph->size() + QSize(40, 30));
    QCOMPARE(redrawn.count(), 1);
    QCOMPARE(rig.graph->scene().selection.minimum, 100.0);
    QCOMPARE(rig.graph->LblValTopText(), QStringLiteral("400"));
    QVERIFY(rig.graph->picture() != before);
    QCOMPARE(rig.graph->picture().size(), before.size());
}

void RecGraphTest::limitAsksForTheRangeWindow()
{
    Rig rig;
    rig.graph->open();
    QSignalSpy limit(rig.graph.get(), &graphs::REC_GRAPH::limitRequested);
    rig.graph->MnuLimit->trigger();
    QCOMPARE(limit.count(), 1);
}

void RecGraphTest::printsThePicture()
{
    Rig rig;
    rig.graph->open();
    rig.graph->MnuPrint->trigger();
    const testsupport::RecordingPrinter *job = rig.test.lastPrintJob();
    QVERIFY(job);
    QVERIFY(job->ended());
    QCOMPARE(job->documentName(), QStringLiteral("REC_GRAPH"));
    const QStringList texts = job->allTexts();
    for (const char *text : {"500", "250", "0", "-250", "-500", "mV", "first", "mid", "last", "TIME"})
        QVERIFY2(texts.contains(QLatin1String(text)), text);
}

QTEST_MAIN(RecGraphTest)
#include "tst_recgraph.moc"
