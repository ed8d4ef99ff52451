#include "graphs/storedgraph.h"
#include "graphs/storedgraphlevel.h"
#include "recording/recordlistmodel.h"

#include <QTest>

using graphs::RangeMatch;

class StoredGraphTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rangeFactor_data();
    void rangeFactor();
    void levelOfARecord_data();
    void levelOfARecord();
    void labelsOfTheValueAxis_data();
    void labelsOfTheValueAxis();
    void unitLabel();
};

void StoredGraphTest::rangeFactor_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<int>("exact");
    QTest::addColumn<int>("containment");
    QTest::newRow("500 Ohm") << "500 Ohm" << 1 << 1;
    QTest::newRow("5K Ohm") << "5K Ohm" << 1000 << 1000;
    QTest::newRow("50M Ohm") << "50M Ohm" << 1000000 << 1000000;
    QTest::newRow("5 uF") << "5 uF" << 1000 << 1000;
    QTest::newRow("5M Hz") << "5M Hz" << 1000000 << 1000000;
    QTest::newRow("Diode") << "Diode" << 1 << 1;
    QTest::newRow("blank before the text") << " 5K Ohm" << 0 << 1000;
    QTest::newRow("left column before right") << "5M Hz 5K Ohm" << 0 << 1000;
    QTest::newRow("table order within a column") << "500 Ohm/5K Ohm" << 0 << 1;
    QTest::newRow("not contained") << "5K" << 0 << 0;
    QTest::newRow("case matters") << "5k ohm" << 0 << 0;
    QTest::newRow("caption row") << "  RANGE " << 0 << 0;
}

void StoredGraphTest::rangeFactor()
{
    QFETCH(QString, range);
    QTEST(graphs::rangefactor(QStringView(range), RangeMatch::Exact), "exact");
    QTEST(graphs::rangefactor(QStringView(range), RangeMatch::Containment), "containment");
}

void StoredGraphTest::levelOfARecord_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("range");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<RangeMatch>("match");
    QTest::addColumn<double>("level");
    const RangeMatch exact = RangeMatch::Exact;
    QTest::newRow("500 on the top line") << " 500" << "500 mV" << 0.0 << 500.0 << exact << 1000.0;
    QTest::newRow("0 on the centre line") << " 0.000" << "500 mV" << 0.0 << 500.0 << exact << 4000.0;
    QTest::newRow("-500 on the bottom line") << "-500" << "500 mV" << 0.0 << 500.0 << exact << 7000.0;
    QTest::newRow("600 above the top") << " 600" << "500 mV" << 0.0 << 500.0 << exact << 900.0;
    QTest::newRow("overload whatever the range") << "   OL  " << "" << 0.0 << 500.0 << exact << 900.0;
    QTest::newRow("negative overload") << "  -OL  " << "500 mV" << 0.0 << 500.0 << exact << 7100.0;
    QTest::newRow("min 100: 300 on the upper middle") << " 300" << "500 V" << 100.0 << 500.0 << exact << 2500.0;
    QTest::newRow("min 100: 50 on the centre") << " 50" << "500 V" << 100.0 << 500.0 << exact << 4000.0;
    QTest::newRow("min 100: -50 on the centre") << "-50" << "500 V" << 100.0 << 500.0 << exact << 4000.0;
    QTest::newRow("5K Ohm: 4.321 is 4321") << " 4.321" << "5K Ohm" << 0.0 << 5000.0 << exact << 1407.4;
    QTest::newRow("blank before the range: factor 0") << " 4.321" << " 5K Ohm" << 0.0 << 5000.0 << exact << 4000.0;
    QTest::newRow("containment finds it") << " 4.321" << " 5K Ohm" << 0.0 << 5000.0 << RangeMatch::Containment << 1407.4;
    QTest::newRow("caption row reads as 0") << " VALUE" << "  RANGE " << 0.0 << 500.0 << exact << 4000.0;
    QTest::newRow("maximum equal to minimum") << " 450" << "500 V" << 500.0 << 500.0 << exact << 4000.0;
    QTest::newRow("long value text") << " 1" + QString(80, QLatin1Char('0')) << "500 V" << 0.0 << 500.0 << exact << 900.0;
}

void StoredGraphTest::levelOfARecord()
{
    QFETCH(QString, value);
    QFETCH(QString, range);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(RangeMatch, match);
    QFETCH(double, level);
    const QByteArray valueBytes = value.toLatin1();
    const QByteArray rangeBytes = range.toLatin1();
    const double y = graphs::recordLevel(QLatin1StringView(valueBytes), QLatin1StringView(rangeBytes),
                                         {minimum, maximum}, match);
    QVERIFY2(std::abs(y - level) < 1e-9, qPrintable(QString::number(y, 'g', 17)));
}

void StoredGraphTest::labelsOfTheValueAxis_data()
{
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<QStringList>("labels"); // top to bottom
    QTest::newRow("0 to 500") << 0.0 << 500.0 << QStringList{"500", "250", "0", "-250", "-500"};
    QTest::newRow("100 to 500") << 100.0 << 500.0 << QStringList{"500", "300", "100", "-300", "-500"};
    QTest::newRow("fractions") << 0.5 << 2.0 << QStringList{"2", "1.25", "0.5", "-1.25", "-2"};
    QTest::newRow("full scale of Ohm") << 0.0 << 50000000.0
                                       << QStringList{"50000000", "25000000", "0", "-25000000", "-50000000"};
}

void StoredGraphTest::labelsOfTheValueAxis()
{
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    graphs::StoredGraphScene scene;
    scene.plotted = true;
    scene.selection.minimum = minimum;
    scene.selection.maximum = maximum;
    const graphs::StoredGraphLabels shown = graphs::storedGraphLabels(scene);
    QTEST((QStringList{shown.valTop, shown.valMid, shown.zero, shown.negMid, shown.negTop}), "labels");
}

void StoredGraphTest::unitLabel()
{
    recording::RecordListModel list;
    list.appendRow({"1", "d", "t", " 1", "Cx", "5 V", "DC", ""});
    list.appendRow({"2", "d", "t", " 1", "V", "5 V", "DC", ""});
    graphs::StoredGraphScene scene;
    scene.list = &list;
    scene.design = graphs::memoryGraphDesign();
    QCOMPARE(graphs::storedGraphLabels(scene).unit, QStringLiteral("Cx nF"));
    scene.design = graphs::recGraphDesign();
    QCOMPARE(graphs::storedGraphLabels(scene).unit, QStringLiteral("Cx"));
}

QTEST_MAIN(StoredGraphTest)
#include "tst_storedgraph.moc"
