#include "link/maxmin.h"

#include <QTest>

class MaxMinTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sequences_data();
    void sequences();
};

void MaxMinTest::sequences_data()
{
    QTest::addColumn<QStringList>("startMaxMin");
    QTest::addColumn<QStringList>("readings");
    QTest::addColumn<QString>("max");
    QTest::addColumn<QString>("min");

    const QStringList empty{QString(), QString()};
    QTest::newRow("texts kept as shown") << empty << QStringList{"01.200", "03.400", "00.500"}
                                         << "03.400" << "00.500";
    QTest::newRow("negative compares by value") << empty << QStringList{"-01.234", "-00.500", "-02.000"}
                                                << "-00.500" << "-02.000";
    QTest::newRow("OL becomes max, min untouched") << QStringList{"03.400", "00.500"}
                                                   << QStringList{"OL"} << "OL" << "00.500";
    QTest::newRow("first reading OL") << empty << QStringList{"OL", "02.000"} << "OL" << "02.000";
    QTest::newRow("-OL counts 0 for min") << QStringList{"03.400", "00.500"} << QStringList{"-OL"}
                                          << "03.400" << "-OL";
    QTest::newRow("-OL counts 0 for max") << QStringList{"-01.000", "-01.000"} << QStringList{"-OL"}
                                          << "-OL" << "-01.000";
    QTest::newRow("equal value keeps first text") << QStringList{"01.000", "01.000"}
                                                  << QStringList{"1.0000"} << "01.000" << "01.000";
}

void MaxMinTest::sequences()
{
    QFETCH(QStringList, startMaxMin);
    QFETCH(QStringList, readings);
    live::MaxMin extremes{startMaxMin.at(0), startMaxMin.at(1)};
    for (const QString &reading : readings)
        live::updateMaxMin(reading, extremes);
    QTEST(extremes.max, "max");
    QTEST(extremes.min, "min");
}

QTEST_GUILESS_MAIN(MaxMinTest)
#include "tst_maxmin.moc"
