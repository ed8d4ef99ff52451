#include "graphs/storedgraph.h"
#include "graphs/storedgraphlevel.h"
#include "recording/recordlistmodel.h"

#include <QTest>

using graphs::RangeMatch;

class StoredGraphTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rangeFactorByExactText_data();
    void rangeFactorByExactText();
    void rangeFactorByContainment_data();
    void rangeFactorByContainment();
    void levelOfARecord_data();
    void levelOfARecord();
    void labelsOfTheValueAxis_data();
    void labelsOfTheValueAxis();
    void unitLabel_data();
    void unitLabel();
};

void StoredGraphTest::rangeFactorByExactText_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<int>("factor");
    const QList<std::pair<const char *, int>> table{
        {"Diode", 1},        {"5000 uA", 1},      {"500 Ohm", 1},   {"5K Ohm", 1000},
        {"50K Ohm", 1000},   {"500K Ohm", 1000},  {"5M Ohm", 1000000}, {"50M Ohm", 1000000},
        {"5 V", 1},          {"50 V", 1},         {"500 V", 1},     {"1000 V", 1},
        {"5 A", 1},          {"10 A", 1},         {"500 nF", 1},    {"5 uF", 1000},
        {"50 uF", 1000},     {"500 uF", 1000},    {"500 mV", 1},    {"500 mA", 1},
        {"50 Hz", 1},        {"500 Hz", 1},       {"5K Hz", 1000},  {"50K Hz", 1000},
        {"500K Hz", 1000},   {"5M Hz", 1000000}};
    for (const auto &[range, factor] : table)
        QTest::newRow(range) << QString::fromLatin1(range) << factor;
    QTest::newRow("blank before the text") << " 5K Ohm" << 0;
    QTest::newRow("blank after the text") << "5K Ohm " << 0;
    QTest::newRow("unknown") << "5 kV" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("caption row") << "  RANGE " << 0;
    QTest::newRow("case matters") << "5k ohm" << 0;
}

void StoredGraphTest::rangeFactorByExactText()
{
    QFETCH(QString, range);
    QFETCH(int, factor);
    QCOMPARE(graphs::rangefactor(QStringView(range), RangeMatch::Exact), factor);
}

void StoredGraphTest::rangeFactorByContainment_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<int>("factor");
    QTest::newRow("blank before the text") << " 5K Ohm" << 1000;
    QTest::newRow("blanks around") << "  50M Ohm  " << 1000000;
    QTest::newRow("exact text") << "5 uF" << 1000;
    QTest::newRow("left column before right") << "5M Hz 5K Ohm" << 1000;
    QTest::newRow("table order within a column") << "500 Ohm/5K Ohm" << 1;
    QTest::newRow("not contained") << "5K" << 0;
    QTest::newRow("caption row") << "  RANGE " << 0;
}

void StoredGraphTest::rangeFactorByContainment()
{
    QFETCH(QString, range);
    QFETCH(int, factor);
    QCOMPARE(graphs::rangefactor(QStringView(range), RangeMatch::Containment), factor);
}

void StoredGraphTest::levelOfARecord_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("range");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("match");
    QTest::addColumn<double>("level");
    const int exact = int(RangeMatch::Exact);
    const int containment = int(RangeMatch::Containment);
    QTest::newRow("500 on the top line") << " 500" << "500 mV" << 0.0 << 500.0 << exact << 1000.0;
    QTest::newRow("250 on the upper middle") << " 250" << "500 mV" << 0.0 << 500.0 << exact << 2500.0;
    QTest::newRow("0 on the centre line") << " 0.000" << "500 mV" << 0.0 << 500.0 << exact << 4000.0;
    QTest::newRow("-250 on the lower middle") << "-250" << "500 mV" << 0.0 << 500.0 << exact << 5500.0;
    QTest::newRow("-500 on the bottom line") << "-500" << "500 mV" << 0.0 << 500.0 << exact << 7000.0;
    QTest::newRow("600 above the top") << " 600" << "500 mV" << 0.0 << 500.0 << exact << 900.0;
    QTest::newRow("-600 below the bottom") << "-600" << "500 mV" << 0.0 << 500.0 << exact << 7100.0;
    QTest::newRow("just above the maximum") << " 500.001" << "500 mV" << 0.0 << 500.0 << exact << 900.0;
    QTest::newRow("overload") << "   OL  " << "500 mV" << 0.0 << 500.0 << exact << 900.0;
    QTest::newRow("negative overload") << "  -OL  " << "500 mV" << 0.0 << 500.0 << exact << 7100.0;
    QTest::newRow("overload whatever the range") << "OL" << "" << 0.0 << 500.0 << exact << 900.0;
    QTest::newRow("min 100: 300 on the upper middle") << " 300" << "500 V" << 100.0 << 500.0 << exact << 2500.0;
    QTest::newRow("min 100: 50 on the centre") << " 50" << "500 V" << 100.0 << 500.0 << exact << 4000.0;
    QTest::newRow("min 100: -50 on the centre") << "-50" << "500 V" << 100.0 << 500.0 << exact << 4000.0;
    QTest::newRow("min 100: -300 on the lower middle") << "-300" << "500 V" << 100.0 << 500.0 << exact << 5500.0;
    QTest::newRow("min 100: 500 on the top") << " 500" << "500 V" << 100.0 << 500.0 << exact << 1000.0;
    QTest::newRow("min 100: -500 on the bottom") << "-500" << "500 V" << 100.0 << 500.0 << exact << 7000.0;
    QTest::newRow("5K Ohm: 4.321 is 4321") << " 4.321" << "5K Ohm" << 0.0 << 5000.0 << exact << 1407.4;
    QTest::newRow("5K Ohm exactly at the maximum") << " 5.000" << "5K Ohm" << 0.0 << 5000.0 << exact << 1000.0;
    QTest::newRow("5M Hz: 0.5 is 500000") << " 0.5000" << "5M Hz" << 0.0 << 1000000.0 << exact << 2500.0;
    QTest::newRow("blank before the range: factor 0") << " 4.321" << " 5K Ohm" << 0.0 << 5000.0 << exact << 4000.0;
    QTest::newRow("containment finds it") << " 4.321" << " 5K Ohm" << 0.0 << 5000.0 << containment << 1407.4;
    QTest::newRow("caption row reads as 0") << " VALUE" << "  RANGE " << 0.0 << 500.0 << exact << 4000.0;
    QTest::newRow("unknown range with min 100") << " 450" << "?" << 100.0 << 500.0 << exact << 4000.0;
    QTest::newRow("maximum equal to minimum") << " 450" << "500 V" << 500.0 << 500.0 << exact << 4000.0;
    QTest::newRow("maximum below minimum") << " 450" << "500 V" << 500.0 << 100.0 << exact << 4000.0;
    QTest::newRow("long value text") << QString(" 1") + QString(80, QLatin1Char('0'))
                                     << "500 V" << 0.0 << 500.0 << exact << 900.0;
}

void StoredGraphTest::levelOfARecord()
{
    QFETCH(QString, value);
    QFETCH(QString, range);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(int, match);
    QFETCH(double, level);
    const QByteArray valueBytes = value.toLatin1();
    const QByteArray rangeBytes = range.toLatin1();
    const double y = graphs::recordLevel(QLatin1StringView(valueBytes), QLatin1StringView(rangeBytes),
                                         {minimum, maximum}, RangeMatch(match));
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
    QTest::newRow("both zero") << 0.0 << 0.0 << QStringList{"0", "0", "0", "0", "0"};
    QTest::newRow("full scale of Ohm") << 0.0 << 50000000.0
                                       << QStringList{"50000000", "25000000", "0", "-25000000", "-50000000"};
}

void StoredGraphTest::labelsOfTheValueAxis()
{
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(QStringList, labels);
    graphs::StoredGraphScene scene;
    scene.plotted = true;
    scene.selection.minimum = minimum;
    scene.selection.maximum = maximum;
    const graphs::StoredGraphLabels shown = graphs::storedGraphLabels(scene);
    QCOMPARE((QStringList{shown.valTop, shown.valMid, shown.zero, shown.negMid, shown.negTop}), labels);
}

void StoredGraphTest::unitLabel_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("memoryLabel");
    QTest::addColumn<QString>("recLabel");
    QTest::newRow("Cx") << "Cx" << "Cx nF" << "Cx";
    QTest::newRow("Diode") << "Diode" << "Diode V" << "Diode";
    QTest::newRow("V") << "V" << "V" << "V";
    QTest::newRow("empty") << "" << "" << "";
}

void StoredGraphTest::unitLabel()
{
    QFETCH(QString, unit);
    QFETCH(QString, memoryLabel);
    QFETCH(QString, recLabel);
    recording::RecordListModel list;
    list.appendRow({"1", "d", "t", " 1", unit, "5 V", "DC", ""});
    list.appendRow({"2", "d", "t", " 1", "V", "5 V", "DC", ""});
    graphs::StoredGraphScene scene;
    scene.list = &list;
    scene.design = graphs::memoryGraphDesign();
    QCOMPARE(graphs::storedGraphLabels(scene).unit, memoryLabel);
    scene.design = graphs::recGraphDesign();
    QCOMPARE(graphs::storedGraphLabels(scene).unit, recLabel);
}


QTEST_MAIN(StoredGraphTest)
#include "tst_storedgraph.moc"
