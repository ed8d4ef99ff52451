#include "common/numbers.h"
#include "link/ui/panel.h"
#include "support/testplatform.h"
#include "views/ui/list.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

struct Rig
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform;
    std::unique_ptr<live::PANEL> panel;
    std::unique_ptr<views::LIST> list;

    explicit Rig(qint16 graphFeedOn = 0)
    {
        platform = test.platform();
        platform.timerMode = platform::Timer::Mode::Manual;
        shared.portNumber = 1;
        shared.graphFeedOn = graphFeedOn;
        panel = std::make_unique<live::PANEL>(platform, shared);
        panel->load();
        panel->show();
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

    QStringList captions() const
    {
        QStringList all;
        for (const QLabel *row : list->Lbl)
            all << row->text();
        return all;
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

QString dated(const QString &text)
{
    const QChar s = common::systemDateSeparator();
    return QStringLiteral("24") + s + QStringLiteral("01") + s + QStringLiteral("15 ") + text;
}

} // namespace

class ListTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensBelowOrBesideThePanel_data();
    void opensBelowOrBesideThePanel();
    void design();
    void rowsAreCreatedAsTheWindowGrows();
    void fillsThenScrollsWithTheNewestFramed();
    void emptyTextAddsNoLine();
    void shrinkingKeepsTheNewestLineInSight();
    void closingStopsTheFeed();
};

void ListTest::opensBelowOrBesideThePanel_data()
{
    QTest::addColumn<qint16>("graphFeedOn");
    QTest::newRow("below the panel") << qint16(0);
    QTest::newRow("beside the panel, the graph below it") << qint16(1);
}

void ListTest::opensBelowOrBesideThePanel()
{
    QFETCH(qint16, graphFeedOn);
    Rig rig(graphFeedOn);
    const QRect panel = rig.panel->frameGeometry();
    const QPoint expected = graphFeedOn ? QPoint(panel.width(), 0) : QPoint(0, panel.height());
    QCOMPARE(rig.list->frameGeometry().topLeft(), expected);
}

void ListTest::design()
{
    Rig rig;
    QCOMPARE(rig.list->windowTitle(), QStringLiteral("LIST"));
    QCOMPARE(rig.list->ListLabel->text(),
             QStringLiteral("Date              Time           Unit        Range              Value"));
    QCOMPARE(rig.list->Label1->text(),
             QStringLiteral("00/00/00  12:00:00     DCV      400mV           120.0"));
    QCOMPARE(rig.list->Lbl.front()->text(), QStringLiteral(" "));
    QVERIFY(rig.list->Text1->isHidden());
}

void ListTest::rowsAreCreatedAsTheWindowGrows()
{
    Rig rig;
    const std::size_t designRows = rig.list->Lbl.size();
    QCOMPARE(designRows, std::size_t(rig.list->rows().rowsMax() + 1));
    rig.sizeFor(20);
    QCOMPARE(rig.list->rows().rowsMax(), 20);
    QCOMPARE(rig.list->Lbl.size(), std::size_t(21));
    QVERIFY(designRows < 21);
    const int h = rig.list->rowHeight();
    for (std::size_t i = 1; i < rig.list->Lbl.size(); ++i) {
        const QLabel *row = rig.list->Lbl[i];
        QCOMPARE(row->y(), rig.list->Lbl[i - 1]->y() + h);
        QCOMPARE(row->width(), rig.list->width());
        QVERIFY(row->isVisible());
    }
    // The last row fits inside the window.
    QVERIFY(rig.list->Lbl.back()->geometry().bottom() < rig.list->height());

    rig.sizeFor(4);
    QCOMPARE(rig.list->rows().rowsMax(), 4);
    QCOMPARE(rig.list->Lbl.size(), std::size_t(21)); // rows stay
}

void ListTest::fillsThenScrollsWithTheNewestFramed()
{
    Rig rig;
    rig.sizeFor(10);
    for (int i = 1; i <= 10; ++i)
        rig.feed(QStringLiteral("  10:15:%1    V    5 V:     1.2345").arg(i, 2, 10, QLatin1Char('0')));
    QCOMPARE(rig.captions().at(0), QStringLiteral(" "));
    QCOMPARE(rig.captions().at(1), dated(QStringLiteral("  10:15:01    V    5 V:     1.2345")));
    QCOMPARE(rig.captions().at(10), dated(QStringLiteral("  10:15:10    V    5 V:     1.2345")));
    QCOMPARE(rig.framed(), QList<int>{10});

    rig.feed(QStringLiteral("  10:15:11    V    5 V:     1.2345"));
    QCOMPARE(rig.captions().at(0), dated(QStringLiteral("  10:15:01    V    5 V:     1.2345")));
    QCOMPARE(rig.captions().at(10), dated(QStringLiteral("  10:15:11    V    5 V:     1.2345")));
    QCOMPARE(rig.framed(), QList<int>{10});
}

void ListTest::emptyTextAddsNoLine()
{
    Rig rig;
    rig.sizeFor(10);
    rig.feed(QStringLiteral("a"));
    const QStringList before = rig.captions();
    rig.list->Text1->setText(QString());
    QCOMPARE(rig.captions(), before);
    QCOMPARE(rig.list->rows().rowNext(), 1);
}

void ListTest::shrinkingKeepsTheNewestLineInSight()
{
    Rig rig;
    rig.sizeFor(10);
    for (int i = 1; i <= 9; ++i)
        rig.feed(QStringLiteral("line %1").arg(i));
    rig.sizeFor(3);
    QCOMPARE(rig.framed(), QList<int>{3});
    const QLabel *newest = rig.list->Lbl[3];
    QCOMPARE(newest->text(), dated(QStringLiteral("line 9")));
    QVERIFY(newest->geometry().bottom() < rig.list->height());

    rig.sizeFor(0); // nothing fits: the newest line goes to row 0
    QCOMPARE(rig.framed(), QList<int>{0});
    QCOMPARE(rig.list->Lbl[0]->text(), dated(QStringLiteral("line 9")));
    rig.feed(QStringLiteral("line 10"));
    QCOMPARE(rig.list->Lbl[0]->text(), dated(QStringLiteral("line 10")));
}

void ListTest::closingStopsTheFeed()
{
    Rig rig;
    rig.list->close();
    QCOMPARE(rig.shared.listFeedOn, qint16(0));
}

QTEST_MAIN(ListTest)
#include "tst_list.moc"
