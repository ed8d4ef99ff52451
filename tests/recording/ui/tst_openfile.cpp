#include "graphs/ui/memorygraph.h"
#include "link/ui/panel.h"
#include "recording/ui/memorylist.h"
#include "recording/ui/openfilecontroller.h"
#include "recording/ui/rangewindow.h"
#include "recording/ui/recordingfeature.h"
#include "support/testplatform.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using recording::RangeBoxes;

namespace {

QByteArray recordedLines(int count, const char *unit = "V")
{
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += QByteArray::number(i) + "\t24-01-15\t12:00:" + QByteArray::number(10 + i) + "\t "
                + QByteArray::number(i * 10) + "\t" + unit + "\t5 V\tDC\t\r\n";
    return text;
}

struct Rig
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform;
    std::unique_ptr<live::PANEL> panel;
    std::unique_ptr<recording::RecordingFeature> feature;
    QTemporaryDir dir;

    Rig()
    {
        platform = test.platform();
        platform.timerMode = platform::Timer::Mode::Manual;
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
        if (!panel->load())
            qFatal("the panel did not load");
        feature = std::make_unique<recording::RecordingFeature>(*panel);
    }

    recording::OpenFileController &files() { return feature->openFile(); }
    recording::MEMORYLIST &list() { return files().memoryList(); }
    graphs::MEMORY_GRAPH &graph() { return files().memoryGraph(); }
    recording::MRANGE &range() { return files().memoryRange(); }

    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return file.fileName();
    }

    void open(const QString &fullName)
    {
        test.dialogs.queueOpenFile(fullName);
        panel->CMDOPEN->click();
    }

    void openGraphOf(int records)
    {
        open(write(QStringLiteral("g.dat"), recordedLines(records)));
        list().MNUGRAPH->trigger();
    }

    void apply(const RangeBoxes &boxes)
    {
        range().setBoxes(boxes);
        range().SSCommand1->click();
    }
};

} // namespace

class OpenFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cancelDoesNothing();
    void missingFileIsTold();
    void opensTheListWithItsRows();
    void readFailureKeepsTheRowsAndSaysSo();
    void secondFileAppendsBelowTheFirst();
    void closingTheListStartsItEmpty();
    void emptyFileShowsTheCaptionRowOnly();
    void savedListOpensLikeARecording();
    void dialogShowsTheLastNameUsed();
    void graphNeedsTwoRecords_data();
    void graphNeedsTwoRecords();
    void graphShowsAllRecords();
    void limitOpensTheRangeWindow();
    void applyRefusesABadSelection();
    void applyRedrawsTheGraph();
    void closingTheListClosesItsWindows();
    void printsTheList();
    void printFailureIsTold();
};

void OpenFileTest::cancelDoesNothing()
{
    Rig rig;
    rig.shared.listFeedOn = 1;
    rig.test.dialogs.queueOpenCancel();
    rig.panel->CMDOPEN->click();
    QVERIFY(!rig.files().listIsOpen());
    QVERIFY(rig.list().isHidden());
    QCOMPARE(rig.shared.listFeedOn, qint16(1));
    QVERIFY(rig.test.dialogs.messages().isEmpty());
}

void OpenFileTest::missingFileIsTold()
{
    Rig rig;
    rig.shared.listFeedOn = 1;
    const QString name = rig.dir.filePath(QStringLiteral("typed.dat"));
    rig.open(name);
    QCOMPARE(rig.test.dialogs.messageTexts(), QStringList{"File " + name + " not exist !"});
    QVERIFY(!rig.files().listIsOpen());
    QCOMPARE(rig.shared.listFeedOn, qint16(1));
}

void OpenFileTest::opensTheListWithItsRows()
{
    Rig rig;
    rig.shared.listFeedOn = 1;
    rig.open(rig.write(QStringLiteral("a.dat"), recordedLines(3)));
    QVERIFY(rig.files().listIsOpen());
    QVERIFY(!rig.list().isHidden());
    QCOMPARE(rig.list().windowTitle(), QStringLiteral("MEMORYLIST"));
    QCOMPARE(rig.list().list().recordCount(), 3);
    QCOMPARE(rig.list().Grid1->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("  RANGE "));
    QCOMPARE(rig.list().list().cell(2, 3), QStringLiteral(" 20"));
    QCOMPARE(rig.shared.listFeedOn, qint16(0));
    // Columns are sized to their sample texts: the unit column ("Frequency")
    // is wider than the record number's ("86400").
    QVERIFY(rig.list().Grid1->columnWidth(4) > rig.list().Grid1->columnWidth(0));
}

void OpenFileTest::readFailureKeepsTheRowsAndSaysSo()
{
    // Opens like a file, and every read fails.
    const QString unreadable = QStringLiteral("/proc/self/mem");
    if (!QFile::exists(unreadable))
        QSKIP("no /proc/self/mem on this system");
    Rig rig;
    rig.open(rig.write(QStringLiteral("a.dat"), recordedLines(2)));
    rig.open(unreadable);
    QCOMPARE(rig.list().list().recordCount(), 2);
    QCOMPARE(rig.test.dialogs.messages().size(), 1);
    const platform::MessageIcon icon = rig.test.dialogs.messages().first().icon;
    const QString text = rig.test.dialogs.messages().first().text;
    QVERIFY2(text.startsWith(QStringLiteral("File ") + unreadable + QStringLiteral(" could not be read")),
             qPrintable(text));
    QCOMPARE(icon, platform::MessageIcon::Warning);
}

void OpenFileTest::secondFileAppendsBelowTheFirst()
{
    Rig rig;
    rig.open(rig.write(QStringLiteral("a.dat"), recordedLines(3)));
    rig.open(rig.write(QStringLiteral("b.dat"), "1\t24-01-16\t08:00:00\t 7\tV\t5 V\tDC\tLow\n"));
    QCOMPARE(rig.list().list().recordCount(), 4);
    QCOMPARE(rig.list().list().cell(4, 1), QStringLiteral("24-01-16"));
    QCOMPARE(rig.list().list().cell(4, 7), QStringLiteral("Low"));
}

void OpenFileTest::closingTheListStartsItEmpty()
{
    Rig rig;
    rig.open(rig.write(QStringLiteral("a.dat"), recordedLines(3)));
    rig.list().close();
    QVERIFY(!rig.files().listIsOpen());
    rig.open(rig.write(QStringLiteral("b.dat"), recordedLines(2)));
    QCOMPARE(rig.list().list().recordCount(), 2);
}

void OpenFileTest::emptyFileShowsTheCaptionRowOnly()
{
    Rig rig;
    rig.open(rig.write(QStringLiteral("empty.dat"), QByteArray()));
    QVERIFY(rig.files().listIsOpen());
    QCOMPARE(rig.list().list().recordCount(), 0);
    QCOMPARE(rig.list().Grid1->horizontalHeader()->count(), 8);
}

void OpenFileTest::savedListOpensLikeARecording()
{
    Rig rig;
    rig.open(rig.write(QStringLiteral("rec.dat"), "1\t24-01-15\t12:00:00\t 1.5\tV\t5 V\tDC\t\r\n"));
    rig.open(rig.write(QStringLiteral("saved.dat"), "\"1\t24-01-15\t12:00:00\t 1.5\tV\t5 V\tDC\t\t\"\r\n"));
    QCOMPARE(rig.list().list().record(2), rig.list().list().record(1));
}

void OpenFileTest::dialogShowsTheLastNameUsed()
{
    Rig rig;
    const QString recording = rig.dir.filePath(QStringLiteral("rec.dat"));
    rig.test.dialogs.queueSaveFile(recording);
    rig.panel->CMDSAVE->click();
    rig.test.dialogs.queueOpenCancel();
    rig.panel->CMDOPEN->click();
    QCOMPARE(rig.test.dialogs.fileRequests().last().initialName, recording);
    QVERIFY(rig.test.dialogs.fileRequests().last().filter.contains(QLatin1String("*.dat")));
}

void OpenFileTest::graphNeedsTwoRecords_data()
{
    QTest::addColumn<int>("records");
    QTest::newRow("no data rows") << 0;
    QTest::newRow("one record") << 1;
}

void OpenFileTest::graphNeedsTwoRecords()
{
    QFETCH(int, records);
    Rig rig;
    rig.openGraphOf(records);
    QCOMPARE(rig.test.dialogs.messages().size(), 1);
    QCOMPARE(rig.test.dialogs.messages().first().text, QStringLiteral("Only 1 Record !"));
    QCOMPARE(rig.test.dialogs.messages().first().title, QStringLiteral("Warning"));
    QVERIFY(!rig.graph().isOpen());
}

void OpenFileTest::graphShowsAllRecords()
{
    Rig rig;
    rig.openGraphOf(7);
    QVERIFY(rig.graph().isOpen());
    QVERIFY(!rig.graph().isHidden());
    const graphs::StoredGraphSelection &s = rig.graph().scene().selection;
    QCOMPARE(s.first, 1);
    QCOMPARE(s.last, 7);
    QCOMPARE(s.maximum, 1000.0);
    QCOMPARE(s.timeMid, QStringLiteral("12:00:14"));
    QVERIFY(rig.graph().scene().plotted);
}

void OpenFileTest::limitOpensTheRangeWindow()
{
    Rig rig;
    rig.openGraphOf(7);
    rig.graph().MnuLimit->trigger();
    QVERIFY(rig.files().rangeIsOpen());
    QVERIFY(!rig.range().isHidden());
    QCOMPARE(rig.range().windowTitle(), QStringLiteral("MEMORY_RANGE"));
    QCOMPARE(rig.range().boxes(), (RangeBoxes{"1", "7", "0", "1000"}));
    QCOMPARE(rig.range().pos().y(), 0);
    QCOMPARE(rig.range().pos().x(), rig.graph().frameGeometry().width());
}

void OpenFileTest::applyRefusesABadSelection()
{
    Rig rig;
    rig.openGraphOf(10);
    rig.graph().MnuLimit->trigger();
    rig.apply({"5", "12", "0", "500"});
    QCOMPARE(rig.test.dialogs.messageTexts(), QStringList{" Invalid No.s,  please try again !"});
    QCOMPARE(rig.test.dialogs.messages().first().icon, platform::MessageIcon::Critical);
    QVERIFY(!rig.graph().isOpen());
    QVERIFY(rig.files().rangeIsOpen());
    rig.apply({"-1", "5", "0", "500"});
    QCOMPARE(rig.test.dialogs.messageTexts().last(), QStringLiteral("Input No.s must be >=0, please try again !"));
    QVERIFY(!rig.graph().isOpen());
}

void OpenFileTest::applyRedrawsTheGraph()
{
    Rig rig;
    rig.openGraphOf(10);
    rig.graph().MnuLimit->trigger();
    rig.apply({"2", "6", "10", "100"});
    QVERIFY(rig.test.dialogs.messages().isEmpty());
    QVERIFY(rig.graph().isOpen());
    QCOMPARE(rig.graph().pos(), QPoint(0, 0));
    const graphs::StoredGraphSelection &s = rig.graph().scene().selection;
    QCOMPARE(s.first, 2);
    QCOMPARE(s.last, 6);
    QCOMPARE(s.count, 5.0);
    QCOMPARE(s.minimum, 10.0);
    QCOMPARE(s.maximum, 100.0);
    QCOMPARE((QStringList{s.timeFirst, s.timeMid, s.timeLast}),
             (QStringList{"12:00:12", "12:00:14", "12:00:16"}));
    QVERIFY(rig.files().rangeIsOpen());
}

void OpenFileTest::closingTheListClosesItsWindows()
{
    Rig rig;
    rig.openGraphOf(5);
    rig.graph().MnuLimit->trigger();
    rig.list().close();
    QVERIFY(!rig.graph().isOpen());
    QVERIFY(rig.graph().isHidden());
    QVERIFY(!rig.files().rangeIsOpen());
    QVERIFY(rig.range().isHidden());
    QCOMPARE(rig.list().list().recordCount(), 0);
}

void OpenFileTest::printsTheList()
{
    Rig rig;
    rig.open(rig.write(QStringLiteral("a.dat"), recordedLines(2)));
    rig.list().MnuPrint->trigger();
    const testsupport::RecordingPrinter *job = rig.test.lastPrintJob();
    QVERIFY(job);
    QVERIFY(job->ended());
    const QStringList texts = job->allTexts();
    QCOMPARE(texts.size(), 4);
    QCOMPARE(texts.at(2), QStringLiteral("1      24-01-15    12:00:11   10      V          5 V         DC        "));
    QVERIFY(rig.panel->Timer1->isEnabled());
    QVERIFY(rig.list().MnuPrint->isEnabled());
    QVERIFY(rig.test.dialogs.messages().isEmpty());
}

void OpenFileTest::printFailureIsTold()
{
    Rig rig;
    rig.open(rig.write(QStringLiteral("a.dat"), recordedLines(2)));
    rig.test.refuseNextPrintJob(QStringLiteral("The printer is out of paper."));
    rig.list().MnuPrint->trigger();
    QCOMPARE(rig.test.dialogs.messages().size(), 1);
    QVERIFY(rig.test.dialogs.messages().first().text.contains(QLatin1String("out of paper")));
    rig.test.refuseNextPrintJob(); // cancelled: nothing said
    rig.list().MnuPrint->trigger();
    QCOMPARE(rig.test.dialogs.messages().size(), 1);
}

QTEST_MAIN(OpenFileTest)
#include "tst_openfile.moc"
