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

QTEST_MAIN(ListTest)
#include "tst_list.moc"
