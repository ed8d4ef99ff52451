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

const QString designCaption = QStringLiteral("Recording Meter  --  Graphic Display");

struct Rig
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform;
    std::unique_ptr<live::PANEL> panel;
    std::unique_ptr<graphs::G_GRAPH> graph;

    Rig()
    {
        platform = test.platform();
        platform.timerMode = platform::Timer::Mode::Manual;
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
        panel->load();
        panel->show();
        setReading(QStringLiteral("123.45"));
        panel->LBLRAN->setText(QStringLiteral("500 mV"));
        panel->LBLTIME->setText(QStringLiteral("10:15:58"));
        shared.graphFeedOn = 1;
        graph = std::make_unique<graphs::G_GRAPH>(*panel);
        graph->load();
        graph->show();
    }

    void setReading(const QString &value) { panel->LBLVALUE->setText(value); }

    // What the panel does on a sampling tick.
    void feed()
    {
        graph->Text1->setText(QString());
        graph->Text1->setText(QStringLiteral("1"));
    }

    int sweepPos() const { return graph->chart().sweep().sweepPos(); }
};

void settle()
{
    QCoreApplication::processEvents();
}

} // namespace

class GGraphTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void designAndMenus();
    void opensUnderThePanel();
    void readingNeedsTextAndValue_data();
    void readingNeedsTextAndValue();
    void rangeChangeRestartsTheChart();
    void resizeKeepsEnteredLimits();
    void limitMenus_data();
    void limitMenus();
    void doubleClickCyclesTheGridColour();
    void escapeGivesThePanelTheFocus();
    void printing_data();
    void printing();
    void closingStopsTheFeed();
};

void GGraphTest::designAndMenus()
{
    Rig rig;
    QCOMPARE(rig.graph->clientSize(), QSize(350, 184));
    QCOMPARE(rig.graph->windowTitle(), designCaption + QStringLiteral("   "));
    QCOMPARE(rig.graph->chart().image().size(), QSize(350, 184));
    QVERIFY(rig.graph->Text1->isHidden());

    QStringList bar;
    for (QAction *action : rig.graph->menuBar->actions())
        bar << action->text();
    QCOMPARE(bar, (QStringList{"&Print", "&Scale"}));
    QStringList scale;
    for (QAction *action : rig.graph->SetScale->actions())
        scale << action->text();
    QCOMPARE(scale, (QStringList{"Ymin", "Ymax"}));
}

void GGraphTest::opensUnderThePanel()
{
    Rig rig;
    rig.panel->move(20, 10);
    rig.graph->move(300, 300);
    rig.graph->load();
    const QRect panelFrame = rig.panel->frameGeometry();
    QCOMPARE(rig.graph->frameGeometry().topLeft(),
             QPoint(panelFrame.left(), panelFrame.top() + panelFrame.height()));
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
    rig.setReading(value);
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
    for (int i = 0; i < 5; ++i)
        rig.feed();
    rig.graph->move(300, 300);
    QCOMPARE(rig.sweepPos(), 4);
    QCOMPARE(rig.graph->chart().gridColor(), 9);

    rig.panel->LBLRAN->setText(QStringLiteral("5 V"));
    rig.setReading(QStringLiteral("1.2345"));
    rig.feed();
    QCOMPARE(rig.sweepPos(), 0); // the reading starts the new sweep
    QCOMPARE(rig.graph->chart().limits(), (graphs::AxisLimits{-5, 5}));
    QVERIFY(!rig.graph->chart().keepLimits());
    QCOMPARE(rig.graph->chart().gridColor(), 7);
    QCOMPARE(rig.graph->chart().lastRange(), QStringLiteral("5 V"));
    const QRect panelFrame = rig.panel->frameGeometry();
    QCOMPARE(rig.graph->pos(), QPoint(panelFrame.left(), panelFrame.top() + panelFrame.height()));
}

void GGraphTest::resizeKeepsEnteredLimits()
{
    Rig rig;
    rig.test.dialogs.queueInput(QStringLiteral("123.6"));
    rig.graph->Ymax->trigger();
    rig.feed();
    rig.feed();
    QCOMPARE(rig.sweepPos(), 1);
    rig.graph->resize(500, 300);
    settle();
    QCOMPARE(rig.graph->chart().image().size(), rig.graph->clientSize());
    QCOMPARE(rig.graph->chart().area().plotWidth, 450);
    QCOMPARE(rig.graph->chart().limits(), (graphs::AxisLimits{-500, 124}));
    QCOMPARE(rig.sweepPos(), -1);
}

void GGraphTest::limitMenus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<graphs::AxisLimits>("limits");
    QTest::addColumn<bool>("redrawn");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("proposed");

    const QString maxPrompt = QStringLiteral("Enter maximum value for Y (vertical) axis");
    const QString minPrompt = QStringLiteral("Enter minimum value for Y (vertical) axis");
    QTest::newRow("Ymax beyond full scale") << "Ymax" << "2000" << graphs::AxisLimits{-500, 500}
                                            << true << maxPrompt << "Max Y" << " 500";
    QTest::newRow("Ymax rounded") << "Ymax" << "123.6" << graphs::AxisLimits{-500, 124} << true
                                  << maxPrompt << "Max Y" << " 500";
    QTest::newRow("Ymax below yMin") << "Ymax" << "-501" << graphs::AxisLimits{-500, 500} << false
                                     << maxPrompt << "Max Y" << " 500";
    QTest::newRow("Ymax cancelled") << "Ymax" << "" << graphs::AxisLimits{-500, 500} << false
                                    << maxPrompt << "Max Y" << " 500";
    QTest::newRow("Ymin beyond full scale") << "Ymin" << "-2000" << graphs::AxisLimits{-500, 500}
                                            << true << minPrompt << "MIN Y" << "-500";
    QTest::newRow("Ymin raised") << "Ymin" << "100" << graphs::AxisLimits{100, 500} << true
                                 << minPrompt << "MIN Y" << "-500";
    QTest::newRow("Ymin equal to yMax refused") << "Ymin" << "500" << graphs::AxisLimits{-500, 500}
                                                << false << minPrompt << "MIN Y" << "-500";
}

void GGraphTest::limitMenus()
{
    QFETCH(QString, menu);
    QFETCH(QString, answer);
    QFETCH(bool, redrawn);
    Rig rig;
    rig.feed();
    rig.test.dialogs.queueInput(answer);
    (menu == QLatin1String("Ymax") ? rig.graph->Ymax : rig.graph->Ymin)->trigger();

    QCOMPARE(rig.test.dialogs.prompts().size(), 1);
    const auto &asked = rig.test.dialogs.prompts().front();
    QTEST(asked.prompt, "prompt");
    QTEST(asked.title, "title");
    QTEST(asked.defaultAnswer, "proposed");
    QTEST(rig.graph->chart().limits(), "limits");
    QCOMPARE(rig.graph->chart().keepLimits(), redrawn);
    QCOMPARE(rig.sweepPos(), redrawn ? -1 : 0);
}

void GGraphTest::doubleClickCyclesTheGridColour()
{
    Rig rig;
    rig.feed();
    for (int i = 0; i < 9; ++i)
        QTest::mouseDClick(rig.graph->clientArea(), Qt::LeftButton);
    QCOMPARE(rig.graph->chart().gridColor(), 0);
    QCOMPARE(rig.sweepPos(), 0); // nothing redrawn
}

void GGraphTest::escapeGivesThePanelTheFocus()
{
    Rig rig;
    rig.graph->activateWindow();
    settle();
    QCOMPARE(QApplication::activeWindow(), rig.graph.get());
    QTest::keyClick(rig.graph.get(), Qt::Key_Escape);
    settle();
    QCOMPARE(QApplication::activeWindow(), rig.panel.get());
}

void GGraphTest::printing_data()
{
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("printed") << false << "" << QStringList{};
    QTest::newRow("cancelled") << true << "" << QStringList{};
    QTest::newRow("printer failure reported")
        << true << "Printer is out of paper" << QStringList{"Printer is out of paper"};
}

void GGraphTest::printing()
{
    QFETCH(bool, refuse);
    QFETCH(QString, reason);
    Rig rig;
    for (int i = 0; i < 20; ++i)
        rig.feed();
    if (refuse)
        rig.test.refuseNextPrintJob(reason);
    rig.graph->activateWindow();
    settle();
    rig.graph->Pgraphics->trigger();
    settle();

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
    for (const QPoint p : {QPoint(190, 100), QPoint(345, 100), QPoint(38, 100), QPoint(200, 163),
                           QPoint(45, 90), QPoint(50, 90)}) {
        const QPoint onPage(int((p.x() + 0.5) * scale), int((p.y() + 0.5) * scale));
        QCOMPARE(page.pixelColor(onPage), picture.pixelColor(p));
    }
}

void GGraphTest::closingStopsTheFeed()
{
    Rig rig;
    QCOMPARE(rig.shared.graphFeedOn, qint16(1));
    rig.graph->close();
    QCOMPARE(rig.shared.graphFeedOn, qint16(0));
}

QTEST_MAIN(GGraphTest)
#include "tst_ggraph.moc"
