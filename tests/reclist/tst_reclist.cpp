// The downloaded-record list: GRAPH and the range window's apply (the
// shared rec* values, scaleMax, the checks and their messages), and SAVE
// (quoted lines that OPEN FILE reads back, all or nothing).

#include "reclist/listsave.h"
#include "reclist/recselection.h"
#include "recording/datafilereader.h"
#include "recording/datafilewriter.h"
#include "recording/recordlistmodel.h"
#include "support/filesizelimit.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using recording::RangeBoxes;
using Status = reclist::SaveOutcome::Status;

namespace {

const QString invalid = QStringLiteral(" Invalid No.s,  please try again !");
const QStringList downloadedRows{"1\t00-02-28\t23:59:55\t 123.45\tmV\t500 mV\tDC\t",
                                 "2\t00-02-29\t00:00:00\t-OL    \tV\t50 V\tDC\t Low ",
                                 "3\t00-02-29\t00:00:05\t 001.20\tOhm\t500 Ohm\tBEEP\t"};

// Records 1..count stamped 10:00:01, 10:00:02 ..., the last range repeating.
void fill(recording::RecordListModel &list, int count, const QString &unit = QStringLiteral("mV"),
          const QStringList &ranges = {QStringLiteral("500 mV")})
{
    for (int n = 1; n <= count; ++n)
        list.appendRow({QStringLiteral("%1\t24-03-05\t10:00:%2\t 1.2345\t%3\t%4\tDC\t")
                            .arg(n).arg(n, 2, 10, QLatin1Char('0')).arg(unit, ranges.at(std::min(n, int(ranges.size())) - 1))});
}

QList<double> selection(const common::SharedValues &shared)
{
    return {shared.recFirst, shared.recLast, shared.recCount, shared.recMin, shared.scaleMax, shared.recScaleLimit, shared.recScaleHalf};
}

// A file dialog during which other events run, as they do in a modal one.
class DialogsThatLetEventsRun : public testsupport::ScriptedDialogs
{
public:
    std::function<void()> meanwhile = [] {};
    FileChoice saveFile(const QString &initialName, const QString &filter) override
    {
        meanwhile();
        return ScriptedDialogs::saveFile(initialName, filter);
    }
};

// GRAPH on `rows` records (mid empty: refused, one record); then, with
// boxes, the range window's apply; with `again`, GRAPH again afterwards.
struct GraphRow { double recTotal; int rows; QString unit; QStringList ranges; double count, fullScale; QString mid;
                  RangeBoxes boxes = {}; QString message = {}; double applied = 0; QStringList times = {}; bool again = false; };
struct SaveRow { QString answer; int records, change, diskRoom; Status status; QString told; };

} // namespace

Q_DECLARE_METATYPE(GraphRow)
Q_DECLARE_METATYPE(SaveRow)

class RecListTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void graph_data();
    void graph();
    void save_data();
    void save();
};

void RecListTest::graph_data()
{
    // The previous limit was 99, an earlier zoom 2.
    QTest::addColumn<GraphRow>("r");
    const auto row = [](const char *name, GraphRow r) { QTest::newRow(name) << r; };
    row("one record", {1, 1, "mV", {"500 mV"}, 1, 99, ""});
    row("list of one, set count larger", {30, 1, "mV", {"500 mV"}, 1, 99, ""});
    row("five records, middle row 2", {5, 5, "mV", {"500 mV"}, 5, 500, "10:00:02"});
    row("one row fewer than the set (value flag)", {10, 9, "mV", {"500 mV"}, 9, 500, "10:00:04"});
    row("autoranged: the largest range met", {4, 4, "V", {"5 V", "50 V", "5 V"}, 4, 50, "10:00:02"});
    row("diode shares the range text, not the function", {4, 4, "Diode", {"5 V"}, 4, 5, "10:00:02"});
    row("50M Ohm", {4, 4, "Ohm", {"50M Ohm"}, 4, 50000000, "10:00:02"});
    row("range unlisted: the unit's full scale", {4, 4, "V", {"7 V"}, 4, 1000, "10:00:02"});
    row("neither listed: the previous limit", {4, 4, "BEEP", {""}, 4, 99, "10:00:02"});
    const auto apply = [](const char *name, RangeBoxes boxes, QString message, double count = 0, QStringList times = {}) {
        QTest::newRow(name) << GraphRow{10, 10, "mV", {"500 mV"}, 10, 500, "10:00:05", boxes, message, count, times};
    };
    apply("valid", {"2", "9", "100", "400"}, "", 8, {"10:00:02", "10:00:06", "10:00:09"});
    apply("valid, half to even middle", {"2", "5", "0", "500"}, "", 4, {"10:00:02", "10:00:04", "10:00:05"});
    apply("FROM 0: count is TO, first time from the caption row", {"0", "4", "0", "500"}, "", 4, {"  TIME", "10:00:02", "10:00:04"});
    apply("negative MIN", {"1", "4", "-5", "500"}, "Input No.s must be >=0, please try again !");
    apply("MAX above the copy taken at GRAPH", {"1", "4", "0", "501"}, invalid);
    apply("FROM equal to TO", {"3", "3", "0", "500"}, invalid);
    apply("more records than the set", {"1", "11", "0", "500"}, invalid);
    apply("last record beyond the last row", {"5", "12", "0", "500"}, invalid);
    apply("not whole numbers", {"1.5", "4", "0", "500"}, invalid);
    // A zoom or a typo does not stick: GRAPH again starts from the full scale.
    const QStringList again{"10:00:01", "10:00:06", "10:00:10"};
    row("refused MAX 0, GRAPH again", {10, 10, "V", {"5 V"}, 10, 5, "10:00:05", {"1", "10", "0", "0"}, invalid, 0, {}, true});
    row("zoom to MAX 2, GRAPH again", {10, 10, "V", {"5 V"}, 10, 5, "10:00:05", {"1", "10", "0", "2"}, "", 10, again, true});
    row("refused MAX 50, GRAPH again", {10, 10, "V", {"5 V"}, 10, 5, "10:00:05", {"1", "10", "0", "50"}, invalid, 0, {}, true});
}

void RecListTest::graph()
{
    QFETCH(GraphRow, r);
    recording::RecordListModel list;
    fill(list, r.rows, r.unit, r.ranges);
    common::SharedValues shared;
    std::tie(shared.recTotal, shared.scaleMax, shared.recMin, shared.recScaleLimit) = std::tuple(r.recTotal, 2.0, 7.0, 99.0);
    const auto warning = reclist::prepareRecGraph(list, shared);
    QCOMPARE(shared.recCount, r.count);
    QCOMPARE(warning.has_value(), r.mid.isEmpty());
    if (warning) {
        QCOMPARE((QStringList{warning->title, warning->text}), (QStringList{"Warning", "Only 1 Record !"}));
        QCOMPARE((QList<double>{shared.recMin, shared.recScaleLimit}), (QList<double>{7, 99})); // nothing else changed
        return;
    }
    QCOMPARE((QStringList{shared.recTimeFirst, shared.recTimeMid, shared.recTimeLast}),
             (QStringList{"10:00:01", r.mid, QStringLiteral("10:00:%1").arg(r.rows, 2, 10, QLatin1Char('0'))}));
    const QList<double> prepared{1, r.count, r.count, 0, r.fullScale, r.fullScale, r.fullScale / 2};
    QCOMPARE(selection(shared), prepared);
    if (r.boxes.first.isEmpty())
        return;
    const auto refusal = reclist::applyRecRange(r.boxes, list, shared);
    QCOMPARE(refusal.has_value(), !r.message.isEmpty());
    if (refusal) {
        QVERIFY(refusal->text == r.message && refusal->icon == platform::MessageIcon::Critical);
        QCOMPARE(selection(shared), prepared); // a refusal changes nothing
        QCOMPARE(shared.recTimeFirst, QStringLiteral("10:00:01"));
    } else {
        QCOMPARE((QStringList{shared.recTimeFirst, shared.recTimeMid, shared.recTimeLast}), r.times);
        // The new MAX is the shared full-scale value itself; the limit stays.
        QCOMPARE((QList<double>{shared.recCount, shared.scaleMax, shared.recMin, shared.recScaleLimit}),
                 (QList<double>{r.applied, r.boxes.maximum.toDouble(), r.boxes.minimum.toDouble(), r.fullScale}));
        QCOMPARE(reclist::recRangeBoxes(shared), r.boxes);
        shared.recLast = 12; // LIMIT: the last record and the graph's top label; the rest as held
        QCOMPARE(reclist::limitBoxes({"7", "99", "1", "2"}, shared, QStringLiteral("450")), (RangeBoxes{"7", "12", "1", "450"}));
    }
    if (!r.again)
        return;
    QVERIFY(!reclist::prepareRecGraph(list, shared));
    QCOMPARE(selection(shared), prepared);
    QVERIFY(!reclist::applyRecRange({"1", "10", "0", "5"}, list, shared)); // back to the full scale is allowed
    QVERIFY(reclist::applyRecRange({"1", "10", "0", "50"}, list, shared));
    QCOMPARE(shared.scaleMax, 5.0);
}

void RecListTest::save_data()
{
    // The answer: "cancel", "folder" (no file title), a file name in the test's folder; "" asks
    // nothing. While the dialog is up the list is closed (0) or rows added (2); diskRoom -1: no limit.
    QTest::addColumn<SaveRow>("r");
    const auto row = [](const char *name, SaveRow r) { QTest::newRow(name) << r; };
    row("saved over an older file", {"kept.dat", 3, -1, -1, Status::Saved, ""});
    row("list closed in the dialog", {"kept.dat", 3, 0, -1, Status::Saved, ""});
    row("rows added in the dialog", {"kept.dat", 3, 2, -1, Status::Saved, ""});
    row("cancelled", {"cancel", 3, -1, -1, Status::Cancelled, ""});
    row("no file title", {"folder", 3, -1, -1, Status::Cancelled, ""});
    row("empty list: told, nothing asked", {"", 0, -1, -1, Status::Empty, "?"});
    row("disk full: the old file stays", {"kept.dat", 1200, -1, 4096, Status::Failed, "File %1kept.dat not saved ! "});
    row("folder missing", {"no/set.dat", 3, -1, -1, Status::Failed, "File %1no/set.dat not saved ! "});
}

void RecListTest::save()
{
    QFETCH(SaveRow, r);
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("kept.dat"));
    const QByteArray old("\"1\t24-01-01\t00:00:00\t 1.0\tV\t5 V\tDC\t\t\"\r\n");
    QFile file(kept);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
    file.close();
    recording::RecordListModel list;
    for (int i = 0; i < r.records; ++i)
        list.appendRow({downloadedRows[i % 3]});
    const QByteArray seen = recording::listFileBytes(list);
    DialogsThatLetEventsRun dialogs;
    dialogs.meanwhile = [&] { r.change == 0 ? list.clear() : r.change == 2 ? list.appendRow({downloadedRows[1]}) : void(); };
    if (r.answer == QLatin1String("cancel"))
        dialogs.queueSaveCancel();
    else if (!r.answer.isEmpty())
        dialogs.queueSaveFile(r.answer == QLatin1String("folder") ? dir.path() + '/' : dir.filePath(r.answer));
    common::SharedValues shared;
    shared.saveFileName = QStringLiteral("earlier.dat");
    QList<bool> busy;
    std::optional<testsupport::FileSizeLimit> full;
    if (r.diskRoom >= 0)
        full.emplace(r.diskRoom);
    const reclist::SaveOutcome outcome = reclist::saveRecordList(dialogs, list, shared, [&](bool on) { busy << on; });
    full.reset();
    QCOMPARE((QList<int>{int(outcome.status), int(dialogs.fileRequests().size()), outcome.notice.has_value()}),
             (QList<int>{int(r.status), r.answer.isEmpty() ? 0 : 1, !r.told.isEmpty()}));
    if (r.told.size() > 1) {
        const QString start = QString(r.told).replace("%1", dir.path() + '/');
        QVERIFY2(outcome.notice->text.startsWith(start) && outcome.notice->text.size() > start.size() && outcome.notice->icon == platform::MessageIcon::Critical,
                 qPrintable(outcome.notice->text));
    }
    const bool saved = r.status == Status::Saved;
    if (r.status != Status::Failed)
        QCOMPARE((QList<QVariant>{shared.saveFileName, busy.size()}), (QList<QVariant>{saved ? kept : "earlier.dat", saved ? 2 : 0}));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), saved ? seen : old); // the rows seen when SAVE was chosen, or the old file whole
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.dat"}); // no temporary left
    if (!saved)
        return;
    QCOMPARE(seen.split('\n').first(), '"' + downloadedRows[0].toLatin1() + "\t\"\r"); // quoted lines, CR LF
    recording::RecordListModel opened, original; // that OPEN FILE reads back into the same cells
    original.appendRows(downloadedRows);
    QVERIFY(recording::filelistu(opened, kept).complete);
    QCOMPARE(opened.recordCount(), 3);
    for (int row = 1; row <= 3; ++row)
        QCOMPARE(opened.record(row), original.record(row));
}

QTEST_GUILESS_MAIN(RecListTest)
#include "tst_reclist.moc"
