// The in-process serial port of the "emulator" device: reads and sends as
// the program does them, pacing by the clock, midnight and a clock set back.

#include "emulator/emulatorport.h"
#include "support/scriptedclock.h"

#include <QtTest>

using emulator::EmulatorPort;
using testsupport::ScriptedClock;

namespace {

constexpr double byteTime = 1.0 / 240.0;

bool isFrame(const QByteArray &bytes)
{
    return bytes.size() == 7 && bytes.at(0) == 2 && bytes.at(6) == 3;
}

} // namespace

class TestEmulatorPort : public QObject
{
    Q_OBJECT

private slots:
    void readLengths_data();
    void readLengths();
    void closedPortHearsNothing();
    void clockSteps_data();
    void clockSteps();
};

void TestEmulatorPort::readLengths_data()
{
    QTest::addColumn<double>("after");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("taken");
    QTest::addColumn<int>("left");

    QTest::newRow("one byte of a whole frame") << 7.5 * byteTime << 1 << 1 << 6;
    QTest::newRow("all waiting (0)") << 7.5 * byteTime << 0 << 7 << 0;
    QTest::newRow("half a frame arrived") << 3.5 * byteTime << 0 << 3 << 0;
    QTest::newRow("nothing arrived yet") << 0.5 * byteTime << 1 << 0 << 0;
}

void TestEmulatorPort::readLengths()
{
    QFETCH(double, after);
    QFETCH(int, length);
    QFETCH(int, taken);
    QFETCH(int, left);

    ScriptedClock clock(36000.0);
    EmulatorPort port(clock);
    port.emulator().setLive({.code = 0x42, .fixedDigits = 12340});
    port.open();
    port.send(" ");
    clock.advance(after);
    QCOMPARE(port.bytesWaiting(), taken + left);
    const QByteArray bytes = port.read(length);
    QCOMPARE(bytes.size(), taken);
    if (taken > 0)
        QCOMPARE(int(bytes.at(0)), 2);
    QCOMPARE(port.bytesWaiting(), left);
}

void TestEmulatorPort::closedPortHearsNothing()
{
    ScriptedClock clock;
    EmulatorPort port(clock);
    port.send(" "); // dropped: the port is closed
    clock.advance(1.0);
    QCOMPARE(port.bytesWaiting(), 0);
    port.open();
    clock.advance(1.0);
    QCOMPARE(port.bytesWaiting(), 0); // the space never reached the meter
    port.send(" ");
    clock.advance(0.1);
    QCOMPARE(port.bytesWaiting(), 7);
    port.close();
    QCOMPARE(port.bytesWaiting(), 0);
    QCOMPARE(port.read(0).size(), 0);
}

void TestEmulatorPort::clockSteps_data()
{
    QTest::addColumn<double>("startAt");
    QTest::addColumn<double>("jumpTo");  // clock set to this after the first frame
    QTest::addColumn<double>("advance"); // then advanced by this

    QTest::newRow("across midnight") << 86399.9 << 0.05 << 0.25;
    QTest::newRow("clock set back an hour") << 36000.0 << 32400.1 << 0.25;
}

void TestEmulatorPort::clockSteps()
{
    QFETCH(double, startAt);
    QFETCH(double, jumpTo);
    QFETCH(double, advance);

    ScriptedClock clock(startAt);
    EmulatorPort port(clock);
    port.open();
    port.send(" ");
    clock.advance(0.05);
    QVERIFY(isFrame(port.read(0)));
    clock.setSecondsSinceMidnight(jumpTo);
    QCOMPARE(port.bytesWaiting(), 0); // no burst, no lost time
    clock.advance(advance);
    QVERIFY(isFrame(port.read(0)));    // the stream goes on at its rate
    clock.advance(0.25);
    QVERIFY(isFrame(port.read(0)));
    QVERIFY(port.emulatorTime() > startAt);
}

QTEST_APPLESS_MAIN(TestEmulatorPort)
#include "tst_emulatorport.moc"
