// SHOW DATA to REC_LIST and what the list, its graph and its range window
// do, with the logger window and the main window around them.

#include "reclistrig.h"

#include "recording/datafilereader.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QGuiApplication>
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
    void rowClickDownloadsTheSet();
    void failedDownloadShowsNoList();
    void closingTheList_data();
    void closingTheList();
    void graphShowsTheWholeSet();
    void limitAndApply_data();
    void limitAndApply();
    void saveWritesTheListOrTellsWhyNot();
    void print_data();
    void print();
};

void RecListUiTest::showDataListsTheSet()
{
    RecListRig rig;
    logger::LOGGER &w = rig.window();
    rig.shared.scaleMax = 5000;
    rig.showData(3, millivoltReply(10));
    reclist::REC_LIST &list = rig.list();
    QAbstractItemModelTester tester(&list.list(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(list.isVisible() && list.Grid1->isVisibleTo(&list));
    QCOMPARE(list.windowTitle(), QStringLiteral("REC_LIST"));
    QCOMPARE((QStringList{list.MNUSAVE->text(), list.MnuPrint->text(), list.MNUGRAPH->text()}), (QStringList{"SAVE", "PRINT", "GRAPH"}));
    QCOMPARE(list.list().recordCount(), 10);
    QCOMPARE(list.list().cell(2, 3), QStringLiteral(" 200.00"));
    QCOMPARE(list.SSPANEL1->text(), QStringLiteral("10  RECORDS IN NO. 3  SET"));
    QCOMPARE(list.Grid1->currentIndex().row() + 1, 9); // record count - 1
    QCOMPARE(rig.meter.requests(), QStringList({"A", "K", " ", " ", " ", " "}));
    QVERIFY(!w.SSCommand3->isEnabled());
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());
    QVERIFY(rig.polling());
    QCOMPARE((QStringList{w.Label1->text(), w.Label8->text(), w.LBLFUN->text(), w.LBLRAN->text()}), (QStringList{"", "", "mV", "500 mV"}));
    QCOMPARE(rig.shared.scaleMax, 500.0);
    QVERIFY(rig.dialogs.messages().isEmpty());

    rig.showData(1, millivoltReply(5)); // a new download replaces the list
    QCOMPARE(list.list().recordCount(), 5);
    QCOMPARE(list.SSPANEL1->text(), QStringLiteral("5  RECORDS IN NO. 1  SET"));
}

void RecListUiTest::rowClickDownloadsTheSet()
{
    RecListRig rig;
    logger::LOGGER &w = rig.window();
    rig.meter.once(QStringLiteral("K"), millivoltReply(10), 0.1);
    bool controlsOffDuringDownload = false;
    connect(&w, &logger::LOGGER::showDataRequested, this,
            [&] { controlsOffDuringDownload = !w.Grid1->isEnabled() && !w.Text1->isEnabled(); });
    w.Grid1Click(w.setList().index(2, 0));
    QVERIFY(controlsOffDuringDownload);
    QCOMPARE(w.Text1->text(), QStringLiteral("3"));
    QVERIFY(rig.list().isVisible());
    QCOMPARE(rig.list().list().recordCount(), 10);
    QVERIFY(w.Grid1->isEnabled() && w.SSCommand1->isEnabled());
}

void RecListUiTest::failedDownloadShowsNoList()
{
    RecListRig rig;
    logger::LOGGER &w = rig.window();
    rig.showData(3, millivoltReply(10).left(12 + 5 * 4));
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{"Wait Time Out ! Only 4 of 10 Records Received ! Try Again !"});
    QVERIFY(!rig.list().isVisible() && !rig.controller().listIsOpen());
    QVERIFY(w.SSCommand3->isEnabled()); // the user may try again
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());
    QVERIFY(rig.polling());
    QCOMPARE((QStringList{w.Label1->text(), w.Label8->text()}), (QStringList{"", ""}));
}

void RecListUiTest::closingTheList_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("closed") << "close";
    QTest::newRow("MEMORY pressed") << "memory";
    QTest::newRow("a new download") << "download";
}

// The list's graph and range window go with it.
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
    else
        rig.showData(1, millivoltReply(5));
    QCOMPARE(rig.controller().listIsOpen(), how == QLatin1String("download"));
    QCOMPARE(rig.list().isVisible(), how == QLatin1String("download"));
    QVERIFY(!rig.graph().isOpen() && !rig.graph().isVisible() && !rig.range().isVisible());
    if (how == QLatin1String("close")) {
        QCOMPARE(rig.list().list().recordCount(), 0);
        QCOMPARE(rig.window().focusWidget(), rig.window().Grid1);
    }
}

void RecListUiTest::graphShowsTheWholeSet()
{
    RecListRig rig(loggertest::entryBytes({0x24, 0x03, 0x14, 0x08, 0x00, 0x00}, 1)
                   + loggertest::entryBytes({0x00, 0x02, 0x28, 0x23, 0x59, 0x55}, 10));
    rig.showData(1, millivoltReply(1));
    rig.list().MNUGRAPH->trigger();
    QCOMPARE(rig.dialogs.messages().size(), 1);
    QCOMPARE((QStringList{rig.dialogs.messages().first().title, rig.dialogs.messages().first().text}), (QStringList{"Warning", "Only 1 Record !"}));
    QVERIFY(!rig.graph().isOpen());

    rig.showData(2, millivoltReply(10));
    bool gridHidden = false, pollingOff = false;
    connect(&rig.graph(), &graphs::REC_GRAPH::readingList, this, [&] {
        gridHidden = !rig.list().Grid1->isVisibleTo(&rig.list());
        pollingOff = !rig.polling();
    });
    rig.list().MNUGRAPH->trigger();
    QVERIFY(gridHidden && pollingOff); // while drawing
    QVERIFY(rig.list().Grid1->isVisibleTo(&rig.list()) && rig.polling());
    QVERIFY(rig.graph().isOpen());
    const graphs::StoredGraphSelection &s = rig.graph().scene().selection;
    QCOMPARE((QList<double>{double(s.first), double(s.last), s.maximum, rig.shared.recScaleLimit}), (QList<double>{1, 10, 500, 500}));
    QCOMPARE((QStringList{s.timeFirst, s.timeMid, s.timeLast}), (QStringList{"23:59:55", "00:00:15", "00:00:40"}));
}

void RecListUiTest::limitAndApply_data()
{
    QTest::addColumn<recording::RangeBoxes>("boxes");
    QTest::addColumn<QString>("message");
    QTest::newRow("valid") << recording::RangeBoxes{"2", "5", "100", "300"} << QString();
    QTest::newRow("MAX above the full scale") << recording::RangeBoxes{"2", "5", "0", "600"} << " Invalid No.s,  please try again !";
}

void RecListUiTest::limitAndApply()
{
    QFETCH(recording::RangeBoxes, boxes);
    QFETCH(QString, message);
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    rig.list().MNUGRAPH->trigger();
    rig.graph().MnuLimit->trigger();
    reclist::RANGEFORM &range = rig.range();
    QVERIFY(range.isVisible());
    QCOMPARE(range.windowTitle(), QStringLiteral("REC_RANGE"));
    QCOMPARE(range.boxes(), (recording::RangeBoxes{"1", "10", "0", "500"}));
    range.setBoxes(boxes);
    range.SSCommand1->click();
    QCOMPARE(rig.dialogs.messageTexts(), message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(rig.graph().isOpen(), message.isEmpty());
    QVERIFY(range.isVisible());
    if (!message.isEmpty()) {
        QCOMPARE(rig.dialogs.messages().first().icon, platform::MessageIcon::Critical);
        return;
    }
    const graphs::StoredGraphSelection &s = rig.graph().scene().selection;
    QCOMPARE((QList<double>{double(s.first), double(s.last), s.minimum, rig.shared.scaleMax}), (QList<double>{2, 5, 100, 300}));
    QCOMPARE(rig.graph().LblValTopText(), QStringLiteral("300"));
    range.setBoxes({"3", "", "7", ""}); // LIMIT again: the last record and MAX from the graph, the rest kept
    rig.graph().MnuLimit->trigger();
    QCOMPARE(range.boxes(), (recording::RangeBoxes{"3", "5", "7", "300"}));
}

void RecListUiTest::saveWritesTheListOrTellsWhyNot()
{
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("set3.dat"));
    rig.dialogs.queueSaveFile(name);
    rig.list().MNUSAVE->trigger();
    QVERIFY(rig.dialogs.messages().isEmpty());
    QCOMPARE(rig.shared.saveFileName, name);
    recording::RecordListModel opened;
    QVERIFY(recording::filelistu(opened, name).complete);
    QCOMPARE(opened.recordCount(), 10);
    QCOMPARE(opened.record(7), rig.list().list().record(7));
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/set3.dat"));
    rig.dialogs.queueSaveFile(missing);
    rig.list().MNUSAVE->trigger();
    QCOMPARE(rig.dialogs.messages().size(), 1);
    QVERIFY(rig.dialogs.messages().first().text.contains(missing));
    QVERIFY(!QGuiApplication::overrideCursor());
}

void RecListUiTest::print_data()
{
    QTest::addColumn<QString>("stop"); // how the printout is stopped part way, if it is
    QTest::newRow("printed") << "";
    QTest::newRow("list closed") << "close";
}

void RecListUiTest::print()
{
    QFETCH(QString, stop);
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    bool acted = false;
    rig.pump.onStep([&](double) {
        const testsupport::RecordingPrinter *job = rig.lastPrintJob();
        if (acted || stop.isEmpty() || !job || job->texts().size() < 5)
            return;
        acted = true;
        if (stop == QLatin1String("memory"))
            rig.panel->CMDMEMORY->click();
        else
            rig.list().close();
    });
    rig.list().MnuPrint->trigger();
    const testsupport::RecordingPrinter *job = rig.lastPrintJob();
    QVERIFY(job);
    QCOMPARE(acted, !stop.isEmpty());
    QCOMPARE(job->ended(), stop.isEmpty());
    QCOMPARE(job->aborted(), !stop.isEmpty());
    QVERIFY(rig.list().MnuPrint->isEnabled());
    QVERIFY(!QGuiApplication::overrideCursor());
    if (stop.isEmpty()) {
        QCOMPARE(job->documentName(), QStringLiteral("REC_LIST"));
        QCOMPARE(job->allTexts().size(), 2 + 10);
        QVERIFY(job->allTexts().at(2).startsWith(QStringLiteral("1      00-02-28    23:59:55   100.00  mV")));
        QVERIFY(rig.dialogs.messages().isEmpty());
        return;
    }
    QCOMPARE(rig.dialogs.messages().size(), 1);
    QCOMPARE(rig.dialogs.messages().first().title, QStringLiteral("REC_LIST"));
    QVERIFY2(rig.dialogs.messages().first().text.contains(QLatin1String("Nothing was sent")), qPrintable(rig.dialogs.messages().first().text));
}

QTEST_MAIN(RecListUiTest)
#include "tst_reclist_ui.moc"
