// LIST, ANALOG and the views' owner driven through the panel.

#include "common/numbers.h"
#include "graphs/ui/ggraph.h"
#include "support/frames.h"
#include "views/ui/analog.h"
#include "views/ui/list.h"
#include "views/ui/liveviews.h"
#include "viewsrig.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

struct ListRig : PanelRig
{
    std::unique_ptr<views::LIST> list;

    ListRig()
    {
        test.clock.setDate(QDate(2024, 1, 15));
        shared.listFeedOn = 1;
        list = std::make_unique<views::LIST>(*panel);
        list->load();
        list->show();
    }

    // Room for `rows` rows after the deduction.
    void sizeFor(int rows) { list->resize(list->width(), (rows + 3) * list->rowHeight()); }

    void feed(const QString &text)
    {
        list->Text1->setText(QString());
        list->Text1->setText(text);
    }

    QList<int> framed() const
    {
        QList<int> rows;
        for (std::size_t i = 0; i < list->Lbl.size(); ++i)
            if (list->Lbl[i]->frameShape() != QFrame::NoFrame)
                rows << static_cast<int>(i);
        return rows;
    }
};

QString dated(int line)
{
    const QChar s = common::systemDateSeparator();
    return QStringLiteral("24") + s + QStringLiteral("01") + s + QStringLiteral("15 line %1").arg(line);
}

} // namespace

namespace {

struct AnalogRig : PanelRig
{
    std::unique_ptr<views::ANALOG> analog;

    explicit AnalogRig(bool withReading = true)
    {
        if (withReading)
            setReading(QStringLiteral("mV"), QStringLiteral("500 mV"), QStringLiteral("000.00"));
        shared.analogOn = -1;
        analog = std::make_unique<views::ANALOG>(*panel);
        analog->load(nullptr);
    }

    void setReading(const QString &function, const QString &range, const QString &value)
    {
        panel->LBLFUN->setText(function);
        panel->LBLRAN->setText(range);
        panel->LBLVALUE->setText(value);
    }

    // What the panel writes after a frame.
    void hand(const QString &value)
    {
        panel->LBLVALUE->setText(value);
        analog->Text1->setText(value);
    }

    bool needleNear(double degrees) const { return needleAt(analog->picture(), degrees); }

    QColor sectorAt(double degrees) const
    {
        const QPointF p = analog->picture().frame().polar(0.5, degrees);
        return analog->picture().image().pixelColor(qRound(p.x()), qRound(p.y()));
    }
};

const QColor analogYellow(255, 255, 0);

} // namespace

namespace {

struct ViewsRig : PanelRig
{
    std::unique_ptr<views::LiveViews> views = std::make_unique<views::LiveViews>(*panel);

    ViewsRig() { panel->LBLTIME->setText(QStringLiteral("10:15:58")); }

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

class ViewsUiTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rowsAreCreatedAsTheWindowGrows();
    void newestLineFramedAndInSight();
    void dateGoesWithTheLinesTime_data();
    void dateGoesWithTheLinesTime();
    void needleFollowsTheReading();
    void rangeChangeRedrawsTheScale();
    void noRedrawWithoutALink();
    void resizedDuringALinkLoss();
    void openedBeforeTheFirstReading();
    void escapeGivesThePanelTheFocus();
    void graphButtonOpensAndFeedsTheGraph();
    void listButtonOpensAndFeedsTheList_data();
    void listButtonOpensAndFeedsTheList();
    void stopRecordingEndsTheListFeed();
    void analogButtonOpensAndFeedsTheDial_data();
    void analogButtonOpensAndFeedsTheDial();
    void closedViewsStopTheirFeedAndReopenFresh();
    void closingThePanelClosesTheViews();
};

void ViewsUiTest::rowsAreCreatedAsTheWindowGrows()
{
    ListRig rig;
    QCOMPARE(rig.list->Lbl.size(), std::size_t(rig.list->rows().rowsMax() + 1));
    rig.sizeFor(20);
    QCOMPARE(rig.list->Lbl.size(), std::size_t(21));
    for (const QLabel *row : rig.list->Lbl)
        QVERIFY(row->isVisible());
    QVERIFY(rig.list->Lbl.back()->geometry().bottom() < rig.list->height());
    rig.sizeFor(4);
    QCOMPARE(rig.list->Lbl.size(), std::size_t(21)); // rows stay
}

void ViewsUiTest::newestLineFramedAndInSight()
{
    ListRig rig;
    rig.sizeFor(10);
    for (int i = 1; i <= 11; ++i)
        rig.feed(QStringLiteral("line %1").arg(i));
    QCOMPARE(rig.list->Lbl[0]->text(), dated(1));
    QCOMPARE(rig.list->Lbl[10]->text(), dated(11));
    QCOMPARE(rig.framed(), QList<int>{10});
    rig.sizeFor(3);
    QCOMPARE(rig.framed(), QList<int>{3});
    QCOMPARE(rig.list->Lbl[3]->text(), dated(11));
    QVERIFY(rig.list->Lbl[3]->geometry().bottom() < rig.list->height());
    rig.sizeFor(0); // nothing fits: the newest line goes to row 0
    rig.feed(QStringLiteral("line 12"));
    QCOMPARE(rig.list->Lbl[0]->text(), dated(12));
    QCOMPARE(rig.framed(), QList<int>{0});
}

void ViewsUiTest::dateGoesWithTheLinesTime_data()
{
    QTest::addColumn<double>("clock"); // seconds since midnight of 2024-01-16
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("date");
    QTest::newRow("midday") << 43200.0 << "  12:00:00    V    5 V:     1.2" << "24/01/16";
    QTest::newRow("yesterday's time just after midnight")
        << 0.4 << "  23:59:59    V    5 V:     1.2" << "24/01/15";
    QTest::newRow("a long sampling time still shows the evening")
        << 3600.0 << "  19:00:00    V    5 V:     1.2" << "24/01/15";
    QTest::newRow("midnight rounded up a moment early")
        << 86399.6 << "  00:00:00    V    5 V:     1.2" << "24/01/17";
    QTest::newRow("no time shown") << 0.4 << "      V    5 V:     1.2" << "24/01/16";
}

void ViewsUiTest::dateGoesWithTheLinesTime()
{
    QFETCH(double, clock);
    QFETCH(QString, text);
    QFETCH(QString, date);
    ListRig rig;
    rig.test.clock.setDate(QDate(2024, 1, 16));
    rig.test.clock.setSecondsSinceMidnight(clock);
    rig.feed(text);
    const QChar separator = common::systemDateSeparator();
    QCOMPARE(rig.list->Lbl[1]->text(), QString(date).replace(u'/', separator) + u' ' + text);
}

void ViewsUiTest::needleFollowsTheReading()
{
    AnalogRig rig;
    rig.hand(QStringLiteral("000.00"));
    QVERIFY(rig.needleNear(90));
    rig.hand(QStringLiteral("250.00"));
    QVERIFY(rig.needleNear(63));
    QCOMPARE(rig.sectorAt(90), analogYellow); // the old needle is wiped
    const QImage before = rig.analog->picture().image();
    rig.analog->Text1->setText(QString()); // an empty reading moves nothing
    QCOMPARE(rig.analog->picture().image(), before);
    rig.panel->LBLRAN->setText(QStringLiteral("Diode"));
    rig.hand(QStringLiteral("0.500")); // no needle on a range without a number
    QCOMPARE(rig.sectorAt(63), analogYellow);
    QVERIFY(!rig.needleNear(90));
}

void ViewsUiTest::rangeChangeRedrawsTheScale()
{
    AnalogRig rig;
    rig.hand(QStringLiteral("250.00"));
    const QImage before = rig.analog->picture().image();
    rig.setReading(QStringLiteral("V"), QStringLiteral("5 V"), QStringLiteral("2.5000"));
    rig.analog->Text1->setText(QStringLiteral("2.5000"));
    QCOMPARE(rig.analog->Label1->text(), QStringLiteral("V"));
    QCOMPARE(rig.analog->Label2->text(), QStringLiteral("5 V"));
    QVERIFY(rig.needleNear(63));
    // Same needle, other scale numbers: the outer band differs.
    QVERIFY(before.copy(0, 0, 320, 60) != rig.analog->picture().image().copy(0, 0, 320, 60));
}

void ViewsUiTest::noRedrawWithoutALink()
{
    AnalogRig rig;
    rig.hand(QStringLiteral("250.00"));
    const QImage before = rig.analog->picture().image();
    rig.panel->LBLCOMM->setText(QStringLiteral(" NO COM "));
    rig.panel->LBLRAN->setText(QStringLiteral("5 V"));
    rig.analog->redraw();
    rig.analog->resize(400, 250);
    QCoreApplication::processEvents();
    QCOMPARE(rig.analog->picture().image(), before);
    QCOMPARE(rig.analog->Label2->text(), QStringLiteral("500 mV"));
}

void ViewsUiTest::resizedDuringALinkLoss()
{
    AnalogRig rig;
    rig.hand(QStringLiteral("250.00"));
    rig.panel->LBLCOMM->setText(QStringLiteral(" NO COM "));
    rig.analog->resize(400, 250);
    QCoreApplication::processEvents();

    // The meter is back with the same function and range.
    rig.panel->LBLCOMM->setText(QStringLiteral("Com1"));
    rig.test.port.feed(testsupport::liveFrame(0x80, 0x25, 0x00, 0x00, 0x08));
    rig.panel->Timer6->fire();
    const QImage after = rig.analog->picture().image();
    QCOMPARE(after.size(), QSize(400, 250));
    const QLabel *l2 = rig.analog->Label2;
    QCOMPARE(rig.analog->width() - (l2->x() + l2->width()), rig.analog->Label1->x());
    QVERIFY(rig.needleNear(63));
    // As a resize with the meter connected draws it.
    rig.analog->redraw();
    QCOMPARE(rig.analog->picture().image(), after);
}

void ViewsUiTest::openedBeforeTheFirstReading()
{
    AnalogRig rig(false);
    QCOMPARE(rig.analog->Label1->text(), QString());
    rig.setReading(QStringLiteral("mV"), QStringLiteral("500 mV"), QStringLiteral("250.00"));
    rig.analog->Text1->setText(QStringLiteral("250.00"));
    QCOMPARE(rig.analog->Label2->text(), QStringLiteral("500 mV"));
    QVERIFY(rig.needleNear(63));
}

void ViewsUiTest::escapeGivesThePanelTheFocus()
{
    AnalogRig rig;
    rig.analog->activateWindow();
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), rig.analog.get());
    QTest::keyClick(rig.analog.get(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), rig.panel.get());
}

void ViewsUiTest::graphButtonOpensAndFeedsTheGraph()
{
    ViewsRig rig;
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

void ViewsUiTest::listButtonOpensAndFeedsTheList_data()
{
    QTest::addColumn<bool>("graphOpen");
    QTest::newRow("below the panel") << false;
    QTest::newRow("beside the panel when the graph is open") << true;
}

void ViewsUiTest::listButtonOpensAndFeedsTheList()
{
    QFETCH(bool, graphOpen);
    ViewsRig rig;
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

void ViewsUiTest::stopRecordingEndsTheListFeed()
{
    ViewsRig rig;
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

void ViewsUiTest::analogButtonOpensAndFeedsTheDial_data()
{
    QTest::addColumn<bool>("listOpen");
    QTest::newRow("beside the panel") << false;
    QTest::newRow("below the live list") << true;
}

void ViewsUiTest::analogButtonOpensAndFeedsTheDial()
{
    QFETCH(bool, listOpen);
    ViewsRig rig;
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

void ViewsUiTest::closedViewsStopTheirFeedAndReopenFresh()
{
    ViewsRig rig;
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

void ViewsUiTest::closingThePanelClosesTheViews()
{
    ViewsRig rig;
    rig.openAll();
    rig.panel->close();
    QVERIFY(!rig.views->graph() && !rig.views->list() && !rig.views->analog());
    QCOMPARE(rig.feeds(), (QList<qint16>{0, 0, 0}));
}

QTEST_MAIN(ViewsUiTest)
#include "tst_views_ui.moc"
