#include "graphs/ui/ggraph.h"
#include "support/frames.h"
#include "viewsrig.h"
#include "views/ui/analog.h"
#include "views/ui/list.h"
#include "views/ui/liveviews.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

struct Rig : PanelRig
{
    std::unique_ptr<views::LiveViews> views = std::make_unique<views::LiveViews>(*panel);

    Rig() { panel->LBLTIME->setText(QStringLiteral("10:15:58")); }

    // 123.45 on "500 mV" unless told otherwise.
    void meterSends(unsigned char v1 = 0x12, unsigned char v2 = 0x34, unsigned char v3 = 0x50)
    {
        test.port.feed(testsupport::liveFrame(0x80, v1, v2, v3, 0x08));
        panel->Timer6->fire();
    }

    void samplingTick() { panel->Timer3->fire(); }

    void openAll()
    {
        panel->CMDGRAPH->click();
        panel->CMDLIST->click();
        panel->CMDANALOG->click();
    }

    QList<qint16> feeds() const { return {shared.graphFeedOn, shared.listFeedOn, shared.analogOn}; }
    QPoint underPanel() const { return panel->frameGeometry().bottomLeft() + QPoint(0, 1); }
};

} // namespace

class LiveViewsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void graphButtonOpensAndFeedsTheGraph();
    void listButtonOpensAndFeedsTheList_data();
    void listButtonOpensAndFeedsTheList();
    void stopRecordingEndsTheListFeed();
    void analogButtonOpensAndFeedsTheDial_data();
    void analogButtonOpensAndFeedsTheDial();
    void closedViewsStopTheirFeedAndReopenFresh();
    void closingThePanelClosesTheViews();
    void attachReturnsTheOwner();
};

void LiveViewsTest::graphButtonOpensAndFeedsTheGraph()
{
    Rig rig;
    QVERIFY(!rig.panel->Timer3->isEnabled());
    rig.panel->CMDGRAPH->click();
    QCOMPARE(rig.shared.graphFeedOn, qint16(1));
    QVERIFY(rig.panel->Timer3->isEnabled());
    graphs::G_GRAPH *graph = rig.views->graph();
    QVERIFY(graph && graph->isVisible());
    QCOMPARE(graph->frameGeometry().topLeft(), rig.underPanel());

    rig.meterSends();
    rig.samplingTick();
    QCOMPARE(graph->Text1->text(), QStringLiteral("123.45"));
    rig.samplingTick(); // the same value again still makes a reading
    QCOMPARE(graph->chart().sweep().sweepPos(), 1);
    QCOMPARE(rig.panel->Timer3->interval(), 2000);
    rig.panel->CMDGRAPH->click(); // again: the same window
    QCOMPARE(rig.views->graph(), graph);
}

void LiveViewsTest::listButtonOpensAndFeedsTheList_data()
{
    QTest::addColumn<bool>("graphOpen");
    QTest::newRow("below the panel") << false;
    QTest::newRow("beside the panel when the graph is open") << true;
}

void LiveViewsTest::listButtonOpensAndFeedsTheList()
{
    QFETCH(bool, graphOpen);
    Rig rig;
    if (graphOpen)
        rig.panel->CMDGRAPH->click();
    rig.panel->CMDLIST->click();
    QCOMPARE(rig.shared.listFeedOn, qint16(1));
    QVERIFY(rig.panel->Timer3->isEnabled());
    views::LIST *list = rig.views->list();
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->frameGeometry().topLeft(),
             graphOpen ? QPoint(rig.panel->frameGeometry().width(), 0) : rig.underPanel());

    rig.meterSends();
    rig.samplingTick();
    QCOMPARE(list->rows().rowNext(), 1);
    QVERIFY(list->Lbl[1]->text().endsWith(QStringLiteral("   10:15:58    mV    500 mV:     123.45")));
    if (graphOpen)
        QCOMPARE(rig.views->graph()->chart().sweep().sweepPos(), 0);
}

void LiveViewsTest::stopRecordingEndsTheListFeed()
{
    Rig rig;
    rig.panel->CMDLIST->click();
    rig.meterSends();
    rig.samplingTick();
    views::LIST *list = rig.views->list();
    rig.panel->CMDSTOP->setEnabled(true); // as a running recording has it
    rig.panel->CMDSTOP->click();
    QCOMPARE(rig.shared.listFeedOn, qint16(0));
    rig.samplingTick();
    QCOMPARE(list->rows().rowNext(), 1);
    QVERIFY(list->isVisible());

    rig.panel->CMDLIST->click(); // the feed resumes into the same list
    QCOMPARE(rig.views->list(), list);
    rig.samplingTick();
    QCOMPARE(list->rows().rowNext(), 2);
}

void LiveViewsTest::analogButtonOpensAndFeedsTheDial_data()
{
    QTest::addColumn<bool>("listOpen");
    QTest::newRow("beside the panel") << false;
    QTest::newRow("below the live list") << true;
}

void LiveViewsTest::analogButtonOpensAndFeedsTheDial()
{
    QFETCH(bool, listOpen);
    Rig rig;
    rig.meterSends();
    if (listOpen)
        rig.panel->CMDLIST->click();
    rig.panel->CMDANALOG->click();
    QCOMPARE(rig.shared.analogOn, qint16(-1));
    views::ANALOG *analog = rig.views->analog();
    QVERIFY(analog && analog->isVisible());
    QCOMPARE(analog->Text1->text(), QStringLiteral("123.45"));
    QCOMPARE(analog->Label2->text(), QStringLiteral("500 mV"));
    const QRect panel = rig.panel->frameGeometry();
    const QPoint expected = listOpen ? QPoint(panel.left(), rig.views->list()->frameGeometry().bottom() + 1)
                                     : QPoint(panel.width(), 0);
    QCOMPARE(analog->frameGeometry().topLeft(), expected);

    rig.meterSends(0x25, 0x00, 0x00); // 250.00
    QCOMPARE(analog->Text1->text(), QStringLiteral("250.00"));
    QVERIFY(needleAt(analog->picture(), 63));
}

void LiveViewsTest::closedViewsStopTheirFeedAndReopenFresh()
{
    Rig rig;
    rig.openAll();
    rig.meterSends();
    rig.samplingTick();
    rig.views->graph()->close();
    rig.views->list()->close();
    rig.views->analog()->close();
    QCOMPARE(rig.feeds(), (QList<qint16>{0, 0, 0}));
    QVERIFY(!rig.views->graph() && !rig.views->list() && !rig.views->analog());
    QSignalSpy fed(rig.panel.get(), &live::PANEL::listFeed);
    rig.samplingTick();
    QCOMPARE(fed.count(), 0);

    rig.panel->CMDLIST->click();
    QCOMPARE(rig.views->list()->rows().rowNext(), 0); // empty rows again
    rig.panel->CMDGRAPH->click();
    QCOMPARE(rig.views->graph()->chart().sweep().sweepPos(), -1);
}

void LiveViewsTest::closingThePanelClosesTheViews()
{
    Rig rig;
    rig.openAll();
    rig.panel->close();
    QVERIFY(!rig.views->graph() && !rig.views->list() && !rig.views->analog());
    QCOMPARE(rig.feeds(), (QList<qint16>{0, 0, 0}));
}

void LiveViewsTest::attachReturnsTheOwner()
{
    Rig rig;
    rig.views.reset();
    std::unique_ptr<QObject> owner = views::attachLiveViews(*rig.panel);
    rig.panel->CMDGRAPH->click();
    auto *liveViews = qobject_cast<views::LiveViews *>(owner.get());
    QVERIFY(liveViews && liveViews->graph());
    QPointer<graphs::G_GRAPH> graph = liveViews->graph();
    owner.reset(); // the owner takes its windows with it
    QVERIFY(graph.isNull());
}

QTEST_MAIN(LiveViewsTest)
#include "tst_liveviews.moc"
