#include "views/placement.h"

#include <QTest>

class PlacementTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void list_data();
    void list();
    void analog_data();
    void analog();
};

void PlacementTest::list_data()
{
    QTest::addColumn<QRect>("panel");
    QTest::addColumn<bool>("graphOpen");
    QTest::addColumn<QPoint>("position");

    QTest::newRow("below the panel") << QRect(0, 0, 600, 400) << false << QPoint(0, 400);
    QTest::newRow("beside the panel, the graph below it") << QRect(0, 0, 600, 400) << true
                                                          << QPoint(600, 0);
}

void PlacementTest::list()
{
    QFETCH(QRect, panel);
    QFETCH(bool, graphOpen);
    QTEST(views::listPosition(panel, graphOpen), "position");
}

void PlacementTest::analog_data()
{
    QTest::addColumn<QRect>("panel");
    QTest::addColumn<QRect>("list");
    QTest::addColumn<QPoint>("position");

    const QRect panel(0, 0, 600, 400);
    QTest::newRow("beside the panel without a list") << panel << QRect() << QPoint(600, 0);
    QTest::newRow("below a list beside the panel") << panel << QRect(600, 0, 520, 300)
                                                   << QPoint(0, 300);
    QTest::newRow("below a list below the panel") << panel << QRect(0, 400, 520, 300)
                                                  << QPoint(0, 700);
}

void PlacementTest::analog()
{
    QFETCH(QRect, panel);
    QFETCH(QRect, list);
    QTEST(views::analogPosition(panel, list.isNull() ? nullptr : &list), "position");
}

QTEST_APPLESS_MAIN(PlacementTest)
#include "tst_placement.moc"
