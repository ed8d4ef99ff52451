// SHOW DATA to REC_LIST and what the list, its graph and its range window
// do, with the logger window and the main window around them.

#include "reclistrig.h"

#include "recording/datafilereader.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using reclisttest::millivoltReply;
using reclisttest::RecListRig;

class RecListUiTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showDataListsTheSet();
    void closingTheList_data();
    void closingTheList();
    void graphRangeAndLimit();
    void saveAndPrint();
};

void RecListUiTest::showDataListsTheSet()
{
    RecListRig rig;
    logger::LOGGER &w = rig.window();
    rig.meter.once(QStringLiteral("K"), millivoltReply(10), 0.1);
    bool controlsOffDuringDownload = false;
    connect(&w, &logger::LOGGER::showDataRequested, this,
            [&] { controlsOffDuringDownload = !w.Grid1->isEnabled() && !w.Text1->isEnabled(); });
    w.Grid1Click(w.setList().index(2, 0)); // a row click downloads its set
    QVERIFY(controlsOffDuringDownload);
    reclist::REC_LIST &list = rig.list();
    QVERIFY(list.isVisible() && list.Grid1->isVisibleTo(&list));
    QCOMPARE(w.Text1->text(), QStringLiteral("3"));
    QCOMPARE((QStringList{list.list().cell(2, 3), list.SSPANEL1->text(), QString::number(list.Grid1->currentIndex().row() + 1)}),
             (QStringList{" 200.00", "10  RECORDS IN NO. 3  SET", "9"}));
    QVERIFY(w.Grid1->isEnabled() && w.SSCommand1->isEnabled() && rig.panel->CMDMEMORY->isEnabled() && rig.polling());
    QCOMPARE((QStringList{w.Label1->text(), w.Label8->text(), w.LBLFUN->text(), w.LBLRAN->text()}), (QStringList{"", "", "mV", "500 mV"}));
    QVERIFY(rig.dialogs.messages().isEmpty());
}

void RecListUiTest::closingTheList_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("closed") << "close";
    QTest::newRow("MEMORY pressed") << "memory";
    QTest::newRow("a new download") << "download";
    QTest::newRow("a new download that fails") << "failed";
}

// The list's graph and range window go with it; a new download fills it anew,
// a failed one leaves no list.
void RecListUiTest::closingTheList()
{
    QFETCH(QString, how);
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    rig.list().MNUGRAPH->trigger();
    rig.graph().MnuLimit->trigger();
    QVERIFY(rig.graph().isOpen() && rig.range().isVisible() && rig.controller().rangeIsOpen());
    if (how == QLatin1String("close"))
        rig.list().close();
    else if (how == QLatin1String("memory"))
        rig.panel->CMDMEMORY->click();
    else if (how == QLatin1String("download"))
        rig.showData(1, millivoltReply(5));
    else
        rig.showData(1, millivoltReply(5).left(12 + 2 * 5));
    const bool download = how == QLatin1String("download");
    QVERIFY(rig.controller().listIsOpen() == download && rig.list().isVisible() == download);
    QVERIFY(!rig.graph().isOpen() && !rig.graph().isVisible() && !rig.range().isVisible());
    if (download)
        QCOMPARE((QList<QVariant>{rig.list().SSPANEL1->text(), rig.list().list().recordCount()}), (QList<QVariant>{"5  RECORDS IN NO. 1  SET", 5}));
    if (how == QLatin1String("close"))
        QCOMPARE(rig.window().focusWidget(), rig.window().Grid1);
    if (how == QLatin1String("failed")) {
        QCOMPARE(rig.dialogs.messageTexts(), QStringList{"Wait Time Out ! Only 2 of 5 Records Received ! Try Again !"});
        QVERIFY(rig.window().SSCommand3->isEnabled() && rig.panel->CMDMEMORY->isEnabled() && rig.polling());
    }
}

void RecListUiTest::graphRangeAndLimit()
{
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    rig.list().MNUGRAPH->trigger();
    const graphs::StoredGraphSelection &s = rig.graph().scene().selection;
    QCOMPARE((QStringList{s.timeFirst, s.timeMid, s.timeLast}), (QStringList{"23:59:55", "00:00:15", "00:00:40"}));
    rig.graph().MnuLimit->trigger();
    reclist::RANGEFORM &range = rig.range();
    QCOMPARE(range.windowTitle(), QStringLiteral("REC_RANGE"));
    QCOMPARE(range.boxes(), (recording::RangeBoxes{"1", "10", "0", "500"}));
    range.setBoxes({"2", "5", "0", "600"});
    range.SSCommand1->click();
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{" Invalid No.s,  please try again !"});
    QVERIFY(!rig.graph().isOpen() && range.isVisible());
    range.setBoxes({"2", "5", "100", "300"});
    range.SSCommand1->click();
    QVERIFY(rig.graph().isOpen());
    QCOMPARE((QList<double>{double(s.first), double(s.last), s.minimum, rig.shared.scaleMax}), (QList<double>{2, 5, 100, 300}));
    range.setBoxes({"3", "", "7", ""}); // LIMIT again: the last record and MAX from the graph, the rest kept
    rig.graph().MnuLimit->trigger();
    QCOMPARE(range.boxes(), (recording::RangeBoxes{"3", "5", "7", "300"}));
}

// SAVE writes what OPEN FILE reads back; a printout stopped by the list's
// closing is told, nothing sent.
void RecListUiTest::saveAndPrint()
{
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    QTemporaryDir dir;
    rig.dialogs.queueSaveFile(dir.filePath(QStringLiteral("set3.dat")));
    rig.list().MNUSAVE->trigger();
    recording::RecordListModel opened;
    QVERIFY(recording::filelistu(opened, rig.shared.saveFileName).complete);
    QCOMPARE(opened.record(7), rig.list().list().record(7));
    rig.pump.onStep([&](double) {
        if (const testsupport::RecordingPrinter *job = rig.lastPrintJob(); job && job->texts().size() == 5)
            rig.list().close();
    });
    rig.list().MnuPrint->trigger();
    QVERIFY(rig.lastPrintJob()->aborted() && !rig.lastPrintJob()->ended() && rig.lastPrintJob()->documentName() == QLatin1String("REC_LIST"));
    QVERIFY(rig.list().MnuPrint->isEnabled() && !QGuiApplication::overrideCursor());
    const QList<testsupport::ScriptedDialogs::Message> told = rig.dialogs.messages();
    QVERIFY2(told.size() == 1 && told.first().title == QLatin1String("REC_LIST") && told.first().text.contains(QLatin1String("Nothing was sent")),
             qPrintable(rig.dialogs.messageTexts().join(u'|')));
}

QTEST_MAIN(RecListUiTest)
#include "tst_reclist_ui.moc"
