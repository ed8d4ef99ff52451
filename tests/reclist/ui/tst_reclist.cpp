// SHOW DATA to REC_LIST and what the list, its graph and its range window
// do, with the logger window and the main window around them.

#include "reclistrig.h"

#include "recording/datafilereader.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using reclisttest::millivoltReply;
using reclisttest::RecListRig;

class RecListTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showDataListsTheSet();
    void rowClickDownloadsTheSet();
    void failedDownloadShowsNoList();
    void newDownloadReplacesTheList();
    void listWindowAsDesigned();
    void closingTheListClosesItsWindows();
    void memoryButtonClosesTheList();
    void graphOfOneRecordWarns();
    void graphShowsTheWholeSet();
    void graphHidesTheGridWhileDrawing();
    void limitAndApply_data();
    void limitAndApply();
    void saveWritesTheList();
    void failedSaveIsTold();
    void printPrintsTheList();
    void printStoppedPartWayIsNotSent_data();
    void printStoppedPartWayIsNotSent();
};

void RecListTest::showDataListsTheSet()
{
    RecListRig rig;
    logger::LOGGER &w = rig.window();
    rig.shared.scaleMax = 5000;
    rig.showData(3, millivoltReply(10));

    reclist::REC_LIST &list = rig.list();
    QAbstractItemModelTester tester(&list.list(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(list.isVisible());
    QVERIFY(list.Grid1->isVisibleTo(&list));
    QCOMPARE(list.list().recordCount(), 10);
    QCOMPARE(list.list().cell(1, 1), QStringLiteral("00-02-28"));
    QCOMPARE(list.list().cell(2, 2), QStringLiteral("00:00:00"));
    QCOMPARE(list.list().cell(2, 3), QStringLiteral(" 200.00"));
    QCOMPARE(list.list().cell(10, 0), QStringLiteral("10"));
    QCOMPARE(list.SSPANEL1->text(), QStringLiteral("10  RECORDS IN NO. 3  SET"));
    QCOMPARE(list.Grid1->currentIndex().row() + 1, 9); // record count - 1
    QCOMPARE(rig.meter.requests(), QStringList({"A", "K", " ", " ", " ", " "}));

    QVERIFY(!w.SSCommand3->isEnabled());
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());
    QVERIFY(rig.polling());
    QCOMPARE(w.Label1->text(), QString());
    QCOMPARE(w.Label8->text(), QString());
    QCOMPARE(w.LBLFUN->text(), QStringLiteral("mV"));
    QCOMPARE(w.LBLRAN->text(), QStringLiteral("500 mV"));
    QCOMPARE(rig.shared.scaleMax, 500.0);
    QVERIFY(rig.dialogs.messages().isEmpty());
}

void RecListTest::rowClickDownloadsTheSet()
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
    QVERIFY(w.Grid1->isEnabled());
    QVERIFY(w.SSCommand1->isEnabled());
}

void RecListTest::failedDownloadShowsNoList()
{
    RecListRig rig;
    logger::LOGGER &w = rig.window();
    rig.showData(3, millivoltReply(10).left(12 + 5 * 4));
    QCOMPARE(rig.dialogs.messageTexts(),
             QStringList{"Wait Time Out ! Only 4 of 10 Records Received ! Try Again !"});
    QVERIFY(!rig.list().isVisible());
    QVERIFY(!rig.controller().listIsOpen());
    QVERIFY(w.SSCommand3->isEnabled()); // the user may try again
    QVERIFY(rig.panel->CMDMEMORY->isEnabled());
    QVERIFY(rig.polling());
    QCOMPARE(w.Label1->text(), QString());
    QCOMPARE(w.Label8->text(), QString());
}

void RecListTest::newDownloadReplacesTheList()
{
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    rig.list().MNUGRAPH->trigger();
    rig.graph().MnuLimit->trigger();
    QVERIFY(rig.graph().isOpen());
    QVERIFY(rig.controller().rangeIsOpen());

    rig.showData(1, millivoltReply(5));
    QVERIFY(!rig.graph().isOpen());
    QVERIFY(!rig.range().isVisible());
    QVERIFY(rig.list().isVisible());
    QCOMPARE(rig.list().list().recordCount(), 5);
    QCOMPARE(rig.list().SSPANEL1->text(), QStringLiteral("5  RECORDS IN NO. 1  SET"));
}

void RecListTest::listWindowAsDesigned()
{
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    reclist::REC_LIST &list = rig.list();
    QCOMPARE(list.windowTitle(), QStringLiteral("REC_LIST"));
    QCOMPARE(list.pos(), QPoint(2715 / 15, 960 / 15));
    QCOMPARE(list.MNUSAVE->text(), QStringLiteral("SAVE"));
    QCOMPARE(list.MnuPrint->text(), QStringLiteral("PRINT"));
    QCOMPARE(list.MNUGRAPH->text(), QStringLiteral("GRAPH"));
    for (int column = 0; column < 8; ++column)
        QCOMPARE(list.list().headerData(column, Qt::Horizontal).toString(),
                 recording::RecordListModel::captions()[std::size_t(column)]);
    const recording::WidthSamples samples = reclist::recordListWidthSamples();
    const recording::WidthSamples memory = recording::memoryListWidthSamples();
    for (int column : {0, 1, 2, 3, 4, 6})
        QCOMPARE(samples[std::size_t(column)], memory[std::size_t(column)]);
    QCOMPARE(samples[5], QStringLiteral("50M Ohm"));
    QCOMPARE(samples[7], QStringLiteral("LOW"));
    // The columns follow their samples in the list's own font.
    const QFontMetrics metrics(list.Grid1->font());
    const int margin = list.Grid1->columnWidth(7) - metrics.horizontalAdvance(QStringLiteral("LOW"));
    QVERIFY(margin >= 0);
    QCOMPARE(list.Grid1->columnWidth(5), metrics.horizontalAdvance(QStringLiteral("50M Ohm")) + margin);
    QCOMPARE(list.Grid1->columnWidth(4), metrics.horizontalAdvance(QStringLiteral("Frequency")) + margin);
}

void RecListTest::closingTheListClosesItsWindows()
{
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    rig.list().MNUGRAPH->trigger();
    rig.graph().MnuLimit->trigger();
    QVERIFY(rig.range().isVisible());

    rig.list().close();
    QVERIFY(!rig.controller().listIsOpen());
    QVERIFY(!rig.graph().isOpen());
    QVERIFY(!rig.graph().isVisible());
    QVERIFY(!rig.range().isVisible());
    QCOMPARE(rig.list().list().recordCount(), 0);
    QCOMPARE(rig.window().focusWidget(), rig.window().Grid1);
}

void RecListTest::memoryButtonClosesTheList()
{
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    QVERIFY(rig.list().isVisible());
    rig.panel->CMDMEMORY->click();
    QVERIFY(!rig.list().isVisible());
    QVERIFY(!rig.controller().listIsOpen());
}

void RecListTest::graphOfOneRecordWarns()
{
    RecListRig rig(loggertest::entryBytes({0x24, 0x03, 0x14, 0x08, 0x00, 0x00}, 1));
    rig.showData(1, millivoltReply(1));
    QCOMPARE(rig.list().list().recordCount(), 1);
    rig.list().MNUGRAPH->trigger();
    QCOMPARE(rig.dialogs.messages().size(), 1);
    QCOMPARE(rig.dialogs.messages().first().text, QStringLiteral("Only 1 Record !"));
    QCOMPARE(rig.dialogs.messages().first().title, QStringLiteral("Warning"));
    QVERIFY(!rig.graph().isOpen());
}

void RecListTest::graphShowsTheWholeSet()
{
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    rig.list().MNUGRAPH->trigger();
    QVERIFY(rig.graph().isOpen());
    const graphs::StoredGraphSelection &s = rig.graph().scene().selection;
    QCOMPARE(s.first, 1);
    QCOMPARE(s.last, 10);
    QCOMPARE(s.maximum, 500.0);
    QCOMPARE(s.timeFirst, QStringLiteral("23:59:55"));
    QCOMPARE(s.timeMid, QStringLiteral("00:00:15"));  // record 5
    QCOMPARE(s.timeLast, QStringLiteral("00:00:40")); // record 10
    QCOMPARE(rig.shared.recScaleLimit, 500.0);
    QVERIFY(rig.polling());
}

void RecListTest::graphHidesTheGridWhileDrawing()
{
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    bool gridHidden = false;
    bool pollingOff = false;
    connect(&rig.graph(), &graphs::REC_GRAPH::readingList, this, [&] {
        gridHidden = !rig.list().Grid1->isVisibleTo(&rig.list());
        pollingOff = !rig.polling();
    });
    rig.list().MNUGRAPH->trigger();
    QVERIFY(gridHidden);
    QVERIFY(pollingOff);
    QVERIFY(rig.list().Grid1->isVisibleTo(&rig.list()));
    QVERIFY(rig.polling());
}

void RecListTest::limitAndApply_data()
{
    QTest::addColumn<recording::RangeBoxes>("boxes");
    QTest::addColumn<QString>("message");

    QTest::newRow("valid") << recording::RangeBoxes{"2", "5", "100", "300"} << QString();
    QTest::newRow("MAX above the full scale") << recording::RangeBoxes{"2", "5", "0", "600"}
                                              << " Invalid No.s,  please try again !";
    QTest::newRow("negative") << recording::RangeBoxes{"2", "5", "-1", "300"}
                              << "Input No.s must be >=0, please try again !";
    QTest::newRow("last record beyond the list") << recording::RangeBoxes{"5", "11", "0", "300"}
                                                 << " Invalid No.s,  please try again !";
}

void RecListTest::limitAndApply()
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
    QCOMPARE(range.pos(), QPoint(rig.graph().frameGeometry().width(), 0));
    QCOMPARE(range.boxes(), (recording::RangeBoxes{"1", "10", "0", "500"}));

    range.setBoxes(boxes);
    range.SSCommand1->click();
    if (message.isEmpty()) {
        QVERIFY(rig.dialogs.messages().isEmpty());
        QVERIFY(rig.graph().isOpen());
        QCOMPARE(rig.graph().scene().selection.first, 2);
        QCOMPARE(rig.graph().scene().selection.last, 5);
        QCOMPARE(rig.graph().scene().selection.minimum, 100.0);
        QCOMPARE(rig.shared.scaleMax, 300.0);
        QCOMPARE(rig.graph().LblValTopText(), QStringLiteral("300"));
        // LIMIT again: the last record and MAX from the graph, the rest kept.
        range.setBoxes({"3", "", "7", ""});
        rig.graph().MnuLimit->trigger();
        QCOMPARE(range.boxes(), (recording::RangeBoxes{"3", "5", "7", "300"}));
        return;
    }
    QCOMPARE(rig.dialogs.messageTexts(), QStringList{message});
    QCOMPARE(rig.dialogs.messages().first().icon, platform::MessageIcon::Critical);
    QVERIFY(!rig.graph().isOpen());
    QVERIFY(range.isVisible());
}

void RecListTest::saveWritesTheList()
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
}

void RecListTest::failedSaveIsTold()
{
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("no/such/folder/set3.dat"));
    rig.dialogs.queueSaveFile(name);
    rig.list().MNUSAVE->trigger();
    QCOMPARE(rig.dialogs.messages().size(), 1);
    QVERIFY(rig.dialogs.messages().first().text.contains(name));
    QVERIFY(!QGuiApplication::overrideCursor());
}

void RecListTest::printPrintsTheList()
{
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    rig.list().MnuPrint->trigger();
    const testsupport::RecordingPrinter *job = rig.lastPrintJob();
    QVERIFY(job);
    QVERIFY(job->ended());
    QCOMPARE(job->documentName(), QStringLiteral("REC_LIST"));
    const QStringList texts = job->allTexts();
    QCOMPARE(texts.size(), 2 + 10);
    QVERIFY(texts.at(2).startsWith(QStringLiteral("1      00-02-28    23:59:55   100.00  mV")));
    QVERIFY(rig.list().MnuPrint->isEnabled());
}

void RecListTest::printStoppedPartWayIsNotSent_data()
{
    QTest::addColumn<bool>("memoryButton"); // else the list's own close
    QTest::newRow("list closed") << false;
    QTest::newRow("MEMORY pressed") << true;
}

void RecListTest::printStoppedPartWayIsNotSent()
{
    QFETCH(bool, memoryButton);
    RecListRig rig;
    rig.showData(3, millivoltReply(10));
    bool acted = false;
    rig.pump.onStep([&](double) {
        const testsupport::RecordingPrinter *job = rig.lastPrintJob();
        if (acted || !job || job->texts().size() < 5)
            return;
        acted = true;
        if (memoryButton)
            rig.panel->CMDMEMORY->click();
        else
            rig.list().close();
    });
    rig.list().MnuPrint->trigger();
    const testsupport::RecordingPrinter *job = rig.lastPrintJob();
    QVERIFY(acted && job);
    QVERIFY(job->aborted());
    QVERIFY(!job->ended());
    QCOMPARE(rig.dialogs.messages().size(), 1);
    QCOMPARE(rig.dialogs.messages().first().title, QStringLiteral("REC_LIST"));
    QVERIFY2(rig.dialogs.messages().first().text.contains(QLatin1String("Nothing was sent")),
             qPrintable(rig.dialogs.messages().first().text));
    QVERIFY(rig.list().MnuPrint->isEnabled());
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(RecListTest)
#include "tst_reclist.moc"
