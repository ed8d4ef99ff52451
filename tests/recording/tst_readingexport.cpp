// The CSV and JSON lines every way out of the program writes, at their seam:
// a reading or a record row in, the exact text out.

#include "recording/listexport.h"
#include "recording/readingexport.h"
#include "recording/readingstatistics.h"
#include "recording/recordlistmodel.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using recording::ExportedReading;

class ReadingExportTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void liveReading();
    void listExport_data();
    void listExport();
    void statistics_data();
    void statistics();
};

namespace {

// Rows of a list from "value unit [A/D]" texts, one second apart; "" is
// an empty line and a text with a tab is taken as the row itself.
void fill(recording::RecordListModel &list, const QStringList &rows)
{
    QStringList texts;
    for (const QString &row : rows) {
        const QStringList parts = row.split(QLatin1Char(' '));
        const int n = int(texts.size()) + 1;
        texts << (row.isEmpty() || row.contains(QLatin1Char('\t')) ? row
                  : QStringLiteral("%1\t24-03-14\t12:30:%2\t%3\t%4\t5 V\t%5\t").arg(n).arg(n, 2, 10, QLatin1Char('0')).arg(parts.value(0), parts.value(1), parts.value(2)));
    }
    list.appendRows(texts);
}

struct ExportRow { QStringList rows; int first, last; QString fileName; QByteArray text; int leftOut; };

const QStringList mixedRows{"-01.234 V DC", "-OL V DC", "", "3\t24-03-14\t12:30:25\t12", "0.050 mA DC",
                            "1\t99-12-31\t23:59:59\t 12.111\tV\t50 V\tDC\t Low "};

} // namespace

Q_DECLARE_METATYPE(ExportRow)

// Every indicator on, west of UTC; then texts that must be quoted.
void ReadingExportTest::liveReading()
{
    common::MeterReading overload{"mV", "500 mV", "-OL", "AC", "Range", "LOW BATTERY"};
    overload.overload = overload.negative = overload.minMode = overload.maxMode = overload.relMode = true;
    const ExportedReading exported = recording::exportedReading(overload, QDateTime(QDate(2026, 12, 6), QTime(14, 3, 7, 250), Qt::OffsetFromUTC, -(3 * 3600 + 30 * 60)));
    QCOMPARE(recording::csvLine(exported), QByteArray("2026-12-06T14:03:07.250-03:30,,mV,500 mV,AC Range LOW_BATTERY OL MIN MAX REL,-OL\n"));
    QCOMPARE(recording::jsonLine(exported), QByteArray("{\"time\":\"2026-12-06T14:03:07.250-03:30\",\"value\":null,\"function\":\"mV\",\"range\":\"500 mV\","
                                                       "\"flags\":[\"AC\",\"Range\",\"LOW_BATTERY\",\"OL\",\"MIN\",\"MAX\",\"REL\"],\"display\":\"-OL\"}\n"));
    QCOMPARE(recording::analogLine(exported), QByteArray("14:03:07  -OL mV 500 mV AC Range LOW_BATTERY OL MIN MAX REL\n"));
    const ExportedReading odd{"2024-03-14T12:30:25", "1", "say \"hi\"", "a,b", {"x\ty"}};
    QCOMPARE(recording::csvLine(odd), QByteArray("2024-03-14T12:30:25,1,\"say \"\"hi\"\"\",\"a,b\",x\ty,1\n"));
    QCOMPARE(recording::jsonLine(odd), QByteArray("{\"time\":\"2024-03-14T12:30:25\",\"value\":1,\"function\":\"say \\\"hi\\\"\","
                                                  "\"range\":\"a,b\",\"flags\":[\"x\\ty\"],\"display\":\"1\"}\n"));
}

// The rows "mixed" holds: a recorded line with Low, a piece of a line split
// at a comma, a leading zero. Refused with the reason: nothing left behind, no device replaced. A big
// list is formatted in pieces on several threads: the rows must still come
// out whole, in order, with every left-out row counted.
void ReadingExportTest::listExport_data()
{
    QTest::addColumn<ExportRow>("r");
    const auto row = [](const char *name, ExportRow r) { QTest::newRow(name) << r; };
    const QByteArray header("time,value,function,range,flags,display\n");
    row("mixed, all rows, csv", {mixedRows, 1, -1, "a.csv", header + "2024-03-14T12:30:01,-1.234,V,5 V,DC,-01.234\n2024-03-14T12:30:02,,V,5 V,DC OL,-OL\n"
        "2024-03-14T12:30:25,12,,,,12\n2024-03-14T12:30:05,0.050,mA,5 V,DC,0.050\n1999-12-31T23:59:59,12.111,V,50 V,DC LOW_BATTERY,12.111\n", 1});
    row("span, json lines", {mixedRows, 2, 3, "a.JSONL", "{\"time\":\"2024-03-14T12:30:02\",\"value\":null,\"function\":\"V\",\"range\":\"5 V\","
                                                         "\"flags\":[\"DC\",\"OL\"],\"display\":\"-OL\"}\n", 1});
    row("span beyond the rows", {mixedRows, 6, 99, "a.txt", header + "1999-12-31T23:59:59,12.111,V,50 V,DC LOW_BATTERY,12.111\n", 0});
    // A record row alone (its cells tab-joined): its CSV line, none when it holds no reading.
    const auto record = [&](const char *name, const char *cells, const QByteArray &csv) { row(name, {{cells}, 1, -1, "a.csv", header + csv, csv.isEmpty() ? 1 : 0}); };
    record("overloaded, low battery", "2\t99-12-31\t23:59:59\t  -OL  \tOhm\t5K Ohm\tBEEP\t Low ", "1999-12-31T23:59:59,,Ohm,5K Ohm,BEEP LOW_BATTERY OL,-OL\n");
    record("all zeros", "1\t24-03-14\t12:30:25\t000.0", "2024-03-14T12:30:25,0.0,,,,000.0\n");
    record("bare point", "1\t24-03-14\t12:30:25\t.5", "2024-03-14T12:30:25,0.5,,,,.5\n");
    record("beyond double precision", "1\t24-03-14\t12:30:25\t12345678901234567.891", "2024-03-14T12:30:25,12345678901234567.891,,,,12345678901234567.891\n");
    record("69 is 1969", "1\t69-01-01\t00:00:00\t1", "1969-01-01T00:00:00,1,,,,1\n");
    record("68 is 2068", "1\t68-07-04\t12:00:00\t1", "2068-07-04T12:00:00,1,,,,1\n");
    record("no 29 February in 2001", "1\t01-02-29\t00:00:00\t1", "");
    record("four-digit year", "1\t2024-01-01\t00:00:00\t1", "");
    record("date not a date", "3\t24/03/14\t12:30:25\t1.0\tV", "");
    record("value not a number", "3\t24-03-14\t12:30:25\tabc\tV", "");
    record("two points", "3\t24-03-14\t12:30:25\t1.2.3", "");
    record("empty value", "3\t24-03-14\t12:30:25\t", "");
    row("empty list", {{}, 1, -1, "a.jsonl", {}, 0});
    row("device written in place", {mixedRows, 1, -1, "/dev/null", {}, 1});
    row("missing folder", {mixedRows, 1, -1, "/nonexistent-folder/rows.csv", {}, -1});
    row("folder as file", {mixedRows, 1, -1, "/tmp", {}, -1});
    row("full device, written in place", {mixedRows, 1, -1, "/dev/full", {}, -1});
    ExportRow big{{}, 1, -1, "big.csv", header, 40};
    for (int n = 1; n <= 40000; ++n) {
        big.rows << (n % 1000 == 0 ? QString() : QStringLiteral("%1\t24-03-14\t12:30:00\t%1\tV\t50 V\tDC\t").arg(n));
        big.text += n % 1000 == 0 ? QByteArray() : QByteArray("2024-03-14T12:30:00,%1,V,50 V,DC,%1\n").replace("%1", QByteArray::number(n));
    }
    row("40000 rows, every thousandth empty", big);
}

void ReadingExportTest::listExport()
{
    QFETCH(ExportRow, r);
    recording::RecordListModel list;
    fill(list, r.rows);
    QTemporaryDir dir;
    const QString path = r.fileName.startsWith(u'/') ? r.fileName : dir.filePath(r.fileName);
    const recording::ExportResult result = recording::exportList(list, {r.first, r.last}, path);
    QCOMPARE(result.ok, r.leftOut >= 0);
    if (!result.ok) {
        QVERIFY2(result.errorText.startsWith("cannot write to " + path + ": ") && result.errorText.size() > path.size() + 18,
                 qPrintable(result.errorText));
        QCOMPARE(recording::exportMessage(result, path), result.errorText);
        QVERIFY(!QFileInfo(path).isFile());
        return;
    }
    QCOMPARE(result.leftOut, r.leftOut);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), r.text);
    if (!path.startsWith(QLatin1String("/dev/")))
        QCOMPARE(result.written, r.text.count('\n') - (r.text.startsWith("time,") ? 1 : 0));
}

void ReadingExportTest::statistics_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("last"); // from the second row when given, else from the first
    QTest::addColumn<QString>("lines"); // "*": digits past long double's own
    const QString noneLeft("Left out: 0 overloaded, 0 of another function, 0 without a reading");
    QTest::newRow("ends exact on the texts, first of equals kept")
        << QStringList{"12.111 V DC", "-01.234 V DC", "012.110 V DC", "-1.2340 V DC"} << -1
        << "Function: V DC\nReadings: 4\nMinimum: -1.234 (record 2, 2024-03-14T12:30:02)\n"
           "Maximum: 12.111 (record 1, 2024-03-14T12:30:01)\nMean: 5.43825\nStandard deviation: 7.70445\n"
               + noneLeft;
    QTest::newRow("beyond double precision")
        << QStringList{"0.10000000000000000002 V", "0.10000000000000000001 V", "-0.000 V"} << 9
        << "Function: V\nReadings: 2\nMinimum: 0.000 (record 3, 2024-03-14T12:30:03)\n"
           "Maximum: 0.10000000000000000001 (record 2, 2024-03-14T12:30:02)\n"
           "Mean: *\nStandard deviation: *\n"
               + noneLeft;
    QTest::newRow("function of the first reading, the rest left out")
        << mixedRows << -1
        << "Function: V DC\nReadings: 2\nMinimum: -1.234 (record 1, 2024-03-14T12:30:01)\n"
           "Maximum: 12.111 (record 6, 1999-12-31T23:59:59)\nMean: 5.4385\nStandard deviation: 9.4363\n"
           "Left out: 1 overloaded, 2 of another function, 1 without a reading";
    QTest::newRow("a single reading")
        << QStringList{"", "1.5 Ohm"} << -1
        << "Function: Ohm\nReadings: 1\nMinimum: 1.5 (record 2, 2024-03-14T12:30:02)\n"
           "Maximum: 1.5 (record 2, 2024-03-14T12:30:02)\nMean: 1.50\nStandard deviation: -\n"
           "Left out: 0 overloaded, 0 of another function, 1 without a reading";
    QTest::newRow("all overloaded")
        << QStringList{"OL mV", "-OL mV"} << -1
        << "No reading to count.\nLeft out: 2 overloaded, 0 of another function, 0 without a reading";
}

void ReadingExportTest::statistics()
{
    QFETCH(QStringList, rows);
    QFETCH(int, last);
    recording::RecordListModel list;
    fill(list, rows);
    QFETCH(QString, lines);
    QStringList shown = recording::statisticsLines(recording::listStatistics(list, {last < 0 ? 1 : 2, last}));
    const QStringList expected = lines.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::min(shown.size(), expected.size()); ++i)
        shown[i] = expected[i].endsWith(QLatin1String(": *")) ? expected[i] : shown[i];
    QCOMPARE(shown, expected);
}

QTEST_GUILESS_MAIN(ReadingExportTest)
#include "tst_readingexport.moc"
