// SAVE of the downloaded-record list: quoted lines that OPEN FILE reads
// back into the same cells, a whole replacement of an existing file, and a
// failure that leaves the old file as it was and says why.

#include "reclist/listsave.h"
#include "recording/datafilereader.h"
#include "recording/recordlistmodel.h"
#include "support/scripteddialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

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

// Files may not grow beyond `bytes` while it lives (SIGXFSZ ignored, so a
// write past the limit fails instead of ending the test).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

} // namespace

class ListSaveTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void savesQuotedLinesThatReadBack();
    void replacesAnExistingFile();
    void nothingWithoutAChoice_data();
    void nothingWithoutAChoice();
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

void ListSaveTest::nothingWithoutAChoice_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancelled") << true;
    QTest::newRow("no file title") << false;
}

void ListSaveTest::nothingWithoutAChoice()
{
    QFETCH(bool, cancel);
    QTemporaryDir dir;
    testsupport::ScriptedDialogs dialogs;
    if (cancel)
        dialogs.queueSaveCancel();
    else
        dialogs.queueSaveFile(dir.path() + QLatin1Char('/')); // a folder, no file name
    recording::RecordListModel list;
    fill(list, downloadedRows);
    common::SharedValues shared;
    shared.saveFileName = QStringLiteral("kept.dat");
    bool busy = false;
    const auto outcome = reclist::saveRecordList(dialogs, list, shared, [&](bool) { busy = true; });
    QCOMPARE(outcome.status, reclist::SaveOutcome::Status::Cancelled);
    QVERIFY(!outcome.failure.has_value());
    QVERIFY(!busy);
    QCOMPARE(shared.saveFileName, QStringLiteral("kept.dat"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
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
        const FileSizeLimit limit(4096);
        outcome = reclist::saveRecordList(dialogs, list, shared);
    }
    QCOMPARE(outcome.status, reclist::SaveOutcome::Status::Failed);
    QVERIFY(outcome.failure.has_value());
    QVERIFY2(outcome.failure->text.startsWith(QStringLiteral("File ") + name + QStringLiteral(" not saved ! ")),
             qPrintable(outcome.failure->text));
    QVERIFY(outcome.failure->text.size() > (QStringLiteral("File ") + name + " not saved ! ").size());
    QCOMPARE(outcome.failure->icon, platform::MessageIcon::Critical);
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
    QVERIFY(outcome.failure->text.contains(name));
    QVERIFY(!QFile::exists(name));
}

QTEST_GUILESS_MAIN(ListSaveTest)
#include "tst_listsave.moc"
