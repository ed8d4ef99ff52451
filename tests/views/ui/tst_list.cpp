#include "common/numbers.h"
#include "viewsrig.h"
#include "views/ui/list.h"

#include <QLineEdit>
#include <QTest>

namespace {

struct Rig : PanelRig
{
    std::unique_ptr<views::LIST> list;

    Rig()
    {
        test.clock.setDate(QDate(2024, 1, 15));
        shared.listFeedOn = 1;
        list = std::make_unique<views::LIST>(*panel);
        list->load();
        list->show();
    }

    // Room for `rows` rows after the deduction.
    void sizeFor(int rows) { list->resize(list->width(), (rows + 3) * list->rowHeight()); }

    void feed(const QString &text)
    {
        list->Text1->setText(QString());
        list->Text1->setText(text);
    }

    QList<int> framed() const
    {
        QList<int> rows;
        for (std::size_t i = 0; i < list->Lbl.size(); ++i)
            if (list->Lbl[i]->frameShape() != QFrame::NoFrame)
                rows << static_cast<int>(i);
        return rows;
    }
};

QString dated(int line)
{
    const QChar s = common::systemDateSeparator();
    return QStringLiteral("24") + s + QStringLiteral("01") + s + QStringLiteral("15 line %1").arg(line);
}

} // namespace

class ListTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void design();
    void rowsAreCreatedAsTheWindowGrows();
    void newestLineFramedAndInSight();
    void dateGoesWithTheLinesTime_data();
    void dateGoesWithTheLinesTime();
};

void ListTest::design()
{
    Rig rig;
    QCOMPARE(rig.list->windowTitle(), QStringLiteral("LIST"));
    QCOMPARE(rig.list->ListLabel->text(),
             QStringLiteral("Date              Time           Unit        Range              Value"));
    QCOMPARE(rig.list->Label1->text(), QStringLiteral("00/00/00  12:00:00     DCV      400mV           120.0"));
    QCOMPARE(rig.list->Lbl.front()->text(), QStringLiteral(" "));
    QVERIFY(rig.list->Text1->isHidden());
}

void ListTest::rowsAreCreatedAsTheWindowGrows()
{
    Rig rig;
    QCOMPARE(rig.list->Lbl.size(), std::size_t(rig.list->rows().rowsMax() + 1));
    rig.sizeFor(20);
    QCOMPARE(rig.list->Lbl.size(), std::size_t(21));
    for (std::size_t i = 1; i < rig.list->Lbl.size(); ++i) {
        const QLabel *row = rig.list->Lbl[i];
        QCOMPARE(row->y(), rig.list->Lbl[i - 1]->y() + rig.list->rowHeight());
        QCOMPARE(row->width(), rig.list->width());
        QVERIFY(row->isVisible());
    }
    QVERIFY(rig.list->Lbl.back()->geometry().bottom() < rig.list->height());
    rig.sizeFor(4);
    QCOMPARE(rig.list->Lbl.size(), std::size_t(21)); // rows stay
}

void ListTest::newestLineFramedAndInSight()
{
    Rig rig;
    rig.sizeFor(10);
    for (int i = 1; i <= 11; ++i)
        rig.feed(QStringLiteral("line %1").arg(i));
    QCOMPARE(rig.list->Lbl[0]->text(), dated(1));
    QCOMPARE(rig.list->Lbl[10]->text(), dated(11));
    QCOMPARE(rig.framed(), QList<int>{10});
    rig.sizeFor(3);
    QCOMPARE(rig.framed(), QList<int>{3});
    QCOMPARE(rig.list->Lbl[3]->text(), dated(11));
    QVERIFY(rig.list->Lbl[3]->geometry().bottom() < rig.list->height());
    rig.sizeFor(0); // nothing fits: the newest line goes to row 0
    rig.feed(QStringLiteral("line 12"));
    QCOMPARE(rig.list->Lbl[0]->text(), dated(12));
    QCOMPARE(rig.framed(), QList<int>{0});
}

void ListTest::dateGoesWithTheLinesTime_data()
{
    QTest::addColumn<double>("clock"); // seconds since midnight of 2024-01-16
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("date");
    QTest::newRow("midday") << 43200.0 << "  12:00:00    V    5 V:     1.2" << "24/01/16";
    QTest::newRow("yesterday's time just after midnight")
        << 0.4 << "  23:59:59    V    5 V:     1.2" << "24/01/15";
    QTest::newRow("a long sampling time still shows the evening")
        << 3600.0 << "  19:00:00    V    5 V:     1.2" << "24/01/15";
    QTest::newRow("midnight rounded up a moment early")
        << 86399.6 << "  00:00:00    V    5 V:     1.2" << "24/01/17";
    QTest::newRow("no time shown") << 0.4 << "      V    5 V:     1.2" << "24/01/16";
}

void ListTest::dateGoesWithTheLinesTime()
{
    QFETCH(double, clock);
    QFETCH(QString, text);
    QFETCH(QString, date);
    Rig rig;
    rig.test.clock.setDate(QDate(2024, 1, 16));
    rig.test.clock.setSecondsSinceMidnight(clock);
    rig.feed(text);
    const QChar separator = common::systemDateSeparator();
    QCOMPARE(rig.list->Lbl[1]->text(), QString(date).replace(u'/', separator) + u' ' + text);
}

QTEST_MAIN(ListTest)
#include "tst_list.moc"
