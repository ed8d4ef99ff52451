#include "recording/datafilereader.h"
#include "recording/recordlistmodel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using common::DataRecord;

namespace {

DataRecord makeRecord(const QStringList &cells)
{
    DataRecord record;
    for (int i = 0; i < DataRecord::FieldCount && i < cells.size(); ++i)
        record[i] = cells[i];
    return record;
}

QList<DataRecord> recordsOf(const recording::RecordListModel &list)
{
    QList<DataRecord> records;
    for (int row = 1; row <= list.recordCount(); ++row)
        records.append(list.record(row));
    return records;
}

} // namespace

class DataFileIoTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(dir_.isValid()); }
    void readsFilesBack_data();
    void readsFilesBack();
    void readingAFolderFails();
    void fileTooLargeIsRefusedWithItsSize_data();
    void fileTooLargeIsRefusedWithItsSize();
    void fileCutShortUnderTheListNeverFaults_data();
    void fileCutShortUnderTheListNeverFaults();

private:
    QString path(const QString &name) const { return dir_.filePath(name); }
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QTemporaryDir dir_;
};

void DataFileIoTest::readsFilesBack_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<DataRecord>>("records");
    const DataRecord one = makeRecord({"1", "26-05-31", "14:03:07", " 1.234", "V", "5 V", "DC", ""});
    const DataRecord two = makeRecord({"2", "26-05-31", "14:03:09", "-0.012", "V", "5 V", "DC", "Low"});
    QTest::newRow("recorded lines")
        << QByteArray("1\t26-05-31\t14:03:07\t 1.234\tV\t5 V\tDC\t\r\n"
                      "2\t26-05-31\t14:03:09\t-0.012\tV\t5 V\tDC\tLow\r\n")
        << QList<DataRecord>{one, two};
    QTest::newRow("empty file") << QByteArray() << QList<DataRecord>{};
    QTest::newRow("comma splits a line in two")
        << QByteArray("3\t26-05-31\t14:03:11\t 1,5\tV\t5 V\tDC\t\r\n")
        << QList<DataRecord>{makeRecord({"3", "26-05-31", "14:03:11", " 1"}),
                             makeRecord({"5", "V", "5 V", "DC", ""})};
    QTest::newRow("short and long rows")
        << QByteArray("a\tb\r\n1\t2\t3\t4\t5\t6\t7\t8\t9\t10\r\n")
        << QList<DataRecord>{makeRecord({"a", "b"}), makeRecord({"1", "2", "3", "4", "5", "6", "7", "8"})};
}

void DataFileIoTest::readsFilesBack()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<DataRecord>, records);
    write("in.dat", bytes);
    recording::RecordListModel list;
    const recording::ReadOutcome outcome = recording::filelistu(list, path("in.dat"));
    QVERIFY(outcome.complete);
    QCOMPARE(outcome.rowsAdded, records.size());
    QCOMPARE(recordsOf(list), records);
}

void DataFileIoTest::readingAFolderFails()
{
    QString reason;
    QVERIFY(!recording::canOpenForReading(dir_.path(), &reason));
    QVERIFY(!reason.isEmpty());
    QVERIFY(!recording::canOpenForReading(path("missing.dat")));
    recording::RecordListModel list;
    QVERIFY(!recording::filelistu(list, path("missing.dat")).complete);
    QCOMPARE(list.recordCount(), 0);
}

void DataFileIoTest::fileTooLargeIsRefusedWithItsSize_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<QString>("sizeText");
    // Sparse: takes no room on the disk, and far more than any memory.
    QTest::newRow("100 GB, the memory left") << qint64(100'000'000'000) << qint64(-1) << "100.0 GB";
    QTest::newRow("over a set limit") << qint64(2'500'000) << qint64(1'000'000) << "2.5 MB";
}

void DataFileIoTest::fileTooLargeIsRefusedWithItsSize()
{
    QFETCH(qint64, size);
    QFETCH(qint64, limit);
    QFETCH(QString, sizeText);
    QFile file(path("big.dat"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (!file.resize(size))
        QSKIP("no sparse file of that size here");
    file.close();
    recording::RecordListModel list;
    recording::ReadOptions options;
    options.sizeLimit = limit;
    for (bool copy : {false, true}) {
        options.copy = copy;
        const recording::ReadOutcome outcome = recording::filelistu(list, path("big.dat"), options);
        QVERIFY(outcome.tooLarge);
        QVERIFY(!outcome.complete);
        QVERIFY2(outcome.errorText.contains(sizeText), qPrintable(outcome.errorText));
        QCOMPARE(list.recordCount(), 0);
    }
}

void DataFileIoTest::fileCutShortUnderTheListNeverFaults_data()
{
    QTest::addColumn<bool>("copy");
    QTest::newRow("mapped: rows past the new end read empty") << false;
    QTest::newRow("copied (the file being recorded): every row stays") << true;
}

void DataFileIoTest::fileCutShortUnderTheListNeverFaults()
{
    QFETCH(bool, copy);
    QByteArray bytes;
    for (int i = 1; i <= 20000; ++i)
        bytes += QByteArray::number(i) + "\t24-01-15\t12:00:00\t 1.234\tV\t5 V\tDC\t\r\n";
    write("cut.dat", bytes);
    recording::RecordListModel list;
    recording::ReadOptions options;
    options.copy = copy;
    options.chunkBytes = 100'000;
    QCOMPARE(recording::filelistu(list, path("cut.dat"), options).rowsAdded, qsizetype(20000));

    // Another program cuts the file to its first 10 lines and a half; the
    // pages past that end are gone.
    QFile file(path("cut.dat"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(bytes.indexOf("\n11\t") + 1 + 5));
    file.close();
    for (int row = 1; row <= 20000; ++row)
        list.rowCells(row);
    QCOMPARE(list.cell(10, 0), QStringLiteral("10"));
    QCOMPARE(list.cell(20000, 0), copy ? QStringLiteral("20000") : QString());
    QCOMPARE(list.cell(11, 1), copy ? QStringLiteral("24-01-15") : QStringLiteral("24"));
    list.keySpan(0, 20000, [](const recording::RowCells &cells) { return double(cells[0].size()); });
}

QTEST_GUILESS_MAIN(DataFileIoTest)
#include "tst_datafileio.moc"
