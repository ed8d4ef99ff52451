// GRAPH of the downloaded-record list and the apply of its range window:
// the shared rec* values, scaleMax, and the checks with their messages.

#include "reclist/recselection.h"
#include "recording/recordlistmodel.h"

#include <QTest>

#include <algorithm>

namespace {

const QString negativeInput = QStringLiteral("Input No.s must be >=0, please try again !");
const QString invalid = QStringLiteral(" Invalid No.s,  please try again !");

// Records 1..count stamped 10:00:01, 10:00:02, ..., in the given unit and
// ranges (the last range repeats).
void fill(recording::RecordListModel &list, int count, const QString &unit = QStringLiteral("mV"),
          const QStringList &ranges = {QStringLiteral("500 mV")})
{
    for (int n = 1; n <= count; ++n)
        list.appendRow({QString::number(n) + QStringLiteral("\t24-03-05\t10:00:")
                        + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'))
                        + QStringLiteral("\t 1.2345\t") + unit + QLatin1Char('\t')
                        + ranges.at(std::min(n, int(ranges.size())) - 1) + QStringLiteral("\tDC\t")});
}

// The selection a graph draws, in one comparable piece.
QList<double> selection(const common::SharedValues &shared)
{
    return {shared.recFirst, shared.recLast, shared.recCount, shared.recMin, shared.scaleMax,
            shared.recScaleLimit};
}

} // namespace

class RecSelectionTest : public QObject
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
    void boxes();
};

void RecSelectionTest::graph_data()
{
    QTest::addColumn<double>("recTotal");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("warned");
    QTest::addColumn<double>("count");
    QTest::addColumn<QStringList>("times"); // first, middle, last

    QTest::newRow("one record") << 1.0 << 1 << true << 1.0 << QStringList{};
    QTest::newRow("no records") << 0.0 << 0 << true << 0.0 << QStringList{};
    QTest::newRow("four records, middle row 2") << 4.0 << 4 << false << 4.0
                                                << QStringList{"10:00:01", "10:00:02", "10:00:04"};
    QTest::newRow("seven records, middle row 4") << 7.0 << 7 << false << 7.0
                                                 << QStringList{"10:00:01", "10:00:04", "10:00:07"};
    QTest::newRow("five records, middle row 2") << 5.0 << 5 << false << 5.0
                                                << QStringList{"10:00:01", "10:00:02", "10:00:05"};
    QTest::newRow("one row fewer than the set (value flag)")
        << 10.0 << 9 << false << 9.0 << QStringList{"10:00:01", "10:00:04", "10:00:09"};
    QTest::newRow("another set chosen since, of one record") << 1.0 << 6 << true << 1.0
                                                             << QStringList{};
    QTest::newRow("list of one, set count larger") << 30.0 << 1 << true << 1.0 << QStringList{};
}

void RecSelectionTest::graph()
{
    QFETCH(double, recTotal);
    QFETCH(int, rows);
    QFETCH(bool, warned);
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
    QCOMPARE(warning.has_value(), warned);
    if (warned) {
        QCOMPARE(warning->text, QStringLiteral("Only 1 Record !"));
        QCOMPARE(warning->title, QStringLiteral("Warning"));
        QCOMPARE(shared.recMin, 7.0); // nothing else changed
        QCOMPARE(shared.recScaleLimit, 99.0);
        return;
    }
    QCOMPARE((QStringList{shared.recTimeFirst, shared.recTimeMid, shared.recTimeLast}), times);
    QCOMPARE(shared.recScaleLimit, 500.0);
    QCOMPARE(shared.recScaleHalf, 250.0);
    QCOMPARE(shared.recMin, 0.0);
    QCOMPARE(shared.recFirst, 1.0);
    QCOMPARE(shared.recLast, count);
    QCOMPARE(shared.scaleMax, 500.0);
}

void RecSelectionTest::graphStartsFromTheSetsFullScale_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("ranges");
    QTest::addColumn<double>("fullScale");

    QTest::newRow("5 V set") << "V" << QStringList{"5 V"} << 5.0;
    QTest::newRow("autoranged: the largest range met") << "V" << QStringList{"5 V", "50 V", "5 V"}
                                                      << 50.0;
    QTest::newRow("diode shares the range text, not the function") << "Diode" << QStringList{"5 V"}
                                                                  << 5.0;
    QTest::newRow("50M Ohm") << "Ohm" << QStringList{"50M Ohm"} << 50000000.0;
    QTest::newRow("range unlisted: the unit's full scale") << "V" << QStringList{"7 V"} << 1000.0;
    QTest::newRow("neither listed: the previous limit") << "BEEP" << QStringList{""} << 99.0;
}

void RecSelectionTest::graphStartsFromTheSetsFullScale()
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
    QCOMPARE(shared.recScaleLimit, fullScale);
    QCOMPARE(shared.scaleMax, fullScale);
    QCOMPARE(shared.recScaleHalf, fullScale / 2);
}

void RecSelectionTest::apply_data()
{
    QTest::addColumn<recording::RangeBoxes>("boxes");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<double>("count"); // when accepted
    QTest::addColumn<QStringList>("times");

    // 10 rows, recTotal 10, scale limit 500.
    QTest::newRow("valid") << recording::RangeBoxes{"2", "9", "100", "400"} << QString() << 8.0
                           << QStringList{"10:00:02", "10:00:06", "10:00:09"};
    QTest::newRow("valid, half to even middle") << recording::RangeBoxes{"2", "5", "0", "500"}
                                                << QString() << 4.0
                                                << QStringList{"10:00:02", "10:00:04", "10:00:05"};
    QTest::newRow("FROM 0: count is TO, first time from the caption row")
        << recording::RangeBoxes{"0", "4", "0", "500"} << QString() << 4.0
        << QStringList{"  TIME", "10:00:02", "10:00:04"};
    QTest::newRow("negative first") << recording::RangeBoxes{"-1", "4", "0", "500"} << negativeInput
                                    << 6.0 << QStringList{};
    QTest::newRow("negative MIN") << recording::RangeBoxes{"1", "4", "-5", "500"} << negativeInput
                                  << 4.0 << QStringList{};
    QTest::newRow("negative MAX") << recording::RangeBoxes{"1", "4", "0", "-500"} << negativeInput
                                  << 4.0 << QStringList{};
    QTest::newRow("MAX above the copy taken at GRAPH") << recording::RangeBoxes{"1", "4", "0", "501"}
                                                       << invalid << 4.0 << QStringList{};
    QTest::newRow("FROM equal to TO") << recording::RangeBoxes{"3", "3", "0", "500"} << invalid << 1.0
                                      << QStringList{};
    QTest::newRow("FROM above TO") << recording::RangeBoxes{"5", "3", "0", "500"} << invalid << -1.0
                                   << QStringList{};
    QTest::newRow("MIN equal to MAX") << recording::RangeBoxes{"1", "4", "300", "300"} << invalid
                                      << 4.0 << QStringList{};
    QTest::newRow("more records than the set") << recording::RangeBoxes{"1", "11", "0", "500"}
                                               << invalid << 11.0 << QStringList{};
    QTest::newRow("last record beyond the last row")
        << recording::RangeBoxes{"5", "12", "0", "500"} << invalid << 8.0 << QStringList{};
    QTest::newRow("not whole numbers") << recording::RangeBoxes{"1.5", "4", "0", "500"} << invalid
                                       << 3.5 << QStringList{};
    QTest::newRow("empty boxes") << recording::RangeBoxes{"", "", "", ""} << invalid << 0.0
                                 << QStringList{};
}

void RecSelectionTest::apply()
{
    QFETCH(recording::RangeBoxes, boxes);
    QFETCH(QString, message);
    QFETCH(double, count);
    QFETCH(QStringList, times);
    recording::RecordListModel list;
    fill(list, 10);
    common::SharedValues shared;
    shared.recTotal = 10;
    QVERIFY(!reclist::prepareRecGraph(list, shared)); // scale limit 500
    const QList<double> before = selection(shared);

    const auto refusal = reclist::applyRecRange(boxes, list, shared);
    if (!message.isEmpty()) {
        QVERIFY(refusal.has_value());
        QCOMPARE(refusal->text, message);
        QCOMPARE(refusal->icon, platform::MessageIcon::Critical);
        QCOMPARE(selection(shared), before); // a refusal changes nothing
        QCOMPARE(shared.recTimeFirst, QStringLiteral("10:00:01"));
        return;
    }
    QVERIFY(!refusal.has_value());
    QCOMPARE(shared.recCount, count);
    QCOMPARE((QStringList{shared.recTimeFirst, shared.recTimeMid, shared.recTimeLast}), times);
    // The new MAX is the shared full-scale value itself; the limit stays.
    QCOMPARE(shared.scaleMax, boxes.maximum.toDouble());
    QCOMPARE(shared.recMin, boxes.minimum.toDouble());
    QCOMPARE(shared.recScaleLimit, 500.0);
}

void RecSelectionTest::aZoomOrATypoDoesNotStick_data()
{
    QTest::addColumn<recording::RangeBoxes>("first"); // applied on a 5 V set of 10
    QTest::addColumn<bool>("refused");

    QTest::newRow("refused MAX 0") << recording::RangeBoxes{"1", "10", "0", "0"} << true;
    QTest::newRow("zoom to MAX 2") << recording::RangeBoxes{"1", "10", "0", "2"} << false;
    QTest::newRow("refused MAX 50") << recording::RangeBoxes{"1", "10", "0", "50"} << true;
}

void RecSelectionTest::aZoomOrATypoDoesNotStick()
{
    QFETCH(recording::RangeBoxes, first);
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

void RecSelectionTest::boxes()
{
    common::SharedValues shared;
    shared.recFirst = 3;
    shared.recLast = 40;
    shared.recMin = 2.5;
    shared.scaleMax = 5000;
    QCOMPARE(reclist::recRangeBoxes(shared), (recording::RangeBoxes{"3", "40", "2.5", "5000"}));
    // LIMIT: the last record and the graph's top label; the rest as held.
    shared.recLast = 12;
    QCOMPARE(reclist::limitBoxes({"7", "99", "1", "2"}, shared, QStringLiteral("450")),
             (recording::RangeBoxes{"7", "12", "1", "450"}));
}

QTEST_GUILESS_MAIN(RecSelectionTest)
#include "tst_recselection.moc"
