#include "graphs/ui/ggraph.h"
#include "graphs/ui/ggraphview.h"
#include "link/ui/panel.h"
#include "support/testplatform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

struct Rig
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform = test.platform();
    std::unique_ptr<live::PANEL> panel;
    std::unique_ptr<graphs::G_GRAPH> graph;

    Rig()
    {
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
        panel->load();
        panel->show();
        panel->LBLVALUE->setText(QStringLiteral("123.45"));
        panel->LBLRAN->setText(QStringLiteral("500 mV"));
        panel->LBLTIME->setText(QStringLiteral("10:15:58"));
        shared.graphFeedOn = 1;
        graph = std::make_unique<graphs::G_GRAPH>(*panel);
        graph->load();
        graph->show();
    }

    // What the panel does on a sampling tick.
    void feed(int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            graph->Text1->setText(QString());
            graph->Text1->setText(QStringLiteral("1"));
        }
    }

    int sweepPos() const { return graph->chart().sweep().sweepPos(); }
    QPoint underPanel() const { return panel->frameGeometry().bottomLeft() + QPoint(0, 1); }
};

QStringList textsOf(const QList<QAction *> &actions)
{
    QStringList texts;
    for (const QAction *action : actions)
        texts << action->text();
    return texts;
}

} // namespace

class GGraphTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void designAndMenus();
    void readingNeedsTextAndValue_data();
    void readingNeedsTextAndValue();
    void rangeChangeRestartsTheChart();
    void resizeKeepsTheChartsState_data();
    void resizeKeepsTheChartsState();
    void limitMenus();
    void escapeGivesThePanelTheFocus();
    void printing_data();
    void printing();
};

void GGraphTest::designAndMenus()
{
    Rig rig;
    QCOMPARE(rig.graph->clientSize(), QSize(350, 184));
    QCOMPARE(rig.graph->windowTitle(), QStringLiteral("Recording Meter  --  Graphic Display   "));
    QCOMPARE(textsOf(rig.graph->menuBar->actions()), (QStringList{"&Print", "&Scale"}));
    QCOMPARE(textsOf(rig.graph->SetScale->actions()), (QStringList{"Ymin", "Ymax"}));
}

void GGraphTest::readingNeedsTextAndValue_data()
{
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("sweepPos");
    QTest::newRow("a reading lands in column 0") << "123.45" << "123.45" << 0;
    QTest::newRow("the text is only a trigger") << "7" << "-OL" << 0;
    QTest::newRow("empty text ignored") << "" << "123.45" << -1;
    QTest::newRow("empty value ignored") << "0" << "" << -1;
}

void GGraphTest::readingNeedsTextAndValue()
{
    QFETCH(QString, text1);
    QFETCH(QString, value);
    Rig rig;
    rig.panel->LBLVALUE->setText(value);
    rig.graph->Text1->setText(QStringLiteral("x"));
    rig.graph->fullRedraw(); // back to no reading
    rig.graph->Text1->setText(text1);
    QTEST(rig.sweepPos(), "sweepPos");
}

void GGraphTest::rangeChangeRestartsTheChart()
{
    Rig rig;
    rig.test.dialogs.queueInput(QStringLiteral("200"));
    rig.graph->Ymax->trigger();
    for (int i = 0; i < 2; ++i)
        QTest::mouseDClick(rig.graph->clientArea(), Qt::LeftButton);
    rig.feed(5);
    rig.graph->move(300, 300);
    QCOMPARE(rig.sweepPos(), 4);
    QCOMPARE(rig.graph->chart().gridColor(), 9);

    rig.panel->LBLRAN->setText(QStringLiteral("5 V"));
    rig.panel->LBLVALUE->setText(QStringLiteral("1.2345"));
    rig.feed();
    QCOMPARE(rig.sweepPos(), 0); // the reading starts the new sweep
    QCOMPARE(rig.graph->chart().limits(), (graphs::AxisLimits{-5, 5}));
    QCOMPARE(rig.graph->chart().gridColor(), 7);
    QCOMPARE(rig.graph->pos(), rig.underPanel());
}

void GGraphTest::resizeKeepsTheChartsState_data()
{
    QTest::addColumn<bool>("linkLost");     // while resized
    QTest::addColumn<QString>("ymaxBefore"); // entered before the resize
    QTest::addColumn<QString>("ymaxDuring"); // entered after it, still lost
    QTest::addColumn<double>("yMax");
    QTest::newRow("connected") << false << "" << "" << 500.0;
    QTest::newRow("connected, own Ymax") << false << "123.6" << "" << 124.0;
    QTest::newRow("link lost") << true << "" << "" << 500.0;
    QTest::newRow("link lost, own Ymax") << true << "123.6" << "" << 124.0;
    QTest::newRow("link lost, Ymax entered meanwhile") << true << "" << "300" << 300.0;
}

// After the meter is back, the chart is as if it had been resized with
// the meter connected: its limits, grid colour and place stay.
void GGraphTest::resizeKeepsTheChartsState()
{
    QFETCH(bool, linkLost);
    QFETCH(QString, ymaxBefore);
    QFETCH(QString, ymaxDuring);
    QFETCH(double, yMax);
    Rig rig;
    const auto enterYmax = [&](const QString &answer) {
        if (answer.isEmpty())
            return;
        rig.test.dialogs.queueInput(answer);
        rig.graph->Ymax->trigger();
    };
    enterYmax(ymaxBefore);
    QTest::mouseDClick(rig.graph->clientArea(), Qt::LeftButton);
    rig.feed(2);
    rig.graph->move(300, 300);
    if (linkLost) { // what the panel shows then
        rig.panel->LBLCOMM->setText(QStringLiteral(" NO COM "));
        rig.panel->LBLRAN->clear();
        rig.panel->LBLVALUE->clear();
    }
    rig.graph->resize(500, 300);
    QCoreApplication::processEvents();
    enterYmax(ymaxDuring);
    rig.panel->LBLCOMM->setText(QStringLiteral("Com1"));
    rig.panel->LBLRAN->setText(QStringLiteral("500 mV"));
    rig.panel->LBLVALUE->setText(QStringLiteral("123.45"));
    rig.feed();

    QCOMPARE(rig.graph->chart().image().size(), rig.graph->clientSize());
    QCOMPARE(rig.graph->chart().area().plotWidth, 450);
    QCOMPARE(rig.graph->chart().limits(), (graphs::AxisLimits{-500, yMax}));
    QCOMPARE(rig.graph->chart().gridColor(), 8);
    QCOMPARE(rig.graph->pos(), QPoint(300, 300));
    QCOMPARE(rig.sweepPos(), 0);
}

void GGraphTest::limitMenus()
{
    Rig rig;
    rig.feed();
    rig.test.dialogs.queueInput(QStringLiteral("123.6"));
    rig.graph->Ymax->trigger();
    QCOMPARE(rig.test.dialogs.prompts().back().title, QStringLiteral("Max Y"));
    QCOMPARE(rig.graph->chart().limits(), (graphs::AxisLimits{-500, 124}));
    QCOMPARE(rig.sweepPos(), -1); // redrawn
    rig.feed();
    rig.test.dialogs.queueInput(QStringLiteral("124")); // equal to yMax: refused
    rig.graph->Ymin->trigger();
    QCOMPARE(rig.test.dialogs.prompts().back().title, QStringLiteral("MIN Y"));
    QCOMPARE(rig.graph->chart().limits(), (graphs::AxisLimits{-500, 124}));
    QCOMPARE(rig.sweepPos(), 0); // not redrawn
}

void GGraphTest::escapeGivesThePanelTheFocus()
{
    Rig rig;
    rig.graph->activateWindow();
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), rig.graph.get());
    QTest::keyClick(rig.graph.get(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), rig.panel.get());
}

void GGraphTest::printing_data()
{
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("printed") << false << "" << QStringList{};
    QTest::newRow("cancelled") << true << "" << QStringList{};
    QTest::newRow("printer failure reported") << true << "Printer is out of paper" << QStringList{"Printer is out of paper"};
}

void GGraphTest::printing()
{
    QFETCH(bool, refuse);
    QFETCH(QString, reason);
    Rig rig;
    rig.feed(20);
    if (refuse)
        rig.test.refuseNextPrintJob(reason);
    rig.graph->activateWindow();
    QCoreApplication::processEvents();
    rig.graph->Pgraphics->trigger();
    QCoreApplication::processEvents();

    QTEST(rig.test.dialogs.messageTexts(), "messages");
    QCOMPARE(QApplication::activeWindow(), rig.panel.get());
    QCOMPARE(rig.test.printJobs().size(), std::size_t(1));
    const testsupport::RecordingPrinter &job = *rig.test.lastPrintJob();
    QCOMPARE(job.ended(), !refuse);
    if (refuse)
        return;
    // The page shows the window's picture at its size on the screen.
    QCOMPARE(job.pageCount(), 1);
    const QImage page = job.pages().front();
    const QImage &picture = rig.graph->chart().image();
    const double scale = job.resolution() / double(rig.graph->clientArea()->logicalDpiX());
    for (const QPoint p : {QPoint(190, 100), QPoint(345, 100), QPoint(38, 100), QPoint(45, 90)}) {
        const QPoint onPage(int((p.x() + 0.5) * scale), int((p.y() + 0.5) * scale));
        QCOMPARE(page.pixelColor(onPage), picture.pixelColor(p));
    }
}

QTEST_MAIN(GGraphTest)
#include "tst_ggraph.moc"
