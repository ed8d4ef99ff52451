// A meter that streams its frames back to back at the full line rate
// (2400 baud, 7 bytes a frame: about 34 frames a second, more than the
// 20 polling ticks): the display stays current. A program that took one
// frame a tick would leave more and more bytes unread, about 100 more
// every second; here what is left after a tick stays below two frames.

#include "faults/faultrig.h"

#include "link/framereceiver.h"
#include "link/ui/panel.h"
#include "platform/timer.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>

class FullRateTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void displayKeepsUpWithTheLine_data();
    void displayKeepsUpWithTheLine();
};

void FullRateTest::displayKeepsUpWithTheLine_data()
{
    QTest::addColumn<bool>("recording");
    QTest::newRow("live reading") << false;
    QTest::newRow("while recording") << true;
}

void FullRateTest::displayKeepsUpWithTheLine()
{
    QFETCH(bool, recording);
    constexpr double lineFramesPerSecond = 2400.0 / 10.0 / live::FrameReceiver::frameLength;
    emulator::LiveSettings live = faulttest::FaultRig::defaultLive();
    live.framesPerSecond = lineFramesPerSecond;
    faulttest::FaultRig rig(live);
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    live::PANEL &panel = rig.panel();
    if (recording) {
        rig.dialogs.queueSaveFile(rig.tempPath(QStringLiteral("fullrate.dat")));
        panel.CMDSAVE->click();
        panel.CMDSTART->click();
        QVERIFY(panel.recordingOn);
    }

    // Bytes left unread after each polling tick (sampled after the
    // panel's own handler).
    QList<int> leftAfterTick;
    QObject::connect(panel.Timer6, &platform::Timer::tick, &rig.tap,
                     [&] { leftAfterTick.append(rig.program->port()->bytesWaiting()); });

    bool streamed = false;
    QTimer::singleShot(3000, &rig.tap, [&] { streamed = true; });
    QVERIFY(faulttest::waitFor([&] { return streamed; }, 10000));
    QVERIFY2(leftAfterTick.size() >= 20, qPrintable(QString::number(leftAfterTick.size())));
    const QList<int> lastSecond = leftAfterTick.mid(leftAfterTick.size() - 20);
    const int smallest = *std::min_element(lastSecond.begin(), lastSecond.end());
    QVERIFY2(smallest < 2 * live::FrameReceiver::frameLength,
             qPrintable(QStringLiteral("%1 bytes behind").arg(smallest)));

    // A new reading shows up straight away, not after the backlog.
    live.fixedDigits = 43210;
    rig.meter.setLive(live);
    QVERIFY(faulttest::waitFor([&] { return panel.LBLVALUE->text() == QLatin1String("04.321"); }, 2000));
    QCOMPARE(panel.LBLCOMM->text(), QStringLiteral("Com1"));
    QVERIFY(panel.Timer6->isEnabled());
    QVERIFY2(rig.heartbeat.longestGapSeconds() < 3.0, qPrintable(QString::number(rig.heartbeat.longestGapSeconds())));
    if (recording)
        QVERIFY(panel.recordingOn);
}

QTEST_MAIN(FullRateTest)
#include "tst_fullrate.moc"
