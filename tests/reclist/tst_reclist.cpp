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

const QString negative = QStringLiteral("Input No.s must be >=0, please try again !");
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

// The selection a graph draws, in one comparable piece.
QList<double> selection(const common::SharedValues &shared)
{
    return {shared.recFirst, shared.recLast, shared.recCount, shared.recMin, shared.scaleMax, shared.recScaleLimit};
}

QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
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

struct SaveRow
{
    QString answer;
    int records, change, diskRoom;
    Status status;
    QString told;
};

} // namespace

Q_DECLARE_METATYPE(SaveRow)

class RecListTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void graph_data();
    void graph();
    void graphStartsFromTheSetsFullScale_data();
    void graphStartsFromTheSetsFullScale();
    void apply_data();
    void apply();
    void aZoomOrATypoDoesNotStick_data();
    void aZoomOrATypoDoesNotStick();
    void save_data();
    void save();
};

void RecListTest::graph_data()
{
    QTest::addColumn<double>("recTotal");
    QTest::addColumn<int>("rows");
    QTest::addColumn<double>("count");
    QTest::addColumn<QStringList>("times"); // first, middle, last; empty: "Only 1 Record !"
    QTest::newRow("one record") << 1.0 << 1 << 1.0 << QStringList{};
    QTest::newRow("no records") << 0.0 << 0 << 0.0 << QStringList{};
    QTest::newRow("five records, middle row 2") << 5.0 << 5 << 5.0 << QStringList{"10:00:01", "10:00:02", "10:00:05"};
    QTest::newRow("one row fewer than the set (value flag)") << 10.0 << 9 << 9.0 << QStringList{"10:00:01", "10:00:04", "10:00:09"};
    QTest::newRow("another set chosen since, of one record") << 1.0 << 6 << 1.0 << QStringList{};
    QTest::newRow("list of one, set count larger") << 30.0 << 1 << 1.0 << QStringList{};
}

void RecListTest::graph()
{
    QFETCH(double, recTotal);
    QFETCH(int, rows);
    QFETCH(double, count);
    QFETCH(QStringList, times);
    recording::RecordListModel list;
    fill(list, rows);
    common::SharedValues shared;
    shared.recTotal = recTotal;
    shared.scaleMax = 2; // an earlier zoom
    shared.recMin = 7;
    shared.recScaleLimit = 99;
    const auto warning = reclist::prepareRecGraph(list, shared);
    QCOMPARE(shared.recCount, count);
    QCOMPARE(warning.has_value(), times.isEmpty());
    if (warning) {
        QCOMPARE((QStringList{warning->title, warning->text}), (QStringList{"Warning", "Only 1 Record !"}));
        QCOMPARE((QList<double>{shared.recMin, shared.recScaleLimit}), (QList<double>{7, 99})); // nothing else changed
        return;
    }
    QCOMPARE((QStringList{shared.recTimeFirst, shared.recTimeMid, shared.recTimeLast}), times);
    QCOMPARE(selection(shared), (QList<double>{1, count, count, 0, 500, 500}));
    QCOMPARE(shared.recScaleHalf, 250.0);
}

void RecListTest::graphStartsFromTheSetsFullScale_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("ranges");
    QTest::addColumn<double>("fullScale");
    QTest::newRow("5 V set") << "V" << QStringList{"5 V"} << 5.0;
    QTest::newRow("autoranged: the largest range met") << "V" << QStringList{"5 V", "50 V", "5 V"} << 50.0;
    QTest::newRow("diode shares the range text, not the function") << "Diode" << QStringList{"5 V"} << 5.0;
    QTest::newRow("50M Ohm") << "Ohm" << QStringList{"50M Ohm"} << 50000000.0;
    QTest::newRow("range unlisted: the unit's full scale") << "V" << QStringList{"7 V"} << 1000.0;
    QTest::newRow("neither listed: the previous limit") << "BEEP" << QStringList{""} << 99.0;
}

void RecListTest::graphStartsFromTheSetsFullScale()
{
    QFETCH(QString, unit);
    QFETCH(QStringList, ranges);
    QFETCH(double, fullScale);
    recording::RecordListModel list;
    fill(list, 4, unit, ranges);
    common::SharedValues shared;
    shared.recTotal = 4;
    shared.recScaleLimit = 99;
    shared.scaleMax = 0; // a refused typo used to leave this
    QVERIFY(!reclist::prepareRecGraph(list, shared));
    QCOMPARE((QList<double>{shared.recScaleLimit, shared.scaleMax, shared.recScaleHalf}),
             (QList<double>{fullScale, fullScale, fullScale / 2}));
}

void RecListTest::apply_data()
{
    // 10 rows, recTotal 10, scale limit 500.
    QTest::addColumn<RangeBoxes>("boxes");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<double>("count");
    QTest::addColumn<QStringList>("times");
    QTest::newRow("valid") << RangeBoxes{"2", "9", "100", "400"} << QString() << 8.0 << QStringList{"10:00:02", "10:00:06", "10:00:09"};
    QTest::newRow("valid, half to even middle") << RangeBoxes{"2", "5", "0", "500"} << QString() << 4.0 << QStringList{"10:00:02", "10:00:04", "10:00:05"};
    QTest::newRow("FROM 0: count is TO, first time from the caption row") << RangeBoxes{"0", "4", "0", "500"} << QString() << 4.0
                                                                           << QStringList{"  TIME", "10:00:02", "10:00:04"};
    QTest::newRow("negative first") << RangeBoxes{"-1", "4", "0", "500"} << negative << 0.0 << QStringList{};
    QTest::newRow("negative MIN") << RangeBoxes{"1", "4", "-5", "500"} << negative << 0.0 << QStringList{};
    QTest::newRow("negative MAX") << RangeBoxes{"1", "4", "0", "-500"} << negative << 0.0 << QStringList{};
    QTest::newRow("MAX above the copy taken at GRAPH") << RangeBoxes{"1", "4", "0", "501"} << invalid << 0.0 << QStringList{};
    QTest::newRow("FROM equal to TO") << RangeBoxes{"3", "3", "0", "500"} << invalid << 0.0 << QStringList{};
    QTest::newRow("MIN equal to MAX") << RangeBoxes{"1", "4", "300", "300"} << invalid << 0.0 << QStringList{};
    QTest::newRow("more records than the set") << RangeBoxes{"1", "11", "0", "500"} << invalid << 0.0 << QStringList{};
    QTest::newRow("last record beyond the last row") << RangeBoxes{"5", "12", "0", "500"} << invalid << 0.0 << QStringList{};
    QTest::newRow("not whole numbers") << RangeBoxes{"1.5", "4", "0", "500"} << invalid << 0.0 << QStringList{};
    QTest::newRow("empty boxes") << RangeBoxes{"", "", "", ""} << invalid << 0.0 << QStringList{};
}

void RecListTest::apply()
{
    QFETCH(RangeBoxes, boxes);
    QFETCH(QString, message);
    QFETCH(QStringList, times);
    recording::RecordListModel list;
    fill(list, 10);
    common::SharedValues shared;
    shared.recTotal = 10;
    QVERIFY(!reclist::prepareRecGraph(list, shared));
    const QList<double> before = selection(shared);
    const auto refusal = reclist::applyRecRange(boxes, list, shared);
    QCOMPARE(refusal.has_value(), !message.isEmpty());
    if (refusal) {
        QCOMPARE(refusal->text, message);
        QCOMPARE(refusal->icon, platform::MessageIcon::Critical);
        QCOMPARE(selection(shared), before); // a refusal changes nothing
        QCOMPARE(shared.recTimeFirst, QStringLiteral("10:00:01"));
        return;
    }
    QTEST(shared.recCount, "count");
    QCOMPARE((QStringList{shared.recTimeFirst, shared.recTimeMid, shared.recTimeLast}), times);
    // The new MAX is the shared full-scale value itself; the limit stays.
    QCOMPARE((QList<double>{shared.scaleMax, shared.recMin, shared.recScaleLimit}),
             (QList<double>{boxes.maximum.toDouble(), boxes.minimum.toDouble(), 500}));
    QCOMPARE(reclist::recRangeBoxes(shared), (RangeBoxes{boxes.first, boxes.last, boxes.minimum, boxes.maximum}));
    shared.recLast = 12; // LIMIT: the last record and the graph's top label; the rest as held
    QCOMPARE(reclist::limitBoxes({"7", "99", "1", "2"}, shared, QStringLiteral("450")), (RangeBoxes{"7", "12", "1", "450"}));
}

void RecListTest::aZoomOrATypoDoesNotStick_data()
{
    QTest::addColumn<RangeBoxes>("first"); // applied on a 5 V set of 10
    QTest::addColumn<bool>("refused");
    QTest::newRow("refused MAX 0") << RangeBoxes{"1", "10", "0", "0"} << true;
    QTest::newRow("zoom to MAX 2") << RangeBoxes{"1", "10", "0", "2"} << false;
    QTest::newRow("refused MAX 50") << RangeBoxes{"1", "10", "0", "50"} << true;
}

void RecListTest::aZoomOrATypoDoesNotStick()
{
    QFETCH(RangeBoxes, first);
    QFETCH(bool, refused);
    recording::RecordListModel list;
    fill(list, 10, QStringLiteral("V"), {QStringLiteral("5 V")});
    common::SharedValues shared;
    shared.recTotal = 10;
    QVERIFY(!reclist::prepareRecGraph(list, shared));
    QCOMPARE(reclist::applyRecRange(first, list, shared).has_value(), refused);
    // GRAPH again starts from the full scale, and back to it is allowed.
    QVERIFY(!reclist::prepareRecGraph(list, shared));
    QCOMPARE(selection(shared), (QList<double>{1, 10, 10, 0, 5, 5}));
    QVERIFY(!reclist::applyRecRange({"1", "10", "0", "5"}, list, shared));
    QVERIFY(reclist::applyRecRange({"1", "10", "0", "50"}, list, shared));
    QCOMPARE(shared.scaleMax, 5.0);
}

void RecListTest::save_data()
{
    // The answer: "cancel", "folder" (no file title), a file name in the
    // test's folder; "" asks nothing. The change runs while the dialog is
    // up: the list closed (0), filled anew (1), rows added (2). diskRoom in
    // bytes, -1: no limit.
    QTest::addColumn<SaveRow>("r");
    QTest::newRow("saved over an older file") << SaveRow{"kept.dat", 3, -1, -1, Status::Saved, ""};
    QTest::newRow("list closed in the dialog") << SaveRow{"kept.dat", 3, 0, -1, Status::Saved, ""};
    QTest::newRow("new download in the dialog") << SaveRow{"kept.dat", 3, 1, -1, Status::Saved, ""};
    QTest::newRow("rows added in the dialog") << SaveRow{"kept.dat", 3, 2, -1, Status::Saved, ""};
    QTest::newRow("cancelled") << SaveRow{"cancel", 3, -1, -1, Status::Cancelled, ""};
    QTest::newRow("no file title") << SaveRow{"folder", 3, -1, -1, Status::Cancelled, ""};
    QTest::newRow("empty list: told, nothing asked") << SaveRow{"", 0, -1, -1, Status::Empty, "?"};
    QTest::newRow("disk full: the old file stays") << SaveRow{"kept.dat", 1200, -1, 4096, Status::Failed, "File %1kept.dat not saved ! "};
    QTest::newRow("folder missing") << SaveRow{"no/set.dat", 3, -1, -1, Status::Failed, "File %1no/set.dat not saved ! "};
}

void RecListTest::save()
{
    QFETCH(SaveRow, r);
    const QString &answer = r.answer, &told = r.told;
    const int change = r.change;
    const Status status = r.status;
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
    dialogs.meanwhile = [&] {
        if (change == 0 || change == 1)
            list.clear();
        if (change == 1 || change == 2)
            list.appendRow({downloadedRows[1]});
    };
    if (answer == QLatin1String("cancel"))
        dialogs.queueSaveCancel();
    else if (!answer.isEmpty())
        dialogs.queueSaveFile(answer == QLatin1String("folder") ? dir.path() + '/' : dir.filePath(answer));
    common::SharedValues shared;
    shared.saveFileName = QStringLiteral("earlier.dat");
    QList<bool> busy;
    reclist::SaveOutcome outcome;
    {
        std::optional<testsupport::FileSizeLimit> full;
        if (r.diskRoom >= 0)
            full.emplace(r.diskRoom);
        outcome = reclist::saveRecordList(dialogs, list, shared, [&](bool on) { busy << on; });
    }
    QCOMPARE(outcome.status, status);
    QCOMPARE(dialogs.fileRequests().size(), answer.isEmpty() ? 0 : 1);
    if (!answer.isEmpty())
        QVERIFY(dialogs.fileRequests().first().filter.startsWith(QStringLiteral("Data Files (*.dat)")));
    QCOMPARE(outcome.notice.has_value(), !told.isEmpty());
    if (told.size() > 1) {
        const QString start = QString(told).replace("%1", dir.path() + '/');
        QVERIFY2(outcome.notice->text.startsWith(start) && outcome.notice->text.size() > start.size(), qPrintable(outcome.notice->text));
        QCOMPARE(outcome.notice->icon, platform::MessageIcon::Critical);
    }
    const bool saved = status == Status::Saved;
    if (status != Status::Failed)
        QCOMPARE(shared.saveFileName, saved ? kept : QStringLiteral("earlier.dat"));
    if (status != Status::Failed)
        QCOMPARE(busy, saved ? (QList<bool>{true, false}) : QList<bool>{});
    QCOMPARE(contents(kept), saved ? seen : old); // the rows seen when SAVE was chosen, or the old file whole
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.dat"}); // no temporary left
    if (!saved)
        return;
    QCOMPARE(seen.count('\n'), 3); // quoted lines, CR LF, that OPEN FILE reads back into the same cells
    QCOMPARE(seen.split('\n').first(), '"' + downloadedRows[0].toLatin1() + "\t\"\r");
    recording::RecordListModel opened, original;
    for (const QString &row : downloadedRows)
        original.appendRow({row});
    QVERIFY(recording::filelistu(opened, kept).complete);
    QCOMPARE(opened.recordCount(), 3);
    for (int row = 1; row <= 3; ++row)
        QCOMPARE(opened.record(row), original.record(row));
}

QTEST_GUILESS_MAIN(RecListTest)
#include "tst_reclist.moc"
