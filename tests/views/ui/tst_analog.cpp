#include "link/ui/panel.h"
#include "support/testplatform.h"
#include "views/ui/analog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<double>)

namespace {

const QColor black(0, 0, 0);
const QColor yellow(255, 255, 0);

struct Rig
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform;
    std::unique_ptr<live::PANEL> panel;
    std::unique_ptr<views::ANALOG> analog;

    explicit Rig(bool withReading = true)
    {
        platform = test.platform();
        platform.timerMode = platform::Timer::Mode::Manual;
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
        panel->load();
        panel->show();
        if (withReading)
            setReading(QStringLiteral("mV"), QStringLiteral("500 mV"), QStringLiteral("000.00"));
        shared.analogOn = -1;
        analog = std::make_unique<views::ANALOG>(*panel);
    }

    void setReading(const QString &function, const QString &range, const QString &value)
    {
        panel->LBLFUN->setText(function);
        panel->LBLRAN->setText(range);
        panel->LBLVALUE->setText(value);
    }

    void open(const QRect *listFrame = nullptr) { analog->load(listFrame); }

    // What the panel writes after a frame.
    void hand(const QString &value)
    {
        panel->LBLVALUE->setText(value);
        analog->Text1->setText(value);
    }

    bool needleNear(double degrees) const
    {
        const views::DialPicture &picture = analog->picture();
        for (const double factor : {0.5, 0.7, 0.9}) {
            const QPointF p = picture.frame().polar(factor, degrees);
            bool found = false;
            for (int dx = -1; dx <= 1 && !found; ++dx)
                for (int dy = -1; dy <= 1 && !found; ++dy)
                    found = picture.image().pixelColor(qRound(p.x()) + dx, qRound(p.y()) + dy) == black;
            if (!found)
                return false;
        }
        return true;
    }

    QColor sectorAt(double degrees) const
    {
        const views::DialPicture &picture = analog->picture();
        const QPointF p = picture.frame().polar(0.5, degrees);
        return picture.image().pixelColor(qRound(p.x()), qRound(p.y()));
    }
};

void settle()
{
    QCoreApplication::processEvents();
}

} // namespace

class AnalogTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensBesideThePanelOrBelowTheList_data();
    void opensBesideThePanelOrBelowTheList();
    void labelsFollowThePanel();
    void needleFollowsTheReading_data();
    void needleFollowsTheReading();
    void rangeWithoutNumberLeavesNoNeedle();
    void rangeChangeRedrawsTheScale();
    void noRedrawWithoutALink();
    void emptyReadingMovesNothing();
    void openedBeforeTheFirstReading();
    void escapeGivesThePanelTheFocus();
    void closingStopsTheFeed();
};

void AnalogTest::opensBesideThePanelOrBelowTheList_data()
{
    QTest::addColumn<QRect>("listFrame");
    QTest::addColumn<bool>("belowList");

    QTest::newRow("beside the panel") << QRect() << false;
    QTest::newRow("below the list") << QRect(700, 0, 500, 321) << true;
}

void AnalogTest::opensBesideThePanelOrBelowTheList()
{
    QFETCH(QRect, listFrame);
    QFETCH(bool, belowList);
    Rig rig;
    rig.open(belowList ? &listFrame : nullptr);
    const QRect panel = rig.panel->frameGeometry();
    const QPoint expected = belowList ? QPoint(panel.left(), 321) : QPoint(panel.width(), 0);
    QCOMPARE(rig.analog->frameGeometry().topLeft(), expected);
    QVERIFY(rig.analog->isVisible());
    QCOMPARE(rig.analog->windowTitle(), QStringLiteral("Recording Meter  --  Analog display"));
    QVERIFY(rig.analog->Text1->isHidden());
}

void AnalogTest::labelsFollowThePanel()
{
    Rig rig;
    rig.open();
    QCOMPARE(rig.analog->Label1->text(), QStringLiteral("mV"));
    QCOMPARE(rig.analog->Label2->text(), QStringLiteral("500 mV"));
    // Label2's right margin mirrors Label1's left margin.
    const QLabel *l2 = rig.analog->Label2;
    QCOMPARE(rig.analog->width() - (l2->x() + l2->width()), rig.analog->Label1->x());
    QCOMPARE(rig.analog->picture().image().size(), rig.analog->size());
}

void AnalogTest::needleFollowsTheReading_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<double>("degrees");

    QTest::newRow("250 of 500 mV") << "250.00" << 63.0;
    QTest::newRow("-500") << "-500.00" << 144.0;
    QTest::newRow("-OL") << "-OL" << 145.0;
    QTest::newRow("OL") << "OL" << 35.0;
    QTest::newRow("twice the range clamped") << "1000.0" << 35.0;
}

void AnalogTest::needleFollowsTheReading()
{
    QFETCH(QString, value);
    QFETCH(double, degrees);
    Rig rig;
    rig.open();
    rig.hand(QStringLiteral("000.00"));
    QVERIFY(rig.needleNear(90));
    rig.hand(value);
    QVERIFY(rig.needleNear(degrees));
    QCOMPARE(rig.sectorAt(90), yellow); // the old needle is wiped
}

void AnalogTest::rangeWithoutNumberLeavesNoNeedle()
{
    Rig rig;
    rig.open();
    rig.hand(QStringLiteral("250.00"));
    QVERIFY(rig.needleNear(63));
    rig.panel->LBLRAN->setText(QStringLiteral("Diode"));
    rig.hand(QStringLiteral("0.500"));
    QCOMPARE(rig.analog->Label2->text(), QStringLiteral("Diode"));
    QCOMPARE(rig.sectorAt(63), yellow);
    QCOMPARE(rig.sectorAt(90), yellow);
    QVERIFY(!rig.needleNear(90));
}

void AnalogTest::rangeChangeRedrawsTheScale()
{
    Rig rig;
    rig.open();
    rig.hand(QStringLiteral("250.00"));
    const QImage before = rig.analog->picture().image();
    rig.setReading(QStringLiteral("V"), QStringLiteral("5 V"), QStringLiteral("2.5000"));
    rig.analog->Text1->setText(QStringLiteral("2.5000"));
    QCOMPARE(rig.analog->Label1->text(), QStringLiteral("V"));
    QCOMPARE(rig.analog->Label2->text(), QStringLiteral("5 V"));
    QVERIFY(rig.needleNear(63));
    // Same needle, other scale numbers: the outer band differs.
    const QImage after = rig.analog->picture().image();
    QVERIFY(before.copy(0, 0, 320, 60) != after.copy(0, 0, 320, 60));
}

void AnalogTest::noRedrawWithoutALink()
{
    Rig rig;
    rig.open();
    rig.hand(QStringLiteral("250.00"));
    const QImage before = rig.analog->picture().image();
    rig.panel->LBLCOMM->setText(QStringLiteral(" NO COM "));
    rig.panel->LBLRAN->setText(QStringLiteral("5 V"));
    rig.analog->redraw();
    rig.analog->resize(400, 250);
    settle();
    QCOMPARE(rig.analog->picture().image(), before);
    QCOMPARE(rig.analog->Label2->text(), QStringLiteral("500 mV"));
}

void AnalogTest::emptyReadingMovesNothing()
{
    Rig rig;
    rig.open();
    rig.hand(QStringLiteral("250.00"));
    const QImage before = rig.analog->picture().image();
    rig.analog->Text1->setText(QString());
    QCOMPARE(rig.analog->picture().image(), before);
}

void AnalogTest::openedBeforeTheFirstReading()
{
    Rig rig(false);
    rig.open();
    QCOMPARE(rig.analog->Label1->text(), QString());
    rig.setReading(QStringLiteral("mV"), QStringLiteral("500 mV"), QStringLiteral("250.00"));
    rig.analog->Text1->setText(QStringLiteral("250.00"));
    QCOMPARE(rig.analog->Label1->text(), QStringLiteral("mV"));
    QCOMPARE(rig.analog->Label2->text(), QStringLiteral("500 mV"));
    QVERIFY(rig.needleNear(63));
}

void AnalogTest::escapeGivesThePanelTheFocus()
{
    Rig rig;
    rig.open();
    rig.analog->activateWindow();
    settle();
    QCOMPARE(QApplication::activeWindow(), rig.analog.get());
    QTest::keyClick(rig.analog.get(), Qt::Key_Escape);
    settle();
    QCOMPARE(QApplication::activeWindow(), rig.panel.get());
}

void AnalogTest::closingStopsTheFeed()
{
    Rig rig;
    rig.open();
    rig.analog->close();
    QCOMPARE(rig.shared.analogOn, qint16(0));
    QVERIFY(rig.analog->isHidden());
}

QTEST_MAIN(AnalogTest)
#include "tst_analog.moc"
