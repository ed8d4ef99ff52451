#include "graphs/ui/memorygraph.h"
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
    platform::Platform platform = test.platform();
    recording::RecordListModel list;
    std::unique_ptr<graphs::MEMORY_GRAPH> graph;

    Rig()
    {
        for (int row = 1; row <= 10; ++row)
            list.appendRow({QString::number(row), "24-01-15", QStringLiteral("12:00:%1").arg(row + 10),
                            QStringLiteral(" %1").arg(row * 50), "mV", "500 mV", "DC", ""});
        select(1, 10, 0, 500);
        graph = std::make_unique<graphs::MEMORY_GRAPH>(platform, shared);
        graph->setList(&list);
    }

    void select(double first, double last, double minimum, double maximum)
    {
        shared.memFirst = first;
        shared.memLast = last;
        shared.memCount = last - first + 1;
        shared.memMin = minimum;
        shared.memMax = maximum;
        shared.memTimeFirst = QStringLiteral("first");
        shared.memTimeMid = QStringLiteral("mid");
        shared.memTimeLast = QStringLiteral("last");
    }
};

} // namespace

class MemoryGraphTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showingRedraws();
    void countOfOneDrawsNothing();
    void redrawRecountsTheSpan();
    void resizingRedrawsAtTheSameSize();
    void closedWindowComesBackAsDesigned();
    void printsOrTellsWhyNot();
};

void MemoryGraphTest::showingRedraws()
{
    Rig rig;
    QSignalSpy redrawn(rig.graph.get(), &graphs::MEMORY_GRAPH::redrawn);
    rig.graph->move(50, 60);
    rig.graph->open();
    QVERIFY(rig.graph->isOpen());
    QCOMPARE(rig.graph->windowTitle(), QStringLiteral("MEMORY_GRAPH"));
    QCOMPARE(rig.graph->pos(), QPoint(0, 0));
    QCOMPARE(redrawn.count(), 1);
    QVERIFY(rig.graph->scene().plotted);
    QCOMPARE(rig.graph->scene().selection.timeMid, QStringLiteral("mid"));
    QCOMPARE(rig.graph->picture(), graphs::renderStoredGraph(rig.graph->scene()));
    rig.select(3, 8, 0, 500); // shown again while open: redrawn with the new span
    rig.graph->open();
    QCOMPARE(rig.graph->scene().selection.first, 3);
}

void MemoryGraphTest::countOfOneDrawsNothing()
{
    Rig rig;
    rig.shared.memCount = 1;
    rig.graph->open();
    QVERIFY(!rig.graph->scene().plotted);
    graphs::StoredGraphScene designed;
    designed.design = rig.graph->scene().design;
    QCOMPARE(rig.graph->picture(), graphs::renderStoredGraph(designed));
}

void MemoryGraphTest::redrawRecountsTheSpan()
{
    Rig rig;
    rig.select(0, 4, 0, 500);
    rig.shared.memCount = 4; // as the range window sets it for FROM 0
    rig.graph->open();
    QCOMPARE(rig.shared.memCount, 5.0);
    QCOMPARE(rig.graph->scene().selection.count, 5.0);
}

void MemoryGraphTest::resizingRedrawsAtTheSameSize()
{
    Rig rig;
    rig.graph->open();
    const QImage before = rig.graph->picture();
    rig.select(2, 5, 100, 400);
    rig.graph->resize(rig.graph->size() + QSize(40, 30));
    QCOMPARE(rig.graph->scene().selection.minimum, 100.0);
    QVERIFY(rig.graph->picture() != before);
    QCOMPARE(rig.graph->picture().size(), before.size());
}

void MemoryGraphTest::closedWindowComesBackAsDesigned()
{
    Rig rig;
    QSignalSpy closed(rig.graph.get(), &graphs::MEMORY_GRAPH::closed);
    rig.graph->open();
    rig.graph->close();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!rig.graph->isOpen());
    rig.shared.memCount = 1; // reopened with nothing to plot
    rig.graph->move(30, 30);
    rig.graph->open();
    QVERIFY(!rig.graph->scene().plotted);
    QCOMPARE(rig.graph->pos(), QPoint(0, 0));
}

void MemoryGraphTest::printsOrTellsWhyNot()
{
    Rig rig;
    rig.graph->open();
    rig.graph->MnuPrint->trigger();
    const testsupport::RecordingPrinter *job = rig.test.lastPrintJob();
    QVERIFY(job && job->ended());
    QCOMPARE(job->documentName(), QStringLiteral("MEMORY_GRAPH"));
    QVERIFY(job->allTexts().contains(QStringLiteral("mid")));
    rig.test.refuseNextPrintJob(); // cancelled: nothing said
    rig.graph->print();
    QVERIFY(rig.test.dialogs.messages().isEmpty());
    rig.test.refuseNextPrintJob(QStringLiteral("No printer is installed."));
    rig.graph->print();
    QCOMPARE(rig.test.dialogs.messageTexts().size(), 1);
    QVERIFY(rig.test.dialogs.messageTexts().first().contains(QLatin1String("No printer is installed.")));
}

QTEST_MAIN(MemoryGraphTest)
#include "tst_memorygraph.moc"
