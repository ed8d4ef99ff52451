#include "link/framereceiver.h"
#include "link/linklostloop.h"
#include "support/scriptedclock.h"
#include "support/scriptedport.h"
#include "support/scriptedpump.h"

#include <QTest>

namespace {

const QByteArray goodFrame("\x02\x80\x12\x34\x50\x08\x03", 7);

struct Rig
{
    testsupport::ScriptedPort port;
    testsupport::ScriptedClock clock{36000.0};
    testsupport::ScriptedPump pump{clock};
    live::FrameReceiver receiver{port, clock, pump};
    int linkLosses = 0;

    Rig()
    {
        port.open();
        receiver.setLinkLostHandler([this] { ++linkLosses; });
    }

    // Ticks until a frame comes out or `limit` ticks have passed; returns
    // the number of ticks taken (limit + 1 when none came).
    int ticksUntilFrame(int limit, QByteArray *frame = nullptr)
    {
        for (int tick = 1; tick <= limit; ++tick) {
            if (const auto RxV = receiver.tick(false)) {
                if (frame)
                    *frame = *RxV;
                return tick;
            }
        }
        return limit + 1;
    }
};

} // namespace

class FrameReceiverTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void strayBytesCostOneTickEach_data();
    void strayBytesCostOneTickEach();
    void wrongEndByteFlushesTheBuffer();
    void emptyTicksLoseTheLink_data();
    void emptyTicksLoseTheLink();
    void frameArrivingInPiecesIsCollected();
    void truncatedFrameLosesTheLinkAfterSixtyWaits();
    void collectingStopsWhenTheProgramEnds();
    void nudgesUntilBytesArrive();
    void nudgingReopensALostDevice();
};

void FrameReceiverTest::strayBytesCostOneTickEach_data()
{
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<int>("ticks");
    QTest::newRow("clean") << QByteArray() << 1;
    QTest::newRow("three stray bytes") << QByteArray("\x55\x03\xFF", 3) << 4;
    QTest::newRow("tail of an earlier frame") << QByteArray("\x34\x50\x08\x03", 4) << 5;
}

void FrameReceiverTest::strayBytesCostOneTickEach()
{
    QFETCH(QByteArray, prefix);
    Rig rig;
    rig.port.feed(prefix + goodFrame);
    QByteArray RxV;
    QTEST(rig.ticksUntilFrame(20, &RxV), "ticks");
    QCOMPARE(RxV, goodFrame.mid(1));
    QCOMPARE(rig.receiver.noDataTicks(), 0);
}

void FrameReceiverTest::wrongEndByteFlushesTheBuffer()
{
    Rig rig;
    QByteArray bad = goodFrame;
    bad[6] = 4;
    rig.port.feed(bad + goodFrame);
    QVERIFY(!rig.receiver.tick(false));
    QCOMPARE(rig.port.pending(), QByteArray()); // the good frame behind went too
    QCOMPARE(rig.linkLosses, 0);
}

void FrameReceiverTest::emptyTicksLoseTheLink_data()
{
    QTest::addColumn<bool>("frequency");
    QTest::addColumn<int>("limit");
    QTest::newRow("other functions") << false << 40;
    QTest::newRow("Frequency") << true << 80;
}

void FrameReceiverTest::emptyTicksLoseTheLink()
{
    QFETCH(bool, frequency);
    QFETCH(int, limit);
    Rig rig;
    for (int tick = 1; tick <= limit; ++tick)
        rig.receiver.tick(frequency);
    QCOMPARE(rig.linkLosses, 0);
    QCOMPARE(rig.receiver.noDataTicks(), limit);
    rig.receiver.tick(frequency);
    QCOMPARE(rig.linkLosses, 1);
    QCOMPARE(rig.receiver.noDataTicks(), 0);
}

void FrameReceiverTest::frameArrivingInPiecesIsCollected()
{
    Rig rig;
    rig.port.feed(goodFrame.left(3));
    rig.pump.after(0.12, [&] { rig.port.feed(goodFrame.mid(3)); });
    const auto RxV = rig.receiver.tick(false);
    QVERIFY(RxV);
    QCOMPARE(*RxV, goodFrame.mid(1));
    QCOMPARE(rig.linkLosses, 0);
}

void FrameReceiverTest::truncatedFrameLosesTheLinkAfterSixtyWaits()
{
    Rig rig;
    rig.port.feed(goodFrame.left(4));
    const double start = rig.clock.secondsSinceMidnight();
    QVERIFY(!rig.receiver.tick(false));
    QCOMPARE(rig.linkLosses, 1);
    // 61 waits of 0.05 s, each ending just after its 0.05 s.
    const double waited = rig.clock.secondsSinceMidnight() - start;
    QVERIFY2(waited > 61 * 0.05 && waited < 61 * 0.06, qPrintable(QString::number(waited)));
}

void FrameReceiverTest::collectingStopsWhenTheProgramEnds()
{
    Rig rig;
    rig.port.feed(goodFrame.left(2));
    rig.pump.after(0.2, [&] { rig.pump.setEnding(true); });
    QVERIFY(!rig.receiver.tick(false));
    QCOMPARE(rig.linkLosses, 0);
    QVERIFY(rig.clock.secondsSinceMidnight() < 36000.5);
}

void FrameReceiverTest::nudgesUntilBytesArrive()
{
    Rig rig;
    rig.pump.after(1.6, [&] { rig.port.feed("\x02"); });
    QVERIFY(live::nudgeUntilBytesArrive(rig.port, rig.clock, rig.pump));
    // A space at 0, 0.5, 1.0 and 1.5 s; the byte came during the fourth wait.
    QCOMPARE(rig.port.sent(), QByteArrayList(4, " "));
    QCOMPARE(rig.port.pending(), QByteArray("\x02")); // left for the next tick
}

void FrameReceiverTest::nudgingReopensALostDevice()
{
    Rig rig;
    rig.port.setDeviceLost(true);
    const int opensBefore = rig.port.openCalls();
    rig.pump.after(0.7, [&] { rig.port.feed("x"); });
    QVERIFY(live::nudgeUntilBytesArrive(rig.port, rig.clock, rig.pump));
    QVERIFY(rig.port.openCalls() > opensBefore);
}

QTEST_GUILESS_MAIN(FrameReceiverTest)
#include "tst_framereceiver.moc"
