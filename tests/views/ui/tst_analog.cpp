#include "support/frames.h"
#include "viewsrig.h"
#include "views/ui/analog.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {

struct Rig : PanelRig
{
    std::unique_ptr<views::ANALOG> analog;

    explicit Rig(bool withReading = true)
    {
        if (withReading)
            setReading(QStringLiteral("mV"), QStringLiteral("500 mV"), QStringLiteral("000.00"));
        shared.analogOn = -1;
        analog = std::make_unique<views::ANALOG>(*panel);
        analog->load(nullptr);
    }

    void setReading(const QString &function, const QString &range, const QString &value)
    {
        panel->LBLFUN->setText(function);
        panel->LBLRAN->setText(range);
        panel->LBLVALUE->setText(value);
    }

    // What the panel writes after a frame.
    void hand(const QString &value)
    {
        panel->LBLVALUE->setText(value);
        analog->Text1->setText(value);
    }

    bool needleNear(double degrees) const { return needleAt(analog->picture(), degrees); }

    QColor sectorAt(double degrees) const
    {
        const QPointF p = analog->picture().frame().polar(0.5, degrees);
        return analog->picture().image().pixelColor(qRound(p.x()), qRound(p.y()));
    }
};

const QColor yellow(255, 255, 0);

} // namespace

class AnalogTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void design();
    void needleFollowsTheReading();
    void rangeChangeRedrawsTheScale();
    void noRedrawWithoutALink();
    void resizedDuringALinkLoss();
    void openedBeforeTheFirstReading();
    void escapeGivesThePanelTheFocus();
};

void AnalogTest::design()
{
    Rig rig;
    QCOMPARE(rig.analog->windowTitle(), QStringLiteral("Recording Meter  --  Analog display"));
    QVERIFY(rig.analog->Text1->isHidden());
    QCOMPARE(rig.analog->Label1->text(), QStringLiteral("mV"));
    QCOMPARE(rig.analog->Label2->text(), QStringLiteral("500 mV"));
    // Label2's right margin mirrors Label1's left margin.
    const QLabel *l2 = rig.analog->Label2;
    QCOMPARE(rig.analog->width() - (l2->x() + l2->width()), rig.analog->Label1->x());
    QCOMPARE(rig.analog->picture().image().size(), rig.analog->size());
}

void AnalogTest::needleFollowsTheReading()
{
    Rig rig;
    rig.hand(QStringLiteral("000.00"));
    QVERIFY(rig.needleNear(90));
    rig.hand(QStringLiteral("250.00"));
    QVERIFY(rig.needleNear(63));
    QCOMPARE(rig.sectorAt(90), yellow); // the old needle is wiped
    const QImage before = rig.analog->picture().image();
    rig.analog->Text1->setText(QString()); // an empty reading moves nothing
    QCOMPARE(rig.analog->picture().image(), before);
    rig.panel->LBLRAN->setText(QStringLiteral("Diode"));
    rig.hand(QStringLiteral("0.500")); // no needle on a range without a number
    QCOMPARE(rig.sectorAt(63), yellow);
    QVERIFY(!rig.needleNear(90));
}

void AnalogTest::rangeChangeRedrawsTheScale()
{
    Rig rig;
    rig.hand(QStringLiteral("250.00"));
    const QImage before = rig.analog->picture().image();
    rig.setReading(QStringLiteral("V"), QStringLiteral("5 V"), QStringLiteral("2.5000"));
    rig.analog->Text1->setText(QStringLiteral("2.5000"));
    QCOMPARE(rig.analog->Label1->text(), QStringLiteral("V"));
    QCOMPARE(rig.analog->Label2->text(), QStringLiteral("5 V"));
    QVERIFY(rig.needleNear(63));
    // Same needle, other scale numbers: the outer band differs.
    QVERIFY(before.copy(0, 0, 320, 60) != rig.analog->picture().image().copy(0, 0, 320, 60));
}

void AnalogTest::noRedrawWithoutALink()
{
    Rig rig;
    rig.hand(QStringLiteral("250.00"));
    const QImage before = rig.analog->picture().image();
    rig.panel->LBLCOMM->setText(QStringLiteral(" NO COM "));
    rig.panel->LBLRAN->setText(QStringLiteral("5 V"));
    rig.analog->redraw();
    rig.analog->resize(400, 250);
    QCoreApplication::processEvents();
    QCOMPARE(rig.analog->picture().image(), before);
    QCOMPARE(rig.analog->Label2->text(), QStringLiteral("500 mV"));
}

void AnalogTest::resizedDuringALinkLoss()
{
    Rig rig;
    rig.hand(QStringLiteral("250.00"));
    rig.panel->LBLCOMM->setText(QStringLiteral(" NO COM "));
    rig.analog->resize(400, 250);
    QCoreApplication::processEvents();

    // The meter is back with the same function and range.
    rig.panel->LBLCOMM->setText(QStringLiteral("Com1"));
    rig.test.port.feed(testsupport::liveFrame(0x80, 0x25, 0x00, 0x00, 0x08));
    rig.panel->Timer6->fire();
    const QImage after = rig.analog->picture().image();
    QCOMPARE(after.size(), QSize(400, 250));
    const QLabel *l2 = rig.analog->Label2;
    QCOMPARE(rig.analog->width() - (l2->x() + l2->width()), rig.analog->Label1->x());
    QVERIFY(rig.needleNear(63));
    // As a resize with the meter connected draws it.
    rig.analog->redraw();
    QCOMPARE(rig.analog->picture().image(), after);
}

void AnalogTest::openedBeforeTheFirstReading()
{
    Rig rig(false);
    QCOMPARE(rig.analog->Label1->text(), QString());
    rig.setReading(QStringLiteral("mV"), QStringLiteral("500 mV"), QStringLiteral("250.00"));
    rig.analog->Text1->setText(QStringLiteral("250.00"));
    QCOMPARE(rig.analog->Label2->text(), QStringLiteral("500 mV"));
    QVERIFY(rig.needleNear(63));
}

void AnalogTest::escapeGivesThePanelTheFocus()
{
    Rig rig;
    rig.analog->activateWindow();
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), rig.analog.get());
    QTest::keyClick(rig.analog.get(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), rig.panel.get());
}

QTEST_MAIN(AnalogTest)
#include "tst_analog.moc"
