// The data file written and read back on bytes, the record list and where
// its rows start, the list printout and MEMORY_GRAPH's selection, as tables.

#include "recording/datafileformat.h"
#include "recording/datafilereader.h"
#include "recording/listprintout.h"
#include "recording/memoryselection.h"
#include "recording/recordlistmodel.h"
#include "recording/rowindexing.h"
#include "recording/rowstarts.h"
#include "support/recordingprinter.h"
#include "support/scriptedclock.h"
#include "support/scriptedpump.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>

using recording::PrintOutcome;
using recording::RangeBoxes;
using recording::RecordListModel;
using testsupport::RecordingPrinter;
using Offsets = QList<qint64>;

namespace {

// Cells 0..7 of each row joined by '|', the empty ones at the end left off.
QStringList rowsOf(const RecordListModel &list)
{
    QStringList rows;
    for (qint64 row = 1; row <= list.recordCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < RecordListModel::ColumnCount; ++column)
            cells << list.cell(row, column);
        while (!cells.isEmpty() && cells.constLast().isEmpty())
            cells.removeLast();
        rows << cells.join(u'|');
    }
    return rows;
}

// A list whose TIME cells name their row ("T1", "T2" ...).
void fill(RecordListModel &list, int records, const QString &unit = QStringLiteral("V"))
{
    for (int row = 1; row <= records; ++row)
        list.appendRow({QString::number(row), "24-01-15", "T" + QString::number(row), " 1", row == 1 ? unit : "V",
                        "5 V", "DC", ""});
}

const QString invalid = QStringLiteral(" Invalid No.s,  please try again !");
const QByteArray sixteen = "0123456789abcdef";

// change: "", "fail", "clear", "refill", "add", "end", after this many texts
// (-1: in the print dialog); refusal "-": none; linesPrinted -1: some, not all.
struct PrintRow { QString refusal, change; int afterTexts; PrintOutcome::Status status; int linesPrinted; QString reason; };
// Without boxes: GRAPH alone (mid empty: refused, one record); with them, the range applied to 10 rows.
struct MemoryRow { int records; QString unit; double fullScale; QString mid; RangeBoxes boxes = {}; QString message = {}; QStringList times = {}; double count = 0; };

} // namespace

Q_DECLARE_METATYPE(PrintRow)
Q_DECLARE_METATYPE(MemoryRow)

class RecordingTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void recordedLine_data();
    void recordedLine();
    void readsFiles_data();
    void readsFiles();
    void fileRefused();
    void rowStarts_data();
    void rowStarts();
    void keySpans();
    void listCells();
    void printoutLine_data();
    void printoutLine();
    void printout_data();
    void printout();
    void memoryGraph_data();
    void memoryGraph();

private:
    QString write(const QByteArray &bytes)
    {
        QFile file(dir_.filePath(QStringLiteral("in.dat")));
        if (!dir_.isValid() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return file.fileName();
    }
    QTemporaryDir dir_;
};

void RecordingTest::recordedLine_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<recording::PanelTexts>("texts");
    QTest::addColumn<QByteArray>("line");
    const auto row = [](const char *name, QDateTime now, recording::PanelTexts texts, const char *line) { QTest::newRow(name) << now << texts << QByteArray(line); };
    const QDateTime may31(QDate(2026, 5, 31), QTime(14, 3, 7));
    row("no low battery ends with a tab", may31, {"1.234", "V", "5 V", "DC", ""}, "12\t26-05-31\t14:03:07\t 1.234\tV\t5 V\tDC\t\r\n");
    row("low battery ends with Low", may31, {"-0.012", "V", "5 V", "DC", "LOW BATTERY"}, "12\t26-05-31\t14:03:07\t-0.012\tV\t5 V\tDC\tLow\r\n");
    row("padded date and time, overload, empty A/D", QDateTime(QDate(2009, 1, 5), QTime(7, 8, 9)),
        {"OL", "Ohm", "50M Ohm", "", ""}, "12\t09-01-05\t07:08:09\t   OL  \tOhm\t50M Ohm\t\t\r\n");
    row("negative overload", may31, {"-OL", "V", "5 V", "DC", ""}, "12\t26-05-31\t14:03:07\t  -OL  \tV\t5 V\tDC\t\r\n");
    row("overload with a blank is not the mark", may31, {" OL", "V", "5 V", "DC", ""}, "12\t26-05-31\t14:03:07\t  OL\tV\t5 V\tDC\t\r\n");
    row("link lost: empty reading", may31, {"", "", "", "", ""}, "12\t26-05-31\t14:03:07\t \t\t\t\t\r\n");
}

void RecordingTest::recordedLine()
{
    QFETCH(QDateTime, now);
    QFETCH(recording::PanelTexts, texts);
    QTEST(recording::recordedLine(recording::recordedRecord(12, now, texts)), "line");
}

void RecordingTest::readsFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    const auto row = [](const char *name, const QByteArray &bytes, const QStringList &rows) { QTest::newRow(name) << bytes << rows; };
    row("recorded lines", "1\t26-05-31\t14:03:07\t 1.234\tV\t5 V\tDC\t\r\n2\t26-05-31\t14:03:09\t-0.012\tV\t5 V\tDC\tLow\r\n",
        {"1|26-05-31|14:03:07| 1.234|V|5 V|DC", "2|26-05-31|14:03:09|-0.012|V|5 V|DC|Low"});
    row("short and long rows", "a\tb\r\n1\t2\t3\t4\t5\t6\t7\t8\t9\t10\r\n", {"a|b", "1|2|3|4|5|6|7|8"});
    row("LF and CR lines", "1\ta\n2\tc\r3\n", {"1|a", "2|c", "3"});
    row("no last line end", "1\ta\r\n2\tc", {"1|a", "2|c"});
    row("empty file", "", {});
    row("empty line", "a\r\n\r\nb\r\n", {"a", "", "b"});
    row("comma splits a line in two", "3\t14:03:11\t 1,5\tV\r\n", {"3|14:03:11| 1", "5|V"});
    row("blanks before an item, tab is not one", "  a, \tb\r\n", {"a", "|b"});
    row("quoted keeps commas", "\"1\ta,b\t\"\r\n", {"1|a,b"});
    row("rest after the quote skipped", "\"x\"junk,y\r\n", {"x", "y"});
    row("corrupt: no closing quote", "\"abc\r\nd\r\n", {"abc", "d"});
    row("corrupt: quote at the end", "\"", {""});
    row("NUL bytes are text", QByteArray("a\0b\r\n", 5), {QString::fromLatin1("a\0b", 3)});
    row("quoted lines ended by CR alone", "\"1\t\"\r\"2\t,\"x\r\n\r\"\"\r\n", {"1", "2|,", "", ""});
    row("bytes read as Latin-1", "\xb5" "A\tx\r\n", {QStringLiteral("\u00b5A|x")});
    // Scans that jump sixteen bytes a step stop where a byte by byte one does.
    row("comma right after 16 bytes", sixteen + ",x\r\n", {sixteen, "x"});
    row("line end as the 16th byte", "0123456789abcde\r\n" + sixteen + sixteen, {"0123456789abcde", sixteen + sixteen});
    row("quoted past 16 bytes, comma inside", "\"" + sixteen + "," + sixteen + "\"tail,b\n", {sixteen + "," + sixteen, "b"});
    row("quote never closed, 40 bytes", "\"" + sixteen + sixteen + "12345678\n9", {sixteen + sixteen + "12345678", "9"});
    row("tabs on 16-byte edges", sixteen.left(15) + "\t" + sixteen + "\t\tz\n", {sixteen.left(15) + "|" + sixteen + "||z"});
    row("more than eight cells, long", "a\tb\tc\td\te\tf\tg\t" + sixteen + sixteen + "\tnine\tten", {"a|b|c|d|e|f|g|" + sixteen + sixteen});
}

// Cut into chunks of any size and split on several threads, a text gives the
// rows of the whole.
void RecordingTest::readsFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    const QString name = write(bytes);
    for (qsizetype chunk = 1; chunk <= std::max<qsizetype>(bytes.size(), 1); ++chunk) {
        RecordListModel list;
        QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
        recording::ReadOptions options;
        options.chunkBytes = chunk;
        const recording::ReadOutcome outcome = recording::filelistu(list, name, options);
        QVERIFY(outcome.complete && outcome.rowsAdded == rows.size());
        QCOMPARE(rowsOf(list), rows);
        // A row limit stops after exactly that many, wherever the chunks end.
        recording::RowStarts starts;
        const recording::RowIndexing limited{chunk, 2, nullptr, {}};
        QCOMPARE(recording::indexRows(bytes, limited, starts, nullptr), std::min<qsizetype>(rows.size(), 2));
    }
}

// A sparse file over the set limit is refused with its size, copied or mapped.
void RecordingTest::fileRefused()
{
    QFile file(write({}));
    if (!file.resize(2'500'000))
        QSKIP("no sparse file of that size here");
    RecordListModel list;
    recording::ReadOptions options;
    options.sizeLimit = 1'000'000;
    for (bool copy : {false, true}) {
        options.copy = copy;
        const recording::ReadOutcome outcome = recording::filelistu(list, file.fileName(), options);
        QVERIFY2(outcome.tooLarge && !outcome.complete && outcome.errorText.contains("2.5 MB") && list.recordCount() == 0, qPrintable(outcome.errorText));
    }
}

void RecordingTest::rowStarts_data()
{
    QTest::addColumn<Offsets>("offsets");
    QTest::addColumn<qsizetype>("kept"); // after a truncate
    constexpr qint64 gib4 = qint64(1) << 32;
    QTest::newRow("close together") << Offsets{0, 1, 2, 50} << qsizetype(3);
    QTest::newRow("exactly 4 GiB - 1 apart") << Offsets{7, 7 + gib4 - 1, 8 + gib4} << qsizetype(2);
    QTest::newRow("4 GiB apart: a new base") << Offsets{0, gib4, gib4 + 3} << qsizetype(1);
    QTest::newRow("beyond 4 GiB to the limit") << Offsets{3 * gib4 + 9, recording::RowStarts::limit - 1} << qsizetype(0);
}

// Row starts pushed one by one and moved over from pieces read on their own
// read back the same, and a truncate keeps exactly the first ones.
void RecordingTest::rowStarts()
{
    QFETCH(Offsets, offsets);
    QFETCH(qsizetype, kept);
    recording::RowStarts pushed, joined;
    for (const qint64 offset : offsets) {
        pushed.push(offset);
        recording::RowStarts piece;
        piece.push(offset);
        joined.append(std::move(piece));
    }
    for (qsizetype i = 0; i < offsets.size(); ++i)
        QCOMPARE((QList<qint64>{pushed[i], joined[i]}), (QList<qint64>{offsets[i], offsets[i]}));
    QCOMPARE(joined.size(), offsets.size());
    pushed.truncate(kept);
    pushed.push(offsets.last() + 1);
    QCOMPARE((QList<qint64>{pushed.size(), pushed[kept], kept > 0 ? pushed[kept - 1] : -1}),
             (QList<qint64>{kept + 1, offsets.last() + 1, kept > 0 ? offsets[kept - 1] : -1}));
}

// The lowest and highest key a graph reads over a span are those of the
// rows themselves, whether their keys were worked out before more rows were
// read in (those then get theirs as they are read) or after.
void RecordingTest::keySpans()
{
    const recording::RowValuer value = [](const recording::RowCells &cells) { return cells[0].toString().toDouble(); };
    QByteArray first, second;
    std::vector<double> values;
    for (int i = 0; i < 300; ++i) {
        values.push_back((i * 37) % 101 - 50);
        (i < 170 ? first : second) += QByteArray::number(values.back()) + (i % 9 ? "\r\n" : ",7\r\n");
        if (i % 9 == 0)
            values.push_back(7); // a comma makes two rows of one line
    }
    for (const bool keysBefore : {true, false}) {
        RecordListModel list;
        list.setRowValuer(value);
        list.appendFileText(std::make_shared<recording::HeldRowText>(first), {64, 0, nullptr, {}});
        if (keysBefore)
            list.keySpan(1, 1, value);
        list.appendFileText(std::make_shared<recording::HeldRowText>(second), {64, 0, nullptr, {}});
        QCOMPARE(list.recordCount(), qint64(values.size()));
        for (qint64 from = 1; from <= list.recordCount(); from += 7) {
            for (qint64 to = from; to <= list.recordCount(); to += 5) {
                const auto [low, high] = std::minmax_element(values.begin() + from - 1, values.begin() + to);
                const recording::KeySpan span = list.keySpan(from, to, value);
                QVERIFY2(span.low == *low && span.high == *high, qPrintable(QString("%1..%2").arg(from).arg(to)));
            }
        }
    }
}

// File text with a full line and a short one; cells appended with a tab
// inside one (it splits it) and a ninth (dropped); rows handed over laid end
// to end as a download does, one of no bytes. Beyond the last row or column: empty.
void RecordingTest::listCells()
{
    RecordListModel list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.appendFileText("1\t2\t3\t4\t5\t6\t7\t8\r\nshort\r\n");
    list.appendFileText("");
    list.appendRow({"a\tb", "2", "3", "4", "5", "6", "7", "8"});
    list.appendJoinedRows("2\tb3\tc3\t", {0, 3, 3});
    QCOMPARE(rowsOf(list), (QStringList{"1|2|3|4|5|6|7|8", "short", "a|b|2|3|4|5|6|7", "2|b", "", "3|c3"}));
    QCOMPARE((QStringList{list.cell(0, 0), list.headerData(0, Qt::Horizontal).toString(), list.data(list.index(2, 1)).toString(), list.cell(7, 0), list.cell(1, 8)}),
             (QStringList{" REC ", " REC ", "b", "", ""}));
}

void RecordingTest::printoutLine_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("line");
    const auto row = [](const char *name, const QStringList &cells, const QString &line) { QTest::newRow(name) << cells << line; };
    row("low battery and overload", {"86400", "26-06-01", "23:59:59", "   OL  ", "Frequency", "5M Hz", "", "Low"}, "86400  26-06-01    23:59:59     OL    Frequency  5M Hz            Low  ");
    row("longer cell printed whole", {"12345678", "d", "t", "v", "u", "r", "BEEP!!", "b"}, "12345678d           t         v        u          r           BEEP!!b    ");
    row("empty row", {"", "", "", "", "", "", "", ""}, QString(71, QLatin1Char(' ')));
}

void RecordingTest::printoutLine()
{
    QFETCH(QStringList, cells);
    RecordListModel list;
    list.appendRow(cells);
    QTEST(recording::printoutLine(list.rowCells(1)), "line");
}

// A failing printer or a list cleared (closed, filled by a new download) in
// the print dialog or while the lines go out, or the program ending: the job
// is aborted, never sent cut short or empty. Rows only added leave the rows
// asked for, and those are printed.
void RecordingTest::printout_data()
{
    QTest::addColumn<PrintRow>("r");
    using S = PrintOutcome::Status;
    QTest::newRow("printed over pages") << PrintRow{"-", "", 0, S::Printed, 120, ""};
    QTest::newRow("dialog cancelled") << PrintRow{"", "", 0, S::Cancelled, 0, ""};
    QTest::newRow("printer refuses") << PrintRow{"Printer offline", "", 0, S::Failed, 0, "Printer offline"};
    QTest::newRow("new page fails") << PrintRow{"-", "fail", -1, S::Failed, -1, "The printer stopped."};
    QTest::newRow("list closed in the print dialog") << PrintRow{"-", "clear", -1, S::Interrupted, 0, ""};
    QTest::newRow("rows added in the print dialog") << PrintRow{"-", "add", -1, S::Printed, 120, ""};
    QTest::newRow("new download while printing") << PrintRow{"-", "refill", 5, S::Interrupted, 3, ""};
    QTest::newRow("program ending while printing") << PrintRow{"-", "end", 3, S::Interrupted, 1, ""};
}

void RecordingTest::printout()
{
    QFETCH(PrintRow, r);
    testsupport::ScriptedClock clock;
    testsupport::ScriptedPump pump{clock};
    RecordListModel list;
    fill(list, 120);
    RecordingPrinter printer(RecordingPrinter::Setup{100, {827, 400}});
    if (r.refusal != QLatin1String("-"))
        printer.refuseBegin(r.refusal);
    const auto act = [&] {
        if (r.change == QLatin1String("fail"))
            printer.failFromNowOn();
        else if (r.change == QLatin1String("end"))
            pump.setEnding(true);
        if (r.change == QLatin1String("clear") || r.change == QLatin1String("refill"))
            list.clear();
        if (r.change == QLatin1String("refill") || r.change == QLatin1String("add"))
            list.appendRow({"999", "26-06-01", "00:00:00", " 2.0", "V", "5 V", "DC", ""});
    };
    if (r.afterTexts < 0)
        printer.whileChoosing(act);
    else if (!r.change.isEmpty())
        pump.onStep([&](double) {
            if (printer.texts().size() == r.afterTexts)
                act();
        });
    const PrintOutcome outcome = recording::printRecordList(list, printer, pump, "MEMORYLIST");
    QCOMPARE((QList<int>{int(outcome.status), printer.ended(), printer.aborted()}),
             (QList<int>{int(r.status), r.status == PrintOutcome::Status::Printed, r.status == PrintOutcome::Status::Failed ? r.change == "fail" : r.status == PrintOutcome::Status::Interrupted}));
    QCOMPARE(outcome.errorText, r.reason);
    QVERIFY(r.linesPrinted >= 0 ? outcome.linesPrinted == r.linesPrinted : outcome.linesPrinted < 120);
    if (r.status != PrintOutcome::Status::Printed)
        return;
    const QStringList texts = printer.allTexts();
    QVERIFY(printer.documentName() == QLatin1String("MEMORYLIST") && printer.texts().at(0).font.fixedPitch() && printer.pageCount() > 3);
    QCOMPARE(texts.size(), 122);
    QCOMPARE(texts.mid(0, 3), (QStringList{"         Date        Time     Value   Unit       Range      A/D  Bat",
                                           "       --------    --------  -------- ---------  --------   ---  ---",
                                           "1      24-01-15    T1         1       V          5 V         DC        "}));
    QCOMPARE(texts.last().left(4), QStringLiteral("120 "));
    for (const auto &text : printer.texts())
        QVERIFY(text.position.y() <= 400);
    QCOMPARE(printer.pageTexts(1).first().left(2), QString::number(printer.pageTexts(0).size() - 1));
}

void RecordingTest::memoryGraph_data()
{
    QTest::addColumn<MemoryRow>("r");
    const auto row = [](const char *name, MemoryRow r) { QTest::newRow(name) << r; };
    const QString negative = QStringLiteral("Input No.s must be >=0, please try again !");
    row("one record", {1, "V", 77, ""});
    row("2 records", {2, "V", 1000, "T1"});
    row("5 records: 2.5 gives row 2", {5, "V", 1000, "T2"});
    row("7 records: 3.5 gives row 4, Ohm", {7, "Ohm", 50000000, "T4"});
    row("unlisted unit keeps the previous", {3, "BEEP", 77, "T2"});
    row("unit compared exactly", {3, " V", 77, "T2"});
    row("from 0: count is TO, caption time", {10, "V", 1000, "T5", {"0", "10", "0", "500"}, "", {"  TIME", "T5", "T10"}, 10});
    row("texts with units", {10, "V", 1000, "T5", {" 3 rec", "5x", "1.5 V", "2e3"}, "", {"T3", "T4", "T5"}, 3});
    row("MAX at full scale", {10, "V", 1000, "T5", {"1", "10", "0", "1000"}, "", {"T1", "T6", "T10"}, 10});
    row("MAX above full scale", {10, "V", 1000, "T5", {"1", "10", "0", "1001"}, invalid});
    row("last beyond the last row", {10, "V", 1000, "T5", {"5", "12", "0", "500"}, invalid});
    row("negative before invalid", {10, "V", 1000, "T5", {"4", "4", "0", "-1"}, negative});
}

// GRAPH from a previous full scale of 77, then the range window's apply.
void RecordingTest::memoryGraph()
{
    QFETCH(MemoryRow, r);
    RecordListModel list;
    fill(list, r.records, r.unit);
    common::SharedValues shared;
    shared.memMax = shared.memScaleLimit = 77;
    const auto warning = recording::prepareMemoryGraph(list, shared);
    QCOMPARE((QList<double>{shared.memTotal, shared.memMax}), (QList<double>{double(r.records), r.fullScale}));
    QCOMPARE(warning.has_value(), r.mid.isEmpty());
    if (warning) {
        QCOMPARE((QStringList{warning->title, warning->text}), (QStringList{"Warning", "Only 1 Record !"}));
        return;
    }
    QCOMPARE((QStringList{shared.memTimeFirst, shared.memTimeMid, shared.memTimeLast}), (QStringList{"T1", r.mid, "T" + QString::number(r.records)}));
    const QList<double> prepared{1, double(r.records), double(r.records), 0, r.fullScale, r.fullScale};
    QCOMPARE((QList<double>{shared.memFirst, shared.memLast, shared.memCount, shared.memMin, shared.memMax, shared.memScaleLimit}), prepared);
    if (r.boxes.first.isEmpty())
        return;
    shared.memTimeFirst = QStringLiteral("kept");
    const auto refusal = recording::applyMemoryRange(r.boxes, list, shared);
    QCOMPARE(refusal.has_value(), !r.message.isEmpty());
    if (!refusal) {
        QCOMPARE(shared.memCount, r.count);
        QCOMPARE((QStringList{shared.memTimeFirst, shared.memTimeMid, shared.memTimeLast}), r.times);
        QCOMPARE(recording::memoryRangeBoxes(shared).first, QString::number(shared.memFirst));
        return;
    }
    QVERIFY(refusal->text == r.message && refusal->icon == platform::MessageIcon::Critical);
    // Nothing changes: LIMIT and the graph go on from the last good selection.
    QCOMPARE((QList<double>{shared.memFirst, shared.memLast, shared.memCount, shared.memMin, shared.memMax, shared.memScaleLimit}), prepared);
    QCOMPARE(shared.memTimeFirst, QStringLiteral("kept"));
    std::tie(shared.memLast, shared.memMin, shared.memMax) = std::tuple(86400.0, 0.5, 50000000.0);
    QCOMPARE(recording::memoryRangeBoxes(shared), (RangeBoxes{"1", "86400", "0.5", "50000000"}));
}

QTEST_MAIN(RecordingTest)
#include "tst_recording.moc"
