// The live link on bytes: the decoder, frame reception between 50 ms ticks
// with the link-lost routine, max/min, and the clock and feed texts.

#include "link/clockdisplay.h"
#include "link/decoder.h"
#include "link/feeds.h"
#include "link/livelink.h"
#include "link/maxmin.h"
#include "support/frames.h"
#include "support/scriptedclock.h"
#include "support/scriptedport.h"

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
struct MaxMinRow { QStringList start, readings; QString max, min; };
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
        for (const QByteArray &RxV : link.tick(frequency)) {
            QCOMPARE(RxV.size(), 6);
            QCOMPARE(RxV.back(), live::FrameReceiver::endByte);
            frameTicks << ticks;
        }
    }
};

} // namespace

Q_DECLARE_METATYPE(DecodeRow)
Q_DECLARE_METATYPE(ReceptionRow)
Q_DECLARE_METATYPE(LostRow)
Q_DECLARE_METATYPE(MaxMinRow)
Q_DECLARE_METATYPE(TextRow)

class LinkTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decodes_data();
    void decodes();
    void reception_data();
    void reception();
    void linkLostRoutine_data();
    void linkLostRoutine();
    void maxMin_data();
    void maxMin();
    void texts_data();
    void texts();
};

void LinkTest::decodes_data()
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

void LinkTest::decodes()
{
    QFETCH(DecodeRow, r);
    common::MeterReading m;
    common::SharedValues shared;
    for (const QByteArray &RxV : r.frames)
        RxV.size() < 6 ? live::decodedata(RxV, m, shared.valueByteFlag) : live::decodeLiveFrame(RxV, m, shared);
    QStringList on;
    for (const auto &[set, name] : {std::pair{!m.batteryText.isEmpty(), m.batteryText}, {m.minMode, "MIN"}, {m.maxMode, "MAX"}, {m.relMode, "REL"}})
        if (set)
            on << name;
    QCOMPARE(QStringList({m.functionText, m.rangeText, m.valueText, m.acDcText, m.rangeModeText, on.join(u',')}).join(u'|'), r.texts);
    QCOMPARE(shared.valueByteFlag, r.flag);
    QCOMPARE(shared.scaleMax, 0.0); // only stored records track the full scale
}

void LinkTest::reception_data()
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

void LinkTest::reception()
{
    QFETCH(ReceptionRow, r);
    Rig rig;
    for (int tick = 0; tick < r.ticks; ++tick) {
        if (tick < r.arrivals.size())
            rig.port.feed(r.arrivals.at(tick));
        rig.tick(r.frequency);
    }
    QCOMPARE(rig.frameTicks, r.frameTicks);
    QCOMPARE(rig.lostTicks, r.lostAt ? QList<int>{r.lostAt} : QList<int>{});
    QCOMPARE(rig.link.isLost(), r.lostAt != 0);
}

void LinkTest::linkLostRoutine_data()
{
    // A space at the loss and every 0.5 s; an answer is noticed when the next space is due.
    QTest::addColumn<LostRow>("r");
    QTest::newRow("meter answers after 1.2 s") << LostRow{24, false, 3, 30};
    QTest::newRow("meter answers at once") << LostRow{1, false, 1, 10};
    QTest::newRow("meter never answers") << LostRow{0, false, 5, 0};
    QTest::newRow("adapter gone: reopened before every space") << LostRow{0, true, 5, 0};
}

void LinkTest::linkLostRoutine()
{
    QFETCH(LostRow, r);
    Rig rig;
    for (int tick = 0; tick < 41; ++tick)
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
    QCOMPARE(rig.link.isLost(), r.backTick == 0);
    QVERIFY(rig.frameTicks.isEmpty()); // the answer is left for the reception
}

void LinkTest::maxMin_data()
{
    QTest::addColumn<MaxMinRow>("r");
    const auto row = [](const char *name, MaxMinRow r) { QTest::newRow(name) << r; };
    const QStringList none{QString(), QString()};
    row("texts kept as shown", {none, {"01.200", "03.400", "00.500"}, "03.400", "00.500"});
    row("negative compares by value", {none, {"-01.234", "-00.500", "-02.000"}, "-00.500", "-02.000"});
    row("OL becomes max, min untouched", {{"03.400", "00.500"}, {"OL"}, "OL", "00.500"});
    row("first reading OL", {none, {"OL", "02.000"}, "OL", "02.000"});
    row("-OL counts 0 for min", {{"03.400", "00.500"}, {"-OL"}, "03.400", "-OL"});
    row("-OL counts 0 for max", {{"-01.000", "-01.000"}, {"-OL"}, "-OL", "-01.000"});
    row("equal value keeps first text", {{"01.000", "01.000"}, {"1.0000"}, "01.000", "01.000"});
}

void LinkTest::maxMin()
{
    QFETCH(MaxMinRow, r);
    live::MaxMin extremes{r.start.at(0), r.start.at(1)};
    for (const QString &reading : r.readings)
        live::updateMaxMin(reading, extremes);
    QCOMPARE(QStringList({extremes.max, extremes.min}), QStringList({r.max, r.min}));
}

void LinkTest::texts_data()
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
}

void LinkTest::texts()
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
        {"sampling", [](const QString &s) { return QString::number(live::samplingIntervalMs(s)); }}};
    QCOMPARE(of.at(r.kind)(r.in), r.out);
}

QTEST_GUILESS_MAIN(LinkTest)
#include "tst_link.moc"
