// The live link at its seam: bytes arriving between 50 ms ticks in, frames,
// link-lost and link-back signals and the nudges sent out.

#include "link/livelink.h"
#include "support/frames.h"
#include "support/scriptedclock.h"
#include "support/scriptedport.h"

#include <QTest>

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

class LiveLinkTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void reception_data();
    void reception();
    void linkLostRoutine_data();
    void linkLostRoutine();
};

void LiveLinkTest::reception_data()
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
    QTest::newRow("silent: lost after 40 empty ticks") << QByteArrayList{} << false << 41 << QList<int>{} << 41;
    QTest::newRow("Frequency: lost after 80") << QByteArrayList{} << true << 81 << QList<int>{} << 81;
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

void LiveLinkTest::reception()
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

void LiveLinkTest::linkLostRoutine_data()
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

void LiveLinkTest::linkLostRoutine()
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

QTEST_GUILESS_MAIN(LiveLinkTest)
#include "tst_livelink.moc"
