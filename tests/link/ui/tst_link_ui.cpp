// The PANEL's wiring to the link logic, the link-lost display, and polling
// ticks that never let events run.

#include "link/ui/panel.h"
#include "support/frames.h"
#include "support/testplatform.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const auto frame = testsupport::liveFrame;

struct Rig
{
    testsupport::TestPlatform test;
    testsupport::ScriptedPort &port = test.port;
    testsupport::ScriptedPump &pump = test.pump;
    common::SharedValues shared;
    platform::Platform platform = test.platform();
    std::unique_ptr<live::PANEL> panel;

    Rig()
    {
        test.clock.setSecondsSinceMidnight(36958.02);
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
    }

    void load()
    {
        QVERIFY(panel->load());
        port.clearSent();
    }
    void tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            panel->Timer6->fire();
    }
    bool viewButtonsEnabled() const
    {
        return panel->CMDGRAPH->isEnabled() && panel->CMDLIST->isEnabled() && panel->CMDANALOG->isEnabled() && panel->CMDMEMORY->isEnabled();
    }
};

} // namespace

class LinkUiTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void load();
    void frameReachesTheLabels_data();
    void frameReachesTheLabels();
    void backlogAndFeeds();
    void silentMeterLosesTheLinkAndRecovers_data();
    void silentMeterLosesTheLinkAndRecovers();
    void tickFromInsideAHandlerIsServed_data();
    void tickFromInsideAHandlerIsServed();
    void functionChangeAndRelModeAreSignalled();
    void clockTickShowsTimeAndReArms();
};

void LinkUiTest::load()
{
    Rig rig;
    rig.port.failOpenWith(QStringLiteral("Cannot open /dev/ttyS0: Permission denied"));
    QVERIFY(!rig.panel->load()); // a failure leaves everything stopped
    QCOMPARE(rig.panel->openError(), QStringLiteral("Cannot open /dev/ttyS0: Permission denied"));
    QVERIFY(!rig.panel->Timer6->isEnabled() && rig.port.sent().isEmpty());
    Rig ok;
    ok.port.feed("stale");
    QVERIFY(ok.panel->load());
    QCOMPARE((QStringList{QString::number(ok.port.commPort()), ok.port.settings(), ok.panel->LBLCOMM->text()}), (QStringList{"1", "2400,N,8,1", "Com1"}));
    QCOMPARE(ok.port.pending(), QByteArray()); // flushed
    QCOMPARE(ok.port.sent(), QByteArrayList{" "});
    QVERIFY(ok.panel->Timer6->isEnabled() && !ok.panel->Timer3->isEnabled() && !ok.panel->Timer4->isEnabled());
}

void LinkUiTest::frameReachesTheLabels_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("shown"); // value, AC/DC, range mode, battery, indicators shown
    QTest::newRow("negative auto, MIN, low battery") << (0x19 | 0x02 | 0x20) << QStringList{"-01.234", "DC", "Auto", "LOW BATTERY", "MIN"};
    QTest::newRow("MAX") << (0x08 | 0x40) << QStringList{"01.234", "DC", "Range", "", "MAX"};
    QTest::newRow("REL") << 0x88 << QStringList{"01.234", "DC", "Range", "", "REL"};
    QTest::newRow("MIN MAX REL, overload") << 0xE4 << QStringList{"OL", "AC", "Range", "", "MIN MAX REL"};
}

void LinkUiTest::frameReachesTheLabels()
{
    QFETCH(int, status);
    Rig rig;
    rig.load();
    rig.port.feed(frame(0x42, 0x01, 0x23, 0x40, static_cast<unsigned char>(status)));
    rig.tick();
    const live::PANEL &p = *rig.panel;
    QStringList indicators;
    const std::pair<QWidget *, const char *> shownBy[] = {{p.LABELMIN, "MIN"}, {p.LABELMAX, "MAX"}, {p.Label2, "REL"}};
    for (const auto &[label, name] : shownBy)
        if (!label->isHidden())
            indicators << QLatin1String(name);
    QCOMPARE(p.LBLFUN->text() + p.LBLRAN->text(), QStringLiteral("V50 V"));
    QTEST((QStringList{p.LBLVALUE->text(), p.LBLAD->text(), p.LBLAUTO->text(), p.LBLBAT->text(), indicators.join(u' ')}), "shown");
}

void LinkUiTest::backlogAndFeeds()
{
    // A meter streaming at the full line rate: one tick brings the display
    // to the newest frame and folds all of them into max/min.
    Rig rig;
    rig.load();
    const live::PANEL &p = *rig.panel;
    QSignalSpy fed(rig.panel.get(), &live::PANEL::analogFeed);
    for (const int value : {0x05, 0x09, 0x01, 0x02})
        rig.port.feed(frame(0x42, static_cast<unsigned char>(value), 0, 0, 0x08));
    rig.tick();
    QCOMPARE((QStringList{p.LBLVALUE->text(), p.LBLMAX->text(), p.LBLMIN->text()}), (QStringList{"02.000", "09.000", "01.000"}));
    rig.panel->CMDRESET->click(); // both take the current reading
    QCOMPARE((QStringList{p.LBLMAX->text(), p.LBLMIN->text()}), QStringList(2, "02.000"));
    QCOMPARE(fed.count(), 0); // the dial is fed only while it is open
    rig.shared.analogOn = -1;
    rig.panel->Label1->setText(QStringLiteral("12"));
    rig.panel->recordingOn = true;
    rig.port.feed(frame(0x42, 0x01, 0x23, 0x40, 0x08));
    rig.tick();
    QVERIFY(fed.count() == 1 && fed.at(0).at(0).toString() == "01.234");
    QVERIFY(!p.Label1->isHidden() && p.Label1->text() == "12"); // the recording count only while recording
    rig.panel->recordingOn = false;
    rig.port.feed(frame(0x42, 0, 0, 0, 0x08));
    rig.tick();
    QVERIFY(p.Label1->isHidden() && p.Label1->text() == "0");
}

void LinkUiTest::silentMeterLosesTheLinkAndRecovers_data()
{
    QTest::addColumn<QByteArray>("lastFrame");
    QTest::addColumn<int>("emptyTicks"); // the tick that loses the link
    QTest::newRow("volts") << frame(0x42, 0x01, 0x23, 0x40, 0x08) << 41;
    QTest::newRow("Frequency waits longer") << frame(0xC1, 0x01, 0x23, 0x40, 0x00) << 81;
}

void LinkUiTest::silentMeterLosesTheLinkAndRecovers()
{
    QFETCH(QByteArray, lastFrame);
    QFETCH(int, emptyTicks);
    Rig rig;
    rig.load();
    const live::PANEL &p = *rig.panel;
    rig.port.feed(lastFrame);
    rig.tick(emptyTicks);
    const QString acDc = p.LBLAD->text();
    QVERIFY(p.LBLCOMM->text() == "Com1" && p.showsLiveReading());
    rig.tick(); // the link counts as lost
    QCOMPARE(p.LBLCOMM->text(), QStringLiteral(" NO COM "));
    QCOMPARE(p.LBLVALUE->text() + p.LBLMAX->text() + p.LBLMIN->text() + p.LBLRAN->text() + p.LBLFUN->text(), QString());
    QVERIFY(!rig.viewButtonsEnabled() && !p.showsLiveReading());
    QCOMPARE(p.LBLAD->text(), acDc); // kept
    // A space every 0.5 s on the ticks; a byte after 1.2 s ends it at 1.5 s.
    for (int tick = 1; tick <= 30; ++tick) {
        rig.test.clock.advance(0.05);
        if (tick == 24)
            rig.port.feed("x");
        rig.tick();
        QCOMPARE(p.LBLCOMM->text(), tick < 30 ? QStringLiteral(" NO COM ") : QStringLiteral("Com1"));
    }
    QCOMPARE(rig.port.sent(), QByteArrayList(3, " "));
    QVERIFY(rig.viewButtonsEnabled() && p.showsLiveReading());
    QCOMPARE(rig.port.pending(), QByteArray("x")); // left for the next tick
    QCOMPARE(rig.pump.steps(), 0); // no tick let events run
}

void LinkUiTest::tickFromInsideAHandlerIsServed_data()
{
    // A handler of a shown frame runs a modal dialog whose loop ticks: those ticks show newer readings.
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("one frame") << frame(0x42, 0x01, 0, 0, 0x08);
    QTest::newRow("backlog: the older frame not shown over the newer") << frame(0x42, 0x01, 0, 0, 0x08) + frame(0x42, 0x02, 0, 0, 0x08);
}

void LinkUiTest::tickFromInsideAHandlerIsServed()
{
    QFETCH(QByteArray, bytes);
    Rig rig;
    rig.load();
    live::PANEL &p = *rig.panel;
    int nestedTicks = 0;
    connect(&p, &live::PANEL::frameShown, &p, [&] {
        if (nestedTicks > 0)
            return;
        ++nestedTicks;
        rig.port.feed(frame(0x42, 0x03, 0, 0, 0x08));
        rig.tick();
        QCOMPARE(p.LBLVALUE->text(), QStringLiteral("03.000"));
    });
    rig.port.feed(bytes);
    rig.tick();
    QCOMPARE(nestedTicks, 1);
    QCOMPARE(p.LBLVALUE->text() + u'|' + p.LBLMAX->text(), QStringLiteral("03.000|03.000"));
}

void LinkUiTest::functionChangeAndRelModeAreSignalled()
{
    Rig rig;
    rig.load();
    QSignalSpy changed(rig.panel.get(), &live::PANEL::functionTextChanged);
    QSignalSpy rel(rig.panel.get(), &live::PANEL::relModeSeen);
    rig.port.feed(frame(0x42, 0, 0, 0, 0x88) + frame(0x43, 0, 0, 0, 0x08) + frame(0x80, 0, 0, 0, 0x08));
    rig.tick(3);
    QCOMPARE(rel.count(), 1);
    QCOMPARE(changed.count(), 2); // "V", then "mV": a range change alone is no change
    QCOMPARE(changed.at(1).at(0).toString(), QStringLiteral("mV"));

    rig.tick(41); // link lost: the function is emptied
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.at(2).at(0).toString(), QString());
}

void LinkUiTest::clockTickShowsTimeAndReArms()
{
    Rig rig;
    rig.load();
    rig.panel->Timer2->fire(); // first tick of "2.0 Sec": no refresh yet
    QCOMPARE(rig.panel->LBLTIME->text() + QString::number(rig.panel->Timer2->interval()), QStringLiteral("980"));
    rig.test.clock.setSecondsSinceMidnight(36959.95);
    rig.panel->Timer2->fire();
    QCOMPARE(rig.panel->LBLTIME->text() + QString::number(rig.panel->Timer2->interval()), QStringLiteral("10:16:001050"));
}

QTEST_MAIN(LinkUiTest)
#include "tst_link_ui.moc"
