// The live link on bytes (decoder, reception between 50 ms ticks, link-lost
// routine, texts) and the PANEL's wiring to them.

#include "link/clockdisplay.h"
#include "link/decoder.h"
#include "link/feeds.h"
#include "link/livelink.h"
#include "link/maxmin.h"
#include "link/ui/panel.h"
#include "support/frames.h"
#include "support/scriptedclock.h"
#include "support/scriptedport.h"
#include "support/testplatform.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

const auto frame = testsupport::liveRxV;
const QByteArray goodFrame = testsupport::liveFrame(0x80, 0x12, 0x34, 0x50, 0x08);

// Frames decoded in turn; the last reading's texts ("function|range|value|
// AC/DC|range mode|indicators") and the value flag.
struct DecodeRow { QByteArrayList frames; QString texts; qint16 flag = 0; };
// Bytes fed before tick i + 1; the ticks that gave a frame; the tick of the loss (0: none).
struct ReceptionRow { QByteArrayList arrivals; bool frequency; int ticks; QList<int> frameTicks; int lostAt; };
// After the loss: the tick the meter answers (0: never), spaces sent in 40 ticks, tick it is back (0: never).
struct LostRow { int answerTick; bool deviceGone; int nudges; int backTick; };
struct TextRow { QString kind, in, out; };

struct Rig
{
    testsupport::ScriptedPort port;
    testsupport::ScriptedClock clock{36000.0};
    live::LiveLink link{port, clock};
    int ticks = 0;
    QList<int> frameTicks, lostTicks, backTicks;

    Rig()
    {
        port.open();
        QObject::connect(&link, &live::LiveLink::linkLost, [this] { lostTicks << ticks; });
        QObject::connect(&link, &live::LiveLink::linkBack, [this] { backTicks << ticks; });
    }
    void tick(bool frequency = false)
    {
        ++ticks;
        clock.advance(0.05);
        for (const QByteArray &RxV : link.tick(frequency)) // a malformed frame counts as tick -1
            frameTicks << (RxV.size() == 6 && RxV.back() == live::FrameReceiver::endByte ? ticks : -1);
    }
};

struct PanelRig : testsupport::TestPlatform
{
    common::SharedValues shared;
    platform::Platform setup = platform();
    std::unique_ptr<live::PANEL> panel;

    explicit PanelRig(bool loaded = true)
    {
        clock.setSecondsSinceMidnight(36958.02);
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(setup, shared);
        if (loaded && panel->load())
            port.clearSent();
    }
    void tick(int count = 1) { for (int i = 0; i < count; ++i) panel->Timer6->fire(); }
    bool viewButtonsEnabled() const { return panel->CMDGRAPH->isEnabled() && panel->CMDLIST->isEnabled() && panel->CMDANALOG->isEnabled() && panel->CMDMEMORY->isEnabled(); }
};

} // namespace

Q_DECLARE_METATYPE(DecodeRow)
Q_DECLARE_METATYPE(ReceptionRow)
Q_DECLARE_METATYPE(LostRow)
Q_DECLARE_METATYPE(TextRow)

class LinkTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decodes_data()
    {
        QTest::addColumn<DecodeRow>("r");
        const auto row = [](const char *name, DecodeRow r) { QTest::newRow(name) << r; };
        row("500 mV", {{frame(0x80, 0x12, 0x34, 0x50, 0x08)}, "mV|500 mV|123.45|DC|Range|"});
        row("50 V negative auto", {{frame(0x42, 0x01, 0x23, 0x40, 0x19)}, "V|50 V|-01.234|DC|Auto|"});
        row("Cx first nibble ignored even if set", {{frame(0x61, 0x91, 0x23, 0x45, 0x00)}, "Cx|5 uF|1.2345||Range|", 1});
        row("5000 uA uses 0###.0", {{frame(0x10, 0x12, 0x34, 0x50, 0x08)}, "uA|5000 uA|1234.5|DC|Range|"});
        row("sixth nibble 5 rounds up", {{frame(0x80, 0x12, 0x34, 0x55, 0x08)}, "mV|500 mV|123.46|DC|Range|", 1});
        row("rounding carries through", {{frame(0x80, 0x49, 0x99, 0x95, 0x08)}, "mV|500 mV|500.00|DC|Range|", 1});
        row("non-BCD shortens the number", {{frame(0x80, 0x12, 0xA4, 0x50, 0x08)}, "mV|500 mV|000.01|DC|Range|"});
        row("non-BCD first digit gives zero", {{frame(0x80, 0xB2, 0x34, 0x50, 0x08)}, "mV|500 mV|000.00|DC|Range|"});
        row("overload", {{frame(0x42, 0x12, 0x34, 0x50, 0x04)}, "V|50 V|OL|AC|Range|"});
        row("every status bit", {{frame(0x42, 0x99, 0x99, 0x94, 0xFF)}, "V|50 V|-OL|DC|Auto|LOW BATTERY,MIN,MAX,REL", 1});
        row("REL alone", {{frame(0x42, 0x01, 0x23, 0x40, 0x88)}, "V|50 V|01.234|DC|Range|REL"});
        row("Ohm beep", {{frame(0x21, 0x01, 0x23, 0x40, 0x00)}, "Ohm|5K Ohm|0.1234|BEEP|Range|"});
        row("Diode never AC/DC", {{frame(0xA0, 0x01, 0x23, 0x40, 0x18)}, "Diode|5 V|0.1234||Auto|"});
        row("Frequency has no range mode", {{frame(0xC2, 0x01, 0x23, 0x40, 0x18)}, "Frequency|5K Hz|0.1234|||"});
        row("codes 64 and 65 share a row", {{frame(0x41, 0x01, 0x00, 0x00, 0x08)}, "V|5 V|0.1000|DC|Range|"});
        for (int c : {0x00, 0x26, 0xC6}) // decoded with the range before
            QTest::addRow("unknown code 0x%02X", c) << DecodeRow{{frame(0x42, 1, 0x23, 0x40, 8), frame(static_cast<unsigned char>(c), 2, 0, 0, 8)}, "V|50 V|02.000|DC|Range|"};
        row("short frame keeps the value", {{frame(0x42, 0x01, 0x23, 0x40, 0x08), QByteArray("\x42\x01", 2)}, "V|50 V|01.234|DC|Range|"});
    }

    void decodes()
    {
        QFETCH(DecodeRow, r);
        common::MeterReading m;
        common::SharedValues shared;
        for (const QByteArray &RxV : r.frames)
            RxV.size() < 6 ? live::decodedata(RxV, m, shared.valueByteFlag) : live::decodeLiveFrame(RxV, m, shared);
        QStringList on;
        for (const auto &[set, name] : {std::pair{!m.batteryText.isEmpty(), m.batteryText}, {m.minMode, "MIN"}, {m.maxMode, "MAX"}, {m.relMode, "REL"}})
            on << (set ? name : QString());
        on.removeAll(QString());
        QCOMPARE(QStringList({m.functionText, m.rangeText, m.valueText, m.acDcText, m.rangeModeText, on.join(u',')}).join(u'|'), r.texts);
        QCOMPARE(shared.valueByteFlag, r.flag);
        QCOMPARE(shared.scaleMax, 0.0); // only stored records track the full scale
    }

    void reception_data()
    {
        QTest::addColumn<ReceptionRow>("r");
        const auto row = [](const char *name, ReceptionRow r) { QTest::newRow(name) << r; };
        const QByteArray F = goodFrame;
        row("clean frame", {{F}, false, 3, {1}, 0});
        row("three stray bytes cost a tick each", {{QByteArray("\x08\x03\xFF", 3) + F}, false, 5, {4}, 0});
        row("frame in pieces", {{F.left(3), {}, F.mid(3)}, false, 4, {3}, 0});
        row("wrong end byte drops the frame behind it too", {{F.left(6) + '\x04' + F}, false, 3, {}, 0});
        row("silent: lost after 40 empty ticks", {{}, false, 41, {}, 41});
        row("truncated frame: lost after 60 ticks collecting", {{F.left(4)}, true, 62, {}, 62});
        row("late rest within 60 ticks", {QByteArrayList{F.left(4)} + QByteArrayList(59) + QByteArrayList{F.mid(4)}, false, 62, {61}, 0});
        row("backlog of whole frames: all in one tick", {{F + F + F + F}, false, 2, {1, 1, 1, 1}, 0});
        // Noise faster than the ticks goes within one tick, down to two frames' worth.
        row("backlog of noise", {{QByteArray(200, '\x55') + F}, false, 10, {9}, 0});
    }

    void reception()
    {
        QFETCH(ReceptionRow, r);
        Rig rig;
        for (int tick = 0; tick < r.ticks; ++tick) {
            if (tick < r.arrivals.size())
                rig.port.feed(r.arrivals.at(tick));
            rig.tick(r.frequency);
        }
        QCOMPARE(rig.frameTicks, r.frameTicks);
        QCOMPARE((QList<int>{rig.link.isLost()} + rig.lostTicks), (QList<int>{r.lostAt != 0} + (r.lostAt ? QList<int>{r.lostAt} : QList<int>{})));
    }

    void linkLostRoutine_data()
    {
        // A space at the loss and every 0.5 s; an answer is noticed when the next space is due.
        QTest::addColumn<LostRow>("r");
        QTest::newRow("meter answers at once") << LostRow{1, false, 1, 10};
        QTest::newRow("meter never answers") << LostRow{0, false, 5, 0};
        QTest::newRow("adapter gone: reopened before every space") << LostRow{0, true, 5, 0};
    }

    void linkLostRoutine()
    {
        QFETCH(LostRow, r);
        Rig rig;
        while (rig.ticks < 41)
            rig.tick();
        QCOMPARE(rig.lostTicks, QList<int>{41});
        rig.port.setDeviceLost(r.deviceGone);
        const int opensBefore = rig.port.openCalls();
        for (int tick = 1; tick <= 40; ++tick) {
            if (tick == r.answerTick)
                rig.port.feed("x");
            rig.tick();
        }
        QCOMPARE(rig.port.sentBytes(), QByteArray(r.nudges, ' '));
        QCOMPARE(rig.port.openCalls() - opensBefore, r.deviceGone ? r.nudges - 1 : 0);
        QCOMPARE(rig.backTicks, r.backTick ? QList<int>{41 + r.backTick} : QList<int>{});
        QVERIFY(rig.link.isLost() == (r.backTick == 0) && rig.frameTicks.isEmpty()); // the answer is left for the reception
    }

    void texts_data()
    {
        // clock: seconds of the day; interval: ms after 10:15:59; refresh: the
        // sampling time, R or - per tick; graph/list: what the feeds are given.
        QTest::addColumn<TextRow>("r");
        const auto row = [](const char *name, TextRow r) { QTest::newRow(name) << r; };
        row("half rounds to even second", {"clock", "36958.5", "10:15:58"});
        row("late in the second rounds up", {"clock", "36959.7", "10:16:00"});
        row("last second of the day", {"clock", "86399.2", "23:59:59"});
        row("end of day wraps", {"clock", "86399.7", "00:00:00"});
        row("at .950 too close", {"interval", "950", "1050"});
        row("at .900 exactly 100", {"interval", "900", "100"});
        row("on the second", {"interval", "0", "1000"});
        row("refresh 1.0 Sec", {"refresh", "1.0", "RRRR"});
        row("refresh 2.5 Sec", {"refresh", "2.5", "--R--R"});
        row("refresh 60 Sec", {"refresh", "60", QString(59, u'-') + u'R'});
        row("trailing zeros dropped", {"graph", "1.2000", "1.2"});
        row("negative", {"graph", "-01.234", "-1.234"});
        row("negative zero", {"graph", "-00.000", "0"});
        row("-OL", {"graph", "-OL", "0"});
        row("empty", {"graph", "", "0"});
        row("list line", {"list", "10:15:58|V|5 V|1.2345", "  10:15:58    V    5 V:     1.2345"});
        row("list line, link lost", {"list", "10:15:58|||", "  10:15:58        :     "});
        row("sampling 2.5 Sec", {"sampling", "2.5 Sec", "2500"});
        row("sampling 60 Sec", {"sampling", "60 Sec", "60000"});
        row("sampling 0.1 exactly", {"sampling", "0.1 Sec", "100"});
        // maxmin: max and min before, then the readings shown; max|min after.
        row("texts kept as shown", {"maxmin", "||01.200|03.400|00.500", "03.400|00.500"});
        row("negative compares by value", {"maxmin", "||-01.234|-00.500|-02.000", "-00.500|-02.000"});
        row("OL becomes max, min untouched", {"maxmin", "03.400|00.500|OL", "OL|00.500"});
        row("first reading OL", {"maxmin", "||OL|02.000", "OL|02.000"});
        row("-OL counts 0 for min", {"maxmin", "03.400|00.500|-OL", "03.400|-OL"});
        row("-OL counts 0 for max", {"maxmin", "-01.000|-01.000|-OL", "-OL|-01.000"});
        row("equal value keeps first text", {"maxmin", "01.000|01.000|1.0000", "01.000|01.000"});
    }

    void texts()
    {
        QFETCH(TextRow, r);
        const std::map<QString, std::function<QString(const QString &)>> of{
            {"clock", [](const QString &s) { return live::clockText(s.toDouble()); }},
            {"interval", [](const QString &s) { return QString::number(live::nextClockInterval((10 * 3600 + 15 * 60 + 59) * 1000 + s.toInt(), 1000)); }},
            {"refresh", [&r](const QString &s) {
                 common::SharedValues shared;
                 shared.pcSampling = 1;
                 QString seen;
                 while (seen.size() < r.out.size())
                     seen += live::clockRefreshDue(shared, s.toDouble()) ? u'R' : u'-';
                 return seen;
             }},
            {"graph", [](const QString &s) { return live::graphFeedText(s); }},
            {"list", [](const QString &s) {
                 const QStringList p = s.split(u'|');
                 return live::listFeedText({p[0], p[1], p[2], p[3]});
             }},
            {"sampling", [](const QString &s) { return QString::number(live::samplingIntervalMs(s)); }},
            {"maxmin", [](const QString &s) {
                 const QStringList p = s.split(u'|');
                 live::MaxMin extremes{p[0], p[1]};
                 for (const QString &reading : p.mid(2))
                     live::updateMaxMin(reading, extremes);
                 return extremes.max + u'|' + extremes.min;
             }}};
        QCOMPARE(of.at(r.kind)(r.in), r.out);
    }

    void loadAndClock()
    {
        PanelRig rig(false);
        rig.port.failOpenWith(QStringLiteral("Cannot open /dev/ttyS0: Permission denied"));
        QVERIFY(!rig.panel->load()); // a failure leaves everything stopped
        QCOMPARE(rig.panel->openError(), QStringLiteral("Cannot open /dev/ttyS0: Permission denied"));
        QVERIFY(!rig.panel->Timer6->isEnabled() && rig.port.sent().isEmpty());
        PanelRig ok(false);
        ok.port.feed("stale");
        QVERIFY(ok.panel->load());
        QCOMPARE((QStringList{QString::number(ok.port.commPort()), ok.port.settings(), ok.panel->LBLCOMM->text()}), (QStringList{"1", "2400,N,8,1", "Com1"}));
        QVERIFY(ok.port.pending().isEmpty() && ok.port.sent() == QByteArrayList{" "}); // flushed, then a space
        QVERIFY(ok.panel->Timer6->isEnabled() && !ok.panel->Timer3->isEnabled() && !ok.panel->Timer4->isEnabled());
        ok.panel->Timer2->fire(); // the clock's first tick of "2.0 Sec": no refresh yet
        QCOMPARE(ok.panel->LBLTIME->text() + QString::number(ok.panel->Timer2->interval()), QStringLiteral("980"));
        ok.clock.setSecondsSinceMidnight(36959.95);
        ok.panel->Timer2->fire();
        QCOMPARE(ok.panel->LBLTIME->text() + QString::number(ok.panel->Timer2->interval()), QStringLiteral("10:16:001050"));
    }

    void frameReachesTheLabels_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("shown"); // value, AC/DC, range mode, battery, indicators shown
        QTest::newRow("negative auto, MIN, low battery") << (0x19 | 0x02 | 0x20) << QStringList{"-01.234", "DC", "Auto", "LOW BATTERY", "MIN"};
        QTest::newRow("MAX") << (0x08 | 0x40) << QStringList{"01.234", "DC", "Range", "", "MAX"};
        QTest::newRow("MIN MAX REL, overload") << 0xE4 << QStringList{"OL", "AC", "Range", "", "MIN MAX REL"};
    }

    void frameReachesTheLabels()
    {
        QFETCH(int, status);
        PanelRig rig;
        rig.port.feed(testsupport::liveFrame(0x42, 0x01, 0x23, 0x40, static_cast<unsigned char>(status)));
        rig.tick();
        const live::PANEL &p = *rig.panel;
        QStringList indicators;
        for (const auto &[label, name] : {std::pair<QWidget *, QString>{p.LABELMIN, "MIN"}, {p.LABELMAX, "MAX"}, {p.Label2, "REL"}})
            indicators << (label->isHidden() ? QString() : name);
        indicators.removeAll(QString());
        QCOMPARE(p.LBLFUN->text() + p.LBLRAN->text(), QStringLiteral("V50 V"));
        QTEST((QStringList{p.LBLVALUE->text(), p.LBLAD->text(), p.LBLAUTO->text(), p.LBLBAT->text(), indicators.join(u' ')}), "shown");
    }

    void backlogAndFeeds()
    {
        // A meter streaming at the full line rate: one tick brings the display
        // to the newest frame and folds all of them into max/min.
        PanelRig rig;
        const live::PANEL &p = *rig.panel;
        QSignalSpy fed(rig.panel.get(), &live::PANEL::analogFeed);
        for (const int value : {0x05, 0x09, 0x01, 0x02})
            rig.port.feed(testsupport::liveFrame(0x42, static_cast<unsigned char>(value), 0, 0, 0x08));
        rig.tick();
        QCOMPARE((QStringList{p.LBLVALUE->text(), p.LBLMAX->text(), p.LBLMIN->text()}), (QStringList{"02.000", "09.000", "01.000"}));
        rig.panel->CMDRESET->click(); // both take the current reading
        QCOMPARE((QStringList{p.LBLMAX->text(), p.LBLMIN->text()}), QStringList(2, "02.000"));
        QCOMPARE(fed.count(), 0); // the dial is fed only while it is open
        rig.shared.analogOn = -1;
        rig.panel->Label1->setText(QStringLiteral("12"));
        rig.panel->recordingOn = true;
        rig.port.feed(testsupport::liveFrame(0x42, 0x01, 0x23, 0x40, 0x08));
        rig.tick();
        QVERIFY(fed.count() == 1 && fed.at(0).at(0).toString() == "01.234");
        QVERIFY(!p.Label1->isHidden() && p.Label1->text() == "12"); // the recording count only while recording
        rig.panel->recordingOn = false;
        rig.port.feed(testsupport::liveFrame(0x42, 0, 0, 0, 0x08));
        rig.tick();
        QVERIFY(p.Label1->isHidden() && p.Label1->text() == "0");
    }

    void silentMeterLosesTheLinkAndRecovers_data()
    {
        // The functions signalled (a range change alone is no change; the loss empties it), REL seen.
        QTest::addColumn<QByteArray>("frames");
        QTest::addColumn<int>("emptyTicks"); // the tick that loses the link
        QTest::addColumn<QString>("functions");
        QTest::addColumn<int>("rel");
        const auto f = testsupport::liveFrame;
        QTest::newRow("volts with REL, then millivolts") << f(0x42, 0, 0, 0, 0x88) + f(0x43, 0, 0, 0, 0x08) + f(0x80, 0x01, 0x23, 0x40, 0x08) << 41 << "V|mV|" << 1;
        QTest::newRow("Frequency waits longer") << f(0xC1, 0x01, 0x23, 0x40, 0x00) << 81 << "Frequency|" << 0;
    }

    void silentMeterLosesTheLinkAndRecovers()
    {
        QFETCH(QByteArray, frames);
        QFETCH(int, emptyTicks);
        PanelRig rig;
        const live::PANEL &p = *rig.panel;
        QStringList functions;
        connect(&p, &live::PANEL::functionTextChanged, this, [&](const QString &text) { functions << text; });
        QSignalSpy rel(&p, &live::PANEL::relModeSeen);
        rig.port.feed(frames);
        rig.tick(emptyTicks);
        const QString acDc = p.LBLAD->text();
        QVERIFY(p.LBLCOMM->text() == "Com1" && p.showsLiveReading());
        rig.tick(); // the link counts as lost
        QCOMPARE(p.LBLCOMM->text(), QStringLiteral(" NO COM "));
        QCOMPARE(p.LBLVALUE->text() + p.LBLMAX->text() + p.LBLMIN->text() + p.LBLRAN->text() + p.LBLFUN->text(), QString());
        QVERIFY(!rig.viewButtonsEnabled() && !p.showsLiveReading());
        QCOMPARE(p.LBLAD->text(), acDc); // kept
        QTEST(functions.join(u'|'), "functions");
        QTEST(int(rel.count()), "rel");
        // A space every 0.5 s on the ticks; a byte after 1.2 s ends it at 1.5 s.
        for (int tick = 1; tick <= 30; ++tick) {
            rig.clock.advance(0.05);
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

    void tickFromInsideAHandlerIsServed_data()
    {
        // A handler of a shown frame runs a modal dialog whose loop ticks: those ticks show newer readings.
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("one frame") << testsupport::liveFrame(0x42, 0x01, 0, 0, 0x08);
        QTest::newRow("backlog: the older frame not shown over the newer") << testsupport::liveFrame(0x42, 0x01, 0, 0, 0x08) + testsupport::liveFrame(0x42, 0x02, 0, 0, 0x08);
    }

    void tickFromInsideAHandlerIsServed()
    {
        QFETCH(QByteArray, bytes);
        PanelRig rig;
        live::PANEL &p = *rig.panel;
        int nestedTicks = 0;
        connect(&p, &live::PANEL::frameShown, &p, [&] {
            if (nestedTicks++ > 0)
                return;
            rig.port.feed(testsupport::liveFrame(0x42, 0x03, 0, 0, 0x08));
            rig.tick();
            QCOMPARE(p.LBLVALUE->text(), QStringLiteral("03.000"));
        });
        rig.port.feed(bytes);
        rig.tick();
        QCOMPARE(nestedTicks, 2); // the nested tick's frame, then no more
        QCOMPARE(p.LBLVALUE->text() + u'|' + p.LBLMAX->text(), QStringLiteral("03.000|03.000"));
    }
};

QTEST_MAIN(LinkTest)
#include "tst_link.moc"
