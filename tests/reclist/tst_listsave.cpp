// SAVE of the downloaded-record list: quoted lines that OPEN FILE reads
// back into the same cells, a whole replacement of an existing file, and a
// failure that leaves the old file as it was and says why.

#include "reclist/listsave.h"
#include "recording/datafilereader.h"
#include "recording/datafilewriter.h"
#include "recording/recordlistmodel.h"
#include "support/filesizelimit.h"
#include "support/scripteddialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>


namespace {

const QStringList downloadedRows{
    "1\t00-02-28\t23:59:55\t 123.45\tmV\t500 mV\tDC\t",
    "2\t00-02-29\t00:00:00\t-OL    \tV\t50 V\tDC\t Low ",
    "3\t00-02-29\t00:00:05\t 001.20\tOhm\t500 Ohm\tBEEP\t",
};

void fill(recording::RecordListModel &list, const QStringList &rows)
{
    for (const QString &row : rows)
        list.appendRow({row});
}

QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A file dialog during which other events run (as they do in a modal
// dialog): `meanwhile` stands for them.
class DialogsThatLetEventsRun : public testsupport::ScriptedDialogs
{
public:
    explicit DialogsThatLetEventsRun(std::function<void()> meanwhile) : meanwhile_(std::move(meanwhile)) {}
    FileChoice saveFile(const QString &initialName, const QString &filter) override
    {
        meanwhile_();
        return ScriptedDialogs::saveFile(initialName, filter);
    }

private:
    std::function<void()> meanwhile_;
};

} // namespace

class ListSaveTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void savesQuotedLinesThatReadBack();
    void replacesAnExistingFile();
    void nothingWritten_data();
    void nothingWritten();
    void savesTheRowsSeenWhenChosen_data();
    void savesTheRowsSeenWhenChosen();
    void failedSaveLeavesTheFileAndSaysWhy();
    void unwritableFolderIsTold();
};

void ListSaveTest::savesQuotedLinesThatReadBack()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("set.dat"));
    recording::RecordListModel list;
    fill(list, downloadedRows);
    testsupport::ScriptedDialogs dialogs;
    dialogs.queueSaveFile(name);
    common::SharedValues shared;
    QList<bool> busy;

    const auto outcome = reclist::saveRecordList(dialogs, list, shared, [&](bool on) { busy << on; });
    QCOMPARE(outcome.status, reclist::SaveOutcome::Status::Saved);
    QCOMPARE(shared.saveFileName, name);
    QCOMPARE(busy, (QList<bool>{true, false}));
    QCOMPARE(dialogs.fileRequests().size(), 1);
    QVERIFY(dialogs.fileRequests().first().filter.startsWith(QStringLiteral("Data Files (*.dat)")));

    const QByteArrayList lines = contents(name).split('\n');
    QCOMPARE(lines.size(), 4); // three lines, each ending with CR LF
    QVERIFY(lines.last().isEmpty());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(lines[i], '"' + downloadedRows[i].toLatin1() + "\t\"\r");

    // OPEN FILE's reader gives the same eight cells back.
    recording::RecordListModel opened;
    const recording::ReadOutcome read = recording::filelistu(opened, name);
    QVERIFY(read.complete);
    QCOMPARE(opened.recordCount(), 3);
    for (int row = 1; row <= 3; ++row)
        QCOMPARE(opened.record(row), list.record(row));
}

void ListSaveTest::replacesAnExistingFile()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("old.dat"));
    writeFile(name, QByteArray(5000, 'x'));
    recording::RecordListModel list;
    fill(list, downloadedRows.mid(0, 1));
    testsupport::ScriptedDialogs dialogs;
    dialogs.queueSaveFile(name);
    common::SharedValues shared;
    QCOMPARE(reclist::saveRecordList(dialogs, list, shared).status,
             reclist::SaveOutcome::Status::Saved);
    QCOMPARE(contents(name), '"' + downloadedRows[0].toLatin1() + "\t\"\r\n");
    QVERIFY(dialogs.messages().isEmpty());
}

void ListSaveTest::nothingWritten_data()
{
    QTest::addColumn<QString>("answer"); // "cancel", "folder", "" (no question expected)
    QTest::addColumn<int>("records");
    QTest::addColumn<reclist::SaveOutcome::Status>("status");
    QTest::newRow("cancelled") << "cancel" << 3 << reclist::SaveOutcome::Status::Cancelled;
    QTest::newRow("no file title") << "folder" << 3 << reclist::SaveOutcome::Status::Cancelled;
    QTest::newRow("empty list") << "" << 0 << reclist::SaveOutcome::Status::Empty;
}

void ListSaveTest::nothingWritten()
{
    QFETCH(QString, answer);
    QFETCH(int, records);
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("kept.dat"));
    writeFile(kept, "\"1\t\"\r\n");
    testsupport::ScriptedDialogs dialogs;
    if (answer == QLatin1String("cancel"))
        dialogs.queueSaveCancel();
    else if (answer == QLatin1String("folder"))
        dialogs.queueSaveFile(dir.path() + QLatin1Char('/')); // a folder, no file name
    recording::RecordListModel list;
    fill(list, downloadedRows.mid(0, records));
    common::SharedValues shared;
    shared.saveFileName = kept;
    bool busy = false;
    const auto outcome = reclist::saveRecordList(dialogs, list, shared, [&](bool) { busy = true; });
    QTEST(outcome.status, "status");
    QCOMPARE(outcome.notice.has_value(), records == 0); // the empty list is told
    QCOMPARE(dialogs.fileRequests().size(), answer.isEmpty() ? 0 : 1);
    QVERIFY(!busy);
    QCOMPARE(shared.saveFileName, kept);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.dat"});
    QCOMPARE(contents(kept), QByteArray("\"1\t\"\r\n"));
}

// The link drops while the file dialog is open, and the events that run
// meanwhile close the list (which empties it) or fill it anew: the file
// still gets the rows the user saw when choosing SAVE.
void ListSaveTest::savesTheRowsSeenWhenChosen_data()
{
    QTest::addColumn<int>("change"); // 0 list emptied, 1 filled anew, 2 rows added
    QTest::newRow("list closed") << 0;
    QTest::newRow("new download") << 1;
    QTest::newRow("rows added") << 2;
}

void ListSaveTest::savesTheRowsSeenWhenChosen()
{
    QFETCH(int, change);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("set.dat"));
    writeFile(name, QByteArray(5000, 'x'));
    recording::RecordListModel list;
    fill(list, downloadedRows);
    const QByteArray seen = recording::listFileBytes(list);
    DialogsThatLetEventsRun dialogs([&] {
        if (change < 2)
            list.clear();
        if (change > 0)
            fill(list, downloadedRows.mid(1, 1));
    });
    dialogs.queueSaveFile(name);
    common::SharedValues shared;
    QCOMPARE(reclist::saveRecordList(dialogs, list, shared).status, reclist::SaveOutcome::Status::Saved);
    QCOMPARE(contents(name), seen);
    QCOMPARE(seen.count('\n'), 3);
}

void ListSaveTest::failedSaveLeavesTheFileAndSaysWhy()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("kept.dat"));
    const QByteArray old("\"1\t24-01-01\t00:00:00\t 1.0\tV\t5 V\tDC\t\t\"\r\n");
    writeFile(name, old);
    recording::RecordListModel list;
    for (int i = 0; i < 400; ++i) // about 20 KB
        fill(list, downloadedRows);
    testsupport::ScriptedDialogs dialogs;
    dialogs.queueSaveFile(name);
    common::SharedValues shared;
    reclist::SaveOutcome outcome;
    {
        const testsupport::FileSizeLimit limit(4096);
        outcome = reclist::saveRecordList(dialogs, list, shared);
    }
    QCOMPARE(outcome.status, reclist::SaveOutcome::Status::Failed);
    QVERIFY(outcome.notice.has_value());
    QVERIFY2(outcome.notice->text.startsWith(QStringLiteral("File ") + name + QStringLiteral(" not saved ! ")),
             qPrintable(outcome.notice->text));
    QVERIFY(outcome.notice->text.size() > (QStringLiteral("File ") + name + " not saved ! ").size());
    QCOMPARE(outcome.notice->icon, platform::MessageIcon::Critical);
    QCOMPARE(contents(name), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.dat"}); // no temporary left
}

void ListSaveTest::unwritableFolderIsTold()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("missing/set.dat"));
    recording::RecordListModel list;
    fill(list, downloadedRows);
    testsupport::ScriptedDialogs dialogs;
    dialogs.queueSaveFile(name);
    common::SharedValues shared;
    const auto outcome = reclist::saveRecordList(dialogs, list, shared);
    QCOMPARE(outcome.status, reclist::SaveOutcome::Status::Failed);
    QVERIFY(outcome.notice->text.contains(name));
    QVERIFY(!QFile::exists(name));
}

QTEST_GUILESS_MAIN(ListSaveTest)
#include "tst_listsave.moc"
