#include "recording/memoryselection.h"
#include "recording/recordlistmodel.h"

#include <QTest>

#include <memory>

using recording::RangeBoxes;

namespace {

// A list whose TIME cells name their row ("T1", "T2", ...), with the unit
// of the first record given.
std::unique_ptr<recording::RecordListModel> listOf(int records, const QString &unit = QStringLiteral("V"))
{
    auto list = std::make_unique<recording::RecordListModel>();
    for (int row = 1; row <= records; ++row)
        list->appendRow({QString::number(row), "24-01-15", "T" + QString::number(row), " 1",
                         row == 1 ? unit : "V", "5 V", "DC", ""});
    return list;
}

} // namespace

class MemorySelectionTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void graphNeedsTwoRecords_data();
    void graphNeedsTwoRecords();
    void graphTakesTheMiddleTime_data();
    void graphTakesTheMiddleTime();
    void graphSetsTheFullScale_data();
    void graphSetsTheFullScale();
    void applyChecksTheSelection_data();
    void applyChecksTheSelection();
    void limitBoxesShowTheSelection();
};

void MemorySelectionTest::graphNeedsTwoRecords_data()
{
    QTest::addColumn<int>("records");
    QTest::newRow("empty list") << 0;
    QTest::newRow("one record") << 1;
}

void MemorySelectionTest::graphNeedsTwoRecords()
{
    QFETCH(int, records);
    common::SharedValues shared;
    shared.memMax = 77;
    const auto warning = recording::prepareMemoryGraph(*listOf(records), shared);
    QVERIFY(warning);
    QCOMPARE(warning->text, QStringLiteral("Only 1 Record !"));
    QCOMPARE(warning->title, QStringLiteral("Warning"));
    QCOMPARE(shared.memTotal, double(records));
    QCOMPARE(shared.memMax, 77.0);
}

void MemorySelectionTest::graphTakesTheMiddleTime_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("middle");
    QTest::newRow("2 records") << 2 << "T1";
    QTest::newRow("4 records: row 2") << 4 << "T2";
    QTest::newRow("5 records: 2.5 gives row 2") << 5 << "T2";
    QTest::newRow("7 records: 3.5 gives row 4") << 7 << "T4";
}

void MemorySelectionTest::graphTakesTheMiddleTime()
{
    QFETCH(int, records);
    common::SharedValues shared;
    QVERIFY(!recording::prepareMemoryGraph(*listOf(records), shared));
    QTEST(shared.memTimeMid, "middle");
    QCOMPARE((QStringList{shared.memTimeFirst, shared.memTimeLast}), (QStringList{"T1", "T" + QString::number(records)}));
    QCOMPARE((QList<double>{shared.memFirst, shared.memLast, shared.memCount, shared.memMin}),
             (QList<double>{1, double(records), double(records), 0}));
}

void MemorySelectionTest::graphSetsTheFullScale_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("limit");
    QTest::newRow("V") << "V" << 1000.0;
    QTest::newRow("Ohm") << "Ohm" << 50000000.0;
    QTest::newRow("unlisted keeps the previous") << "BEEP" << 123.0;
    QTest::newRow("compared exactly") << " V" << 123.0;
}

void MemorySelectionTest::graphSetsTheFullScale()
{
    QFETCH(QString, unit);
    QFETCH(double, limit);
    common::SharedValues shared;
    shared.memScaleLimit = 123;
    QVERIFY(!recording::prepareMemoryGraph(*listOf(3, unit), shared));
    QCOMPARE(shared.memScaleLimit, limit);
    QCOMPARE(shared.memMax, limit);
}

void MemorySelectionTest::applyChecksTheSelection_data()
{
    QTest::addColumn<RangeBoxes>("boxes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<double>("count"); // when accepted
    const QString invalid = QStringLiteral(" Invalid No.s,  please try again !");
    const QString negative = QStringLiteral("Input No.s must be >=0, please try again !");
    QTest::newRow("middle half to even") << RangeBoxes{"1", "4", "0", "500"} << "" << QStringList{"T1", "T2", "T4"} << 4.0;
    QTest::newRow("from 0: count is TO, caption time")
        << RangeBoxes{"0", "10", "0", "500"} << "" << QStringList{"  TIME", "T5", "T10"} << 10.0;
    QTest::newRow("texts with units") << RangeBoxes{" 3 rec", "5x", "1.5 V", "2e3"} << ""
                                      << QStringList{"T3", "T4", "T5"} << 3.0;
    QTest::newRow("MAX at full scale") << RangeBoxes{"1", "10", "0", "1000"} << "" << QStringList{"T1", "T6", "T10"} << 10.0;
    QTest::newRow("FROM equals TO") << RangeBoxes{"3", "3", "0", "500"} << invalid << QStringList{} << 1.0;
    QTest::newRow("MIN equals MAX") << RangeBoxes{"1", "10", "500", "500"} << invalid << QStringList{} << 10.0;
    QTest::newRow("MAX above full scale") << RangeBoxes{"1", "10", "0", "1001"} << invalid << QStringList{} << 10.0;
    QTest::newRow("count above total") << RangeBoxes{"0", "11", "0", "500"} << invalid << QStringList{} << 11.0;
    QTest::newRow("last beyond the last row") << RangeBoxes{"5", "12", "0", "500"} << invalid << QStringList{} << 8.0;
    QTest::newRow("record number not whole") << RangeBoxes{"1.5", "4", "0", "500"} << invalid << QStringList{} << 3.5;
    QTest::newRow("negative before invalid") << RangeBoxes{"4", "4", "0", "-1"} << negative << QStringList{} << 1.0;
}

void MemorySelectionTest::applyChecksTheSelection()
{
    QFETCH(RangeBoxes, boxes);
    QFETCH(QString, message);
    QFETCH(QStringList, times);
    const auto list = listOf(10);
    common::SharedValues shared;
    QVERIFY(!recording::prepareMemoryGraph(*list, shared)); // total 10, full scale 1000
    shared.memTimeFirst = shared.memTimeMid = shared.memTimeLast = QStringLiteral("kept");

    const auto refusal = recording::applyMemoryRange(boxes, *list, shared);
    if (message.isEmpty()) {
        QVERIFY(!refusal);
        QTEST(shared.memCount, "count");
        QCOMPARE((QStringList{shared.memTimeFirst, shared.memTimeMid, shared.memTimeLast}), times);
        return;
    }
    QVERIFY(refusal);
    QCOMPARE(refusal->text, message);
    QCOMPARE(refusal->icon, platform::MessageIcon::Critical);
    // Nothing changes: LIMIT and the graph go on from the last good selection.
    QCOMPARE((QList<double>{shared.memFirst, shared.memLast, shared.memCount, shared.memMin,
                            shared.memMax, shared.memScaleLimit}),
             (QList<double>{1, 10, 10, 0, 1000, 1000}));
    QCOMPARE(shared.memTimeFirst, QStringLiteral("kept"));
}

void MemorySelectionTest::limitBoxesShowTheSelection()
{
    common::SharedValues shared;
    shared.memFirst = 2;
    shared.memLast = 86400;
    shared.memMin = 0.5;
    shared.memMax = 50000000;
    QCOMPARE(recording::memoryRangeBoxes(shared), (RangeBoxes{"2", "86400", "0.5", "50000000"}));
}

QTEST_GUILESS_MAIN(MemorySelectionTest)
#include "tst_memoryselection.moc"
