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
        list->appendRow({QString::number(row), QStringLiteral("24-01-15"),
                         QStringLiteral("T") + QString::number(row), QStringLiteral(" 1"),
                         row == 1 ? unit : QStringLiteral("V"), QStringLiteral("5 V"), QStringLiteral("DC"),
                         QString()});
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
    void applyKeepsRefusedValues();
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
    const auto list = listOf(records);
    common::SharedValues shared;
    shared.memMax = 77;
    shared.memTimeFirst = QStringLiteral("old");
    const auto warning = recording::prepareMemoryGraph(*list, shared);
    QVERIFY(warning);
    QCOMPARE(warning->text, QStringLiteral("Only 1 Record !"));
    QCOMPARE(warning->title, QStringLiteral("Warning"));
    QCOMPARE(shared.memTotal, double(records));
    QCOMPARE(shared.memMax, 77.0);
    QCOMPARE(shared.memTimeFirst, QStringLiteral("old"));
}

void MemorySelectionTest::graphTakesTheMiddleTime_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("middle");
    QTest::newRow("2 records") << 2 << "T1";
    QTest::newRow("4 records: row 2") << 4 << "T2";
    QTest::newRow("5 records: 2.5 gives row 2") << 5 << "T2";
    QTest::newRow("7 records: 3.5 gives row 4") << 7 << "T4";
    QTest::newRow("10 records") << 10 << "T5";
}

void MemorySelectionTest::graphTakesTheMiddleTime()
{
    QFETCH(int, records);
    QFETCH(QString, middle);
    const auto list = listOf(records);
    common::SharedValues shared;
    QVERIFY(!recording::prepareMemoryGraph(*list, shared));
    QCOMPARE(shared.memTimeFirst, QStringLiteral("T1"));
    QCOMPARE(shared.memTimeMid, middle);
    QCOMPARE(shared.memTimeLast, QStringLiteral("T") + QString::number(records));
    QCOMPARE(shared.memFirst, 1.0);
    QCOMPARE(shared.memLast, double(records));
    QCOMPARE(shared.memCount, double(records));
    QCOMPARE(shared.memMin, 0.0);
}

void MemorySelectionTest::graphSetsTheFullScale_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("limit");
    QTest::newRow("mV") << "mV" << 500.0;
    QTest::newRow("V") << "V" << 1000.0;
    QTest::newRow("Frequency") << "Frequency" << 10000000.0;
    QTest::newRow("Ohm") << "Ohm" << 50000000.0;
    QTest::newRow("Diode") << "Diode" << 5.0;
    QTest::newRow("Cx") << "Cx" << 500000.0;
    QTest::newRow("uA") << "uA" << 6000.0;
    QTest::newRow("mA") << "mA" << 500.0;
    QTest::newRow("A") << "A" << 20.0;
    QTest::newRow("unlisted keeps the previous") << "BEEP" << 123.0;
    QTest::newRow("empty keeps the previous") << "" << 123.0;
    QTest::newRow("compared exactly") << " V" << 123.0;
}

void MemorySelectionTest::graphSetsTheFullScale()
{
    QFETCH(QString, unit);
    QFETCH(double, limit);
    const auto list = listOf(3, unit);
    common::SharedValues shared;
    shared.memScaleLimit = 123;
    QVERIFY(!recording::prepareMemoryGraph(*list, shared));
    QCOMPARE(shared.memScaleLimit, limit);
    QCOMPARE(shared.memMax, limit);
}

void MemorySelectionTest::applyChecksTheSelection_data()
{
    QTest::addColumn<RangeBoxes>("boxes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<double>("count");
    const QString invalid = QStringLiteral(" Invalid No.s,  please try again !");
    const QString negative = QStringLiteral("Input No.s must be >=0, please try again !");
    QTest::newRow("valid") << RangeBoxes{"2", "9", "0", "500"} << "" << QStringList{"T2", "T6", "T9"} << 8.0;
    QTest::newRow("middle half to even") << RangeBoxes{"1", "4", "0", "500"} << "" << QStringList{"T1", "T2", "T4"} << 4.0;
    QTest::newRow("from 0: count is TO, caption time")
        << RangeBoxes{"0", "10", "0", "500"} << "" << QStringList{"  TIME", "T5", "T10"} << 10.0;
    QTest::newRow("texts with units") << RangeBoxes{" 3 rec", "5x", "1.5 V", "2e3"} << ""
                                      << QStringList{"T3", "T4", "T5"} << 3.0;
    QTest::newRow("FROM equals TO") << RangeBoxes{"3", "3", "0", "500"} << invalid << QStringList{} << 1.0;
    QTest::newRow("FROM above TO") << RangeBoxes{"5", "3", "0", "500"} << invalid << QStringList{} << -1.0;
    QTest::newRow("MIN equals MAX") << RangeBoxes{"1", "10", "500", "500"} << invalid << QStringList{} << 10.0;
    QTest::newRow("MAX above full scale") << RangeBoxes{"1", "10", "0", "1001"} << invalid << QStringList{} << 10.0;
    QTest::newRow("MAX at full scale") << RangeBoxes{"1", "10", "0", "1000"} << "" << QStringList{"T1", "T6", "T10"} << 10.0;
    QTest::newRow("count above total") << RangeBoxes{"0", "11", "0", "500"} << invalid << QStringList{} << 11.0;
    QTest::newRow("last beyond the last row") << RangeBoxes{"5", "12", "0", "500"} << invalid << QStringList{} << 8.0;
    QTest::newRow("record number not whole") << RangeBoxes{"1.5", "4", "0", "500"} << invalid << QStringList{} << 3.5;
    QTest::newRow("negative FROM") << RangeBoxes{"-1", "4", "0", "500"} << negative << QStringList{} << 6.0;
    QTest::newRow("negative MIN") << RangeBoxes{"1", "4", "-5", "500"} << negative << QStringList{} << 4.0;
    QTest::newRow("negative before invalid") << RangeBoxes{"4", "4", "0", "-1"} << negative << QStringList{} << 1.0;
    QTest::newRow("empty boxes") << RangeBoxes{"", "", "", ""} << invalid << QStringList{} << 0.0;
}

void MemorySelectionTest::applyChecksTheSelection()
{
    QFETCH(RangeBoxes, boxes);
    QFETCH(QString, message);
    QFETCH(QStringList, times);
    QFETCH(double, count);
    const auto list = listOf(10);
    common::SharedValues shared;
    QVERIFY(!recording::prepareMemoryGraph(*list, shared)); // total 10, full scale 1000
    shared.memTimeFirst = shared.memTimeMid = shared.memTimeLast = QStringLiteral("kept");

    const auto refusal = recording::applyMemoryRange(boxes, *list, shared);
    QCOMPARE(shared.memCount, count);
    if (message.isEmpty()) {
        QVERIFY(!refusal);
        QCOMPARE((QStringList{shared.memTimeFirst, shared.memTimeMid, shared.memTimeLast}), times);
        return;
    }
    QVERIFY(refusal);
    QCOMPARE(refusal->text, message);
    QCOMPARE(refusal->icon, platform::MessageIcon::Critical);
    QCOMPARE(shared.memTimeFirst, QStringLiteral("kept"));
}

void MemorySelectionTest::applyKeepsRefusedValues()
{
    const auto list = listOf(10);
    common::SharedValues shared;
    QVERIFY(!recording::prepareMemoryGraph(*list, shared));
    QVERIFY(recording::applyMemoryRange({"3", "3", "7", "9"}, *list, shared));
    QCOMPARE(shared.memFirst, 3.0);
    QCOMPARE(shared.memLast, 3.0);
    QCOMPARE(shared.memMin, 7.0);
    QCOMPARE(shared.memMax, 9.0);
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
