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

namespace {

const auto frame = testsupport::liveRxV;

// The status indicators a reading carries, in a fixed order.
QString indicators(const common::MeterReading &reading)
{
    QStringList set;
    if (!reading.batteryText.isEmpty())
        set << reading.batteryText;
    if (reading.minMode)
        set << QStringLiteral("MIN");
    if (reading.maxMode)
        set << QStringLiteral("MAX");
    if (reading.relMode)
        set << QStringLiteral("REL");
    return set.join(QLatin1Char(','));
}

} // namespace

// The live link at its seam: bytes arriving between 50 ms ticks in, frames,
// link-lost and link-back signals and the nudges sent out.



namespace {

const QByteArray goodFrame = testsupport::liveFrame(0x80, 0x12, 0x34, 0x50, 0x08);

struct Rig
{
    testsupport::ScriptedPort port;
    testsupport::ScriptedClock clock{36000.0};
    live::LiveLink link{port, clock};
    int ticks = 0;
    QList<int> frameTicks;
    QList<int> lostTicks, backTicks;

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

class LinkTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decodesFrames_data();
    void decodesFrames();
    void unknownCodeKeepsPreviousFunctionAndRange_data();
    void unknownCodeKeepsPreviousFunctionAndRange();
    void checkMaxMinKeepsLargestFullScale_data();
    void checkMaxMinKeepsLargestFullScale();
    void shortFrameKeepsPreviousValue();
    void reception_data();
    void reception();
    void linkLostRoutine_data();
    void linkLostRoutine();
    void sequences_data();
    void sequences();
    void clockText_data();
    void clockText();
    void nextInterval_data();
    void nextInterval();
    void refreshOncePerSamplingTime_data();
    void refreshOncePerSamplingTime();
    void feedTexts_data();
    void feedTexts();
    void listLine();
    void samplingInterval_data();
    void samplingInterval();
};

void LinkTest::decodesFrames_data()
{
    QTest::addColumn<QByteArray>("RxV");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("acDc");
    QTest::addColumn<QString>("rangeMode");
    QTest::addColumn<QString>("indicators");
    QTest::addColumn<qint16>("valueByteFlag"); // bit 2 of value byte 3

    const qint16 off = 0, on = 1;
    QTest::newRow("500 mV worked example") << frame(0x80, 0x12, 0x34, 0x50, 0x08)
        << "mV" << "500 mV" << "123.45" << "DC" << "Range" << "" << off;
    QTest::newRow("50 V negative auto") << frame(0x42, 0x01, 0x23, 0x40, 0x19)
        << "V" << "50 V" << "-01.234" << "DC" << "Auto" << "" << off;
    QTest::newRow("Cx first nibble ignored even if set") << frame(0x61, 0x91, 0x23, 0x45, 0x00)
        << "Cx" << "5 uF" << "1.2345" << "" << "Range" << "" << on;
    QTest::newRow("5000 uA uses 0###.0") << frame(0x10, 0x12, 0x34, 0x50, 0x08)
        << "uA" << "5000 uA" << "1234.5" << "DC" << "Range" << "" << off;
    QTest::newRow("sixth nibble 5 rounds up") << frame(0x80, 0x12, 0x34, 0x55, 0x08)
        << "mV" << "500 mV" << "123.46" << "DC" << "Range" << "" << on;
    QTest::newRow("rounding carries through") << frame(0x80, 0x49, 0x99, 0x95, 0x08)
        << "mV" << "500 mV" << "500.00" << "DC" << "Range" << "" << on;
    QTest::newRow("non-BCD shortens the number") << frame(0x80, 0x12, 0xA4, 0x50, 0x08)
        << "mV" << "500 mV" << "000.01" << "DC" << "Range" << "" << off;
    QTest::newRow("non-BCD first digit gives zero") << frame(0x80, 0xB2, 0x34, 0x50, 0x08)
        << "mV" << "500 mV" << "000.00" << "DC" << "Range" << "" << off;
    QTest::newRow("overload") << frame(0x42, 0x12, 0x34, 0x50, 0x04)
        << "V" << "50 V" << "OL" << "AC" << "Range" << "" << off;
    QTest::newRow("every status bit: negative overload") << frame(0x42, 0x99, 0x99, 0x94, 0xFF)
        << "V" << "50 V" << "-OL" << "DC" << "Auto" << "LOW BATTERY,MIN,MAX,REL" << on;
    QTest::newRow("REL alone") << frame(0x42, 0x01, 0x23, 0x40, 0x88)
        << "V" << "50 V" << "01.234" << "DC" << "Range" << "REL" << off;
    QTest::newRow("Ohm beep") << frame(0x21, 0x01, 0x23, 0x40, 0x00)
        << "Ohm" << "5K Ohm" << "0.1234" << "BEEP" << "Range" << "" << off;
    QTest::newRow("Diode never AC/DC") << frame(0xA0, 0x01, 0x23, 0x40, 0x18)
        << "Diode" << "5 V" << "0.1234" << "" << "Auto" << "" << off;
    QTest::newRow("Frequency has no range mode") << frame(0xC2, 0x01, 0x23, 0x40, 0x18)
        << "Frequency" << "5K Hz" << "0.1234" << "" << "" << "" << off;
    QTest::newRow("codes 64 and 65 share a row") << frame(0x41, 0x01, 0x00, 0x00, 0x08)
        << "V" << "5 V" << "0.1000" << "DC" << "Range" << "" << off;
}

void LinkTest::decodesFrames()
{
    QFETCH(QByteArray, RxV);
    common::MeterReading reading;
    common::SharedValues shared;
    live::decodeLiveFrame(RxV, reading, shared);
    QTEST(reading.functionText, "function");
    QTEST(reading.rangeText, "range");
    QTEST(reading.valueText, "value");
    QTEST(reading.acDcText, "acDc");
    QTEST(reading.rangeModeText, "rangeMode");
    QTEST(indicators(reading), "indicators");
    QTEST(shared.valueByteFlag, "valueByteFlag");
    QCOMPARE(shared.scaleMax, 0.0); // only stored records track the full scale
}

void LinkTest::unknownCodeKeepsPreviousFunctionAndRange_data()
{
    QTest::addColumn<int>("code");
    for (int code : {0x00, 0x26, 0xC6})
        QTest::addRow("code 0x%02X", code) << code;
}

void LinkTest::unknownCodeKeepsPreviousFunctionAndRange()
{
    QFETCH(int, code);
    common::MeterReading reading;
    common::SharedValues shared;
    live::decodeLiveFrame(frame(0x42, 0x01, 0x23, 0x40, 0x08), reading, shared);
    live::decodeLiveFrame(frame(static_cast<unsigned char>(code), 0x02, 0x00, 0x00, 0x08), reading,
                          shared);
    QCOMPARE(reading.functionText, QStringLiteral("V"));
    QCOMPARE(reading.rangeText, QStringLiteral("50 V"));
    // The value is decoded with the previous range.
    QCOMPARE(reading.valueText, QStringLiteral("02.000"));
}

void LinkTest::checkMaxMinKeepsLargestFullScale_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<double>("scaleMax");
    QTest::addColumn<double>("scaleHalf");
    QTest::newRow("500 mV then 5 V") << 0x80 << 0x40 << 500.0 << 250.0;
    QTest::newRow("5 V alone halves to 2.5") << 0x40 << 0x00 << 5.0 << 2.5;
    QTest::newRow("50M Ohm") << 0x25 << 0x40 << 50000000.0 << 25000000.0;
}

void LinkTest::checkMaxMinKeepsLargestFullScale()
{
    QFETCH(int, first);
    QFETCH(int, second);
    common::SharedValues shared;
    QString function;
    QString range;
    for (int code : {first, second}) {
        const QByteArray RxV(1, static_cast<char>(code));
        live::DecodeSecondByte(RxV, {function, range}, true, shared);
    }
    QTEST(shared.scaleMax, "scaleMax");
    QTEST(shared.scaleHalf, "scaleHalf");
}

void LinkTest::shortFrameKeepsPreviousValue()
{
    common::MeterReading reading;
    reading.functionText = QStringLiteral("V");
    reading.rangeText = QStringLiteral("50 V");
    reading.valueText = QStringLiteral("01.234");
    qint16 flag = 0;
    live::decodedata(QByteArray("\x42\x01", 2), reading, flag);
    QCOMPARE(reading.valueText, QStringLiteral("01.234"));
}

void LinkTest::reception_data()
{
    QTest::addColumn<QByteArrayList>("arrivals"); // the i-th fed before tick i + 1
    QTest::addColumn<bool>("frequency");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QList<int>>("frameTicks");
    QTest::addColumn<int>("lostAt"); // tick of the loss, 0: none

    const QByteArray F = goodFrame;
    QTest::newRow("clean frame") << QByteArrayList{F} << false << 3 << QList<int>{1} << 0;
    QTest::newRow("three stray bytes cost a tick each")
        << QByteArrayList{QByteArray("\x08\x03\xFF", 3) + F} << false << 5 << QList<int>{4} << 0;
    // The rest of a frame is taken when it is there, at a later tick.
    QTest::newRow("frame in pieces") << QByteArrayList{F.left(3), {}, F.mid(3)} << false << 4
                                     << QList<int>{3} << 0;
    QTest::newRow("wrong end byte drops the frame behind it too")
        << QByteArrayList{F.left(6) + '\x04' + F} << false << 3 << QList<int>{} << 0;
    // Frequency's 80 ticks: the panel's silent-meter rows in tst_link_ui.
    QTest::newRow("silent: lost after 40 empty ticks") << QByteArrayList{} << false << 41 << QList<int>{} << 41;
    // 60 ticks of 50 ms for the rest of a frame, as long as before.
    QTest::newRow("truncated frame: lost after 60 ticks collecting")
        << QByteArrayList{F.left(4)} << true << 62 << QList<int>{} << 62;
    QTest::newRow("late rest within 60 ticks")
        << QByteArrayList{F.left(4)} + QByteArrayList(59) + QByteArrayList{F.mid(4)} << false << 62
        << QList<int>{61} << 0;
    QTest::newRow("backlog of whole frames: all in one tick")
        << QByteArrayList{F + F + F + F} << false << 2 << QList<int>{1, 1, 1, 1} << 0;
    // Noise faster than the ticks goes within one tick, down to two frames'
    // worth, which then costs a tick a byte again.
    QTest::newRow("backlog of noise") << QByteArrayList{QByteArray(200, '\x55') + F} << false << 10
                                      << QList<int>{9} << 0;
}

void LinkTest::reception()
{
    QFETCH(QByteArrayList, arrivals);
    QFETCH(bool, frequency);
    QFETCH(int, ticks);
    QFETCH(int, lostAt);
    Rig rig;
    for (int tick = 0; tick < ticks; ++tick) {
        if (tick < arrivals.size())
            rig.port.feed(arrivals.at(tick));
        rig.tick(frequency);
    }
    QTEST(rig.frameTicks, "frameTicks");
    QCOMPARE(rig.lostTicks, lostAt ? QList<int>{lostAt} : QList<int>{});
    QCOMPARE(rig.link.isLost(), lostAt != 0);
}

void LinkTest::linkLostRoutine_data()
{
    QTest::addColumn<int>("answerTick"); // ticks after the loss the meter answers, 0: never
    QTest::addColumn<bool>("deviceGone");
    QTest::addColumn<int>("nudges");   // spaces sent in 40 ticks from the loss
    QTest::addColumn<int>("backTick"); // ticks after the loss, 0: still lost

    // A space at the loss and every 0.5 s; an answer is noticed when the
    // next space is due.
    QTest::newRow("meter answers after 1.2 s") << 24 << false << 3 << 30;
    QTest::newRow("meter answers at once") << 1 << false << 1 << 10;
    QTest::newRow("meter never answers") << 0 << false << 5 << 0;
    QTest::newRow("adapter gone: reopened before every space") << 0 << true << 5 << 0;
}

void LinkTest::linkLostRoutine()
{
    QFETCH(int, answerTick);
    QFETCH(bool, deviceGone);
    QFETCH(int, backTick);
    Rig rig;
    for (int tick = 0; tick < 41; ++tick)
        rig.tick();
    QCOMPARE(rig.lostTicks, QList<int>{41});
    rig.port.setDeviceLost(deviceGone);
    const int opensBefore = rig.port.openCalls();
    for (int tick = 1; tick <= 40; ++tick) {
        if (tick == answerTick)
            rig.port.feed("x");
        rig.tick();
    }
    QTEST(int(rig.port.sent().size()), "nudges");
    QVERIFY(rig.port.sentBytes().count(' ') == rig.port.sent().size());
    QCOMPARE(rig.port.openCalls() - opensBefore, deviceGone ? rig.port.sent().size() - 1 : 0);
    QCOMPARE(rig.backTicks, backTick ? QList<int>{41 + backTick} : QList<int>{});
    QCOMPARE(rig.link.isLost(), backTick == 0);
    // The answer is left for the reception; it does not end in a frame.
    QVERIFY(rig.frameTicks.isEmpty());
}

void LinkTest::sequences_data()
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

void LinkTest::sequences()
{
    QFETCH(QStringList, startMaxMin);
    QFETCH(QStringList, readings);
    live::MaxMin extremes{startMaxMin.at(0), startMaxMin.at(1)};
    for (const QString &reading : readings)
        live::updateMaxMin(reading, extremes);
    QTEST(extremes.max, "max");
    QTEST(extremes.min, "min");
}

void LinkTest::clockText_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("half rounds to even second") << 36958.5 << "10:15:58";
    QTest::newRow("late in the second rounds up") << 36959.7 << "10:16:00";
    QTest::newRow("last second of the day") << 86399.2 << "23:59:59";
    QTest::newRow("end of day wraps") << 86399.7 << "00:00:00";
}

void LinkTest::clockText()
{
    QFETCH(double, seconds);
    QTEST(live::clockText(seconds), "text");
}

void LinkTest::nextInterval_data()
{
    QTest::addColumn<int>("msOfDay");
    QTest::addColumn<int>("interval");
    const int base = (10 * 3600 + 15 * 60 + 59) * 1000;
    QTest::newRow("at .950 too close") << base + 950 << 1050;
    QTest::newRow("at .900 exactly 100") << base + 900 << 100;
    QTest::newRow("on the second") << base << 1000;
}

void LinkTest::nextInterval()
{
    QFETCH(int, msOfDay);
    QTEST(live::nextClockInterval(msOfDay, 1000), "interval");
}

void LinkTest::refreshOncePerSamplingTime_data()
{
    QTest::addColumn<double>("sampling");
    QTest::addColumn<QString>("pattern"); // one letter per tick: R refresh, - skip
    QTest::newRow("1.0 Sec") << 1.0 << "RRRR";
    QTest::newRow("2.5 Sec") << 2.5 << "--R--R";
    QTest::newRow("60 Sec") << 60.0 << QString(59, QLatin1Char('-')) + QLatin1Char('R');
}

void LinkTest::refreshOncePerSamplingTime()
{
    QFETCH(double, sampling);
    QFETCH(QString, pattern);
    common::SharedValues shared;
    shared.pcSampling = 1;
    QString seen;
    for (int tick = 0; tick < pattern.size(); ++tick)
        seen += live::clockRefreshDue(shared, sampling) ? QLatin1Char('R') : QLatin1Char('-');
    QCOMPARE(seen, pattern);
}

void LinkTest::feedTexts_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("fed");
    QTest::newRow("trailing zeros dropped") << "1.2000" << "1.2";
    QTest::newRow("negative") << "-01.234" << "-1.234";
    QTest::newRow("negative zero") << "-00.000" << "0";
    QTest::newRow("-OL") << "-OL" << "0";
    QTest::newRow("empty") << "" << "0";
}

void LinkTest::feedTexts()
{
    QFETCH(QString, value);
    QTEST(live::graphFeedText(value), "fed");
}

void LinkTest::listLine()
{
    QCOMPARE(live::listFeedText({QStringLiteral("10:15:58"), QStringLiteral("V"),
                                 QStringLiteral("5 V"), QStringLiteral("1.2345")}),
             QStringLiteral("  10:15:58    V    5 V:     1.2345"));
    QCOMPARE(live::listFeedText({QStringLiteral("10:15:58"), {}, {}, {}}),
             QStringLiteral("  10:15:58        :     "));
}

void LinkTest::samplingInterval_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("ms");
    QTest::newRow("2.5 Sec") << "2.5 Sec" << 2500;
    QTest::newRow("60 Sec") << "60 Sec" << 60000;
    QTest::newRow("0.1 exactly") << "0.1 Sec" << 100;
}

void LinkTest::samplingInterval()
{
    QFETCH(QString, label);
    QTEST(live::samplingIntervalMs(label), "ms");
}

QTEST_GUILESS_MAIN(LinkTest)
#include "tst_link.moc"
