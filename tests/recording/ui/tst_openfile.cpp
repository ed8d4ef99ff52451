#include "featurerig.h"
#include "graphs/ui/memorygraph.h"
#include "recording/ui/memorylist.h"
#include "recording/ui/openfilecontroller.h"
#include "recording/ui/rangewindow.h"

#include <QAction>
#include <QLabel>
#include <QTableView>
#include <QTest>

using recording::RangeBoxes;

namespace {

QByteArray recordedLines(int count)
{
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += QByteArray::number(i) + "\t24-01-15\t12:00:" + QByteArray::number(10 + i) + "\t "
                + QByteArray::number(i * 10) + "\tV\t5 V\tDC\t\r\n";
    return text;
}

struct Rig : FeatureRig
{
    recording::OpenFileController &files() { return feature->openFile(); }
    recording::MEMORYLIST &list() { return files().memoryList(); }
    recording::RecordListModel &rows() { return list().list(); }
    graphs::MEMORY_GRAPH &graph() { return files().memoryGraph(); }
    recording::MRANGE &range() { return files().memoryRange(); }
    QStringList messages() const { return test.dialogs.messageTexts(); }

    void open(const QString &fullName)
    {
        test.dialogs.queueOpenFile(fullName);
        panel->CMDOPEN->click();
    }

    // Opens a file of `records` lines, its graph and the range window.
    void openRangeOf(int records)
    {
        open(write(QStringLiteral("g.dat"), recordedLines(records)));
        list().MNUGRAPH->trigger();
        graph().MnuLimit->trigger();
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
    void cancelOrMissingFileOpensNothing();
    void opensTheListWithItsRows();
    void readFailureKeepsTheRowsAndSaysSo();
    void secondFileAppendsUntilTheListIsClosed();
    void tooLargeFileIsRefusedWithItsSize();
    void fileBeingRecordedIsCopied_data();
    void fileBeingRecordedIsCopied();
    void dialogShowsTheLastNameUsed();
    void graphOfOneRecordWarns();
    void limitOpensTheRangeWindowBesideTheGraph();
    void applyRefusesOrRedraws();
    void closingTheListClosesItsWindows();
    void printsTheListOrTellsWhyNot();
};

void OpenFileTest::cancelOrMissingFileOpensNothing()
{
    Rig rig;
    rig.shared.listFeedOn = 1;
    rig.test.dialogs.queueOpenCancel();
    rig.panel->CMDOPEN->click();
    QVERIFY(rig.messages().isEmpty());
    const QString name = rig.path(QStringLiteral("typed.dat"));
    rig.open(name);
    QCOMPARE(rig.messages(), QStringList{"File " + name + " not exist !"});
    QVERIFY(!rig.files().listIsOpen());
    QCOMPARE(rig.shared.listFeedOn, qint16(1));
}

void OpenFileTest::opensTheListWithItsRows()
{
    Rig rig;
    rig.shared.listFeedOn = 1;
    rig.open(rig.write(QStringLiteral("a.dat"), recordedLines(3)));
    QVERIFY(rig.files().listIsOpen() && rig.list().isVisible());
    QCOMPARE(rig.list().windowTitle(), QStringLiteral("MEMORYLIST"));
    QCOMPARE(rig.rows().recordCount(), 3);
    QCOMPARE(rig.rows().cell(2, 3), QStringLiteral(" 20"));
    QCOMPARE(rig.shared.listFeedOn, qint16(0));
    // Columns are sized to their sample texts: "Frequency" is wider than "86400".
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
    QCOMPARE(rig.rows().recordCount(), 2);
    QCOMPARE(rig.messages().size(), 1);
    QVERIFY2(rig.messages().first().startsWith("File " + unreadable + " could not be read"),
             qPrintable(rig.messages().first()));
    QCOMPARE(rig.test.dialogs.messages().first().icon, platform::MessageIcon::Warning);
}

void OpenFileTest::secondFileAppendsUntilTheListIsClosed()
{
    Rig rig;
    rig.open(rig.write(QStringLiteral("a.dat"), recordedLines(3)));
    rig.open(rig.write(QStringLiteral("b.dat"), "1\t24-01-16\t08:00:00\t 7\tV\t5 V\tDC\tLow\n"));
    QCOMPARE(rig.rows().recordCount(), 4);
    QCOMPARE(rig.rows().cell(4, 1), QStringLiteral("24-01-16"));
    rig.list().close();
    QVERIFY(!rig.files().listIsOpen());
    rig.open(rig.write(QStringLiteral("empty.dat"), QByteArray()));
    QVERIFY(rig.files().listIsOpen());
    QCOMPARE(rig.rows().recordCount(), 0);
}

void OpenFileTest::tooLargeFileIsRefusedWithItsSize()
{
    Rig rig;
    // Sparse: no room on the disk, and more than any memory left.
    const QString name = rig.write(QStringLiteral("huge.dat"), QByteArray());
    QFile huge(name);
    if (!huge.resize(100'000'000'000))
        QSKIP("no sparse file of 100 GB here");
    rig.open(name);
    QCOMPARE(rig.messages().size(), 1);
    QVERIFY2(rig.messages().first().startsWith("File " + name + " is too large to be shown")
                 && rig.messages().first().contains(QLatin1String("100.0 GB")),
             qPrintable(rig.messages().first()));
    QVERIFY(!rig.files().listIsOpen());
}

void OpenFileTest::fileBeingRecordedIsCopied_data()
{
    QTest::addColumn<bool>("recording");
    QTest::newRow("being recorded: copied, every row stays") << true;
    QTest::newRow("not recorded: mapped, the rows cut off read empty") << false;
}

void OpenFileTest::fileBeingRecordedIsCopied()
{
    QFETCH(bool, recording);
    Rig rig;
    const QString name = rig.write(QStringLiteral("rec.dat"), recordedLines(3000));
    rig.panel->recordingOn = recording;
    rig.panel->LBLFILE->setText(name);
    rig.open(name);
    QCOMPARE(rig.rows().recordCount(), 3000);
    // Cut short under the open list (SIGBUS on a mapped page past the end).
    QVERIFY(QFile::resize(name, 10));
    rig.list().Grid1->scrollToBottom();
    QCoreApplication::processEvents();
    QCOMPARE(rig.rows().cell(3000, 0), recording ? QStringLiteral("3000") : QString());
    rig.panel->recordingOn = false;
}

void OpenFileTest::dialogShowsTheLastNameUsed()
{
    Rig rig;
    rig.test.dialogs.queueSaveFile(rig.path(QStringLiteral("rec.dat")));
    rig.panel->CMDSAVE->click();
    rig.test.dialogs.queueOpenCancel();
    rig.panel->CMDOPEN->click();
    QCOMPARE(rig.test.dialogs.fileRequests().last().initialName, rig.path(QStringLiteral("rec.dat")));
    QVERIFY(rig.test.dialogs.fileRequests().last().filter.contains(QLatin1String("*.dat")));
}

void OpenFileTest::graphOfOneRecordWarns()
{
    Rig rig;
    rig.open(rig.write(QStringLiteral("g.dat"), recordedLines(1)));
    rig.list().MNUGRAPH->trigger();
    QCOMPARE(rig.messages(), QStringList{"Only 1 Record !"});
    QVERIFY(!rig.graph().isOpen());
}

void OpenFileTest::limitOpensTheRangeWindowBesideTheGraph()
{
    Rig rig;
    rig.openRangeOf(7);
    QVERIFY(rig.graph().isOpen() && rig.graph().scene().plotted);
    QVERIFY(rig.files().rangeIsOpen() && rig.range().isVisible());
    QCOMPARE(rig.range().windowTitle(), QStringLiteral("MEMORY_RANGE"));
    QCOMPARE(rig.range().boxes(), (RangeBoxes{"1", "7", "0", "1000"}));
    QCOMPARE(rig.range().pos(), QPoint(rig.graph().frameGeometry().width(), 0));
}

void OpenFileTest::applyRefusesOrRedraws()
{
    Rig rig;
    rig.openRangeOf(10);
    rig.apply({"5", "12", "0", "500"});
    QCOMPARE(rig.messages(), QStringList{" Invalid No.s,  please try again !"});
    QCOMPARE(rig.test.dialogs.messages().first().icon, platform::MessageIcon::Critical);
    QVERIFY(!rig.graph().isOpen() && rig.files().rangeIsOpen());

    rig.apply({"2", "6", "10", "100"});
    QCOMPARE(rig.messages().size(), 1);
    QVERIFY(rig.graph().isOpen() && rig.files().rangeIsOpen());
    const graphs::StoredGraphSelection &s = rig.graph().scene().selection;
    QCOMPARE((QList<double>{double(s.first), double(s.last), s.count, s.minimum, s.maximum}),
             (QList<double>{2, 6, 5, 10, 100}));
    QCOMPARE((QStringList{s.timeFirst, s.timeMid, s.timeLast}), (QStringList{"12:00:12", "12:00:14", "12:00:16"}));
}

void OpenFileTest::closingTheListClosesItsWindows()
{
    Rig rig;
    rig.openRangeOf(5);
    rig.list().close();
    QVERIFY(!rig.graph().isOpen() && rig.graph().isHidden());
    QVERIFY(!rig.files().rangeIsOpen() && rig.range().isHidden());
    QCOMPARE(rig.rows().recordCount(), 0);
}

void OpenFileTest::printsTheListOrTellsWhyNot()
{
    Rig rig;
    rig.open(rig.write(QStringLiteral("a.dat"), recordedLines(2)));
    rig.list().MnuPrint->trigger();
    const testsupport::RecordingPrinter *job = rig.test.lastPrintJob();
    QVERIFY(job && job->ended());
    QCOMPARE(job->allTexts().size(), 4);
    QVERIFY(rig.panel->Timer1->isEnabled());
    QVERIFY(rig.messages().isEmpty());

    rig.test.refuseNextPrintJob(QStringLiteral("The printer is out of paper."));
    rig.list().MnuPrint->trigger();
    QCOMPARE(rig.messages().size(), 1);
    QVERIFY(rig.messages().first().contains(QLatin1String("out of paper")));
    QVERIFY(rig.panel->Timer1->isEnabled());
}

QTEST_MAIN(OpenFileTest)
#include "tst_openfile.moc"
