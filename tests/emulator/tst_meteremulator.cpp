// What the emulator promises its users beyond the exchanges that the
// logger, record-list, application and fault suites already drive through
// it: the meter-emulator command line, a line that never falls behind, and
// the built-in device going on across midnight.

#include "emulator/emulatorport.h"
#include "emulator/meteremulator.h"
#include "support/scriptedclock.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using emulator::MeterEmulator;

namespace {

enum class Before { Nothing, StaleLink, RegularFile };

bool isFrame(const QByteArray &bytes)
{
    return bytes.size() == 7 && bytes.at(0) == 2 && bytes.at(6) == 3;
}

} // namespace

Q_DECLARE_METATYPE(Before)

class TestMeterEmulator : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void neverFallsBehind_data();
    void neverFallsBehind();
    void builtInDeviceAcrossClockSteps_data();
    void builtInDeviceAcrossClockSteps();
};

void TestMeterEmulator::commandLine_data()
{
    QTest::addColumn<QStringList>("args"); // "LINK" stands for a path in a fresh folder
    QTest::addColumn<Before>("before");
    QTest::addColumn<QString>("message"); // part of the refusal; empty: it serves

    const QString tooFast = QStringLiteral("at most 34.28");
    QTest::newRow("the line's own rate") << QStringList{"--rate", "34.28"} << Before::Nothing << "";
    QTest::newRow("faster than the line") << QStringList{"--rate", "35"} << Before::Nothing << tooFast;
    QTest::newRow("no rate") << QStringList{"--rate", "0"} << Before::Nothing << tooFast;
    QTest::newRow("a fault by name") << QStringList{"--fault", "silent-mid-reply"} << Before::Nothing
                                     << "";
    QTest::newRow("an unknown fault lists the names")
        << QStringList{"--fault", "sparks"} << Before::Nothing
        << "--fault wants one of: none, silence, stray, wrong-end, truncated, garbage, "
           "silent-mid-reply, no-reply, short-reply, long-status";
    QTest::newRow("a stale link is replaced") << QStringList{"--link", "LINK"} << Before::StaleLink
                                              << "";
    QTest::newRow("a regular file is kept") << QStringList{"--link", "LINK"} << Before::RegularFile
                                            << "exists and is not a link; not replaced";
}

void TestMeterEmulator::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(Before, before);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("meter"));
    args.replaceInStrings(QStringLiteral("LINK"), link);
    if (before == Before::StaleLink)
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")), link));
    if (before == Before::RegularFile) {
        QFile file(link);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("mine");
    }

    QProcess emulator;
    emulator.start(QStringLiteral(METER_EMULATOR), args);
    QVERIFY(emulator.waitForStarted(5000));
    // It either prints the device it serves, or ends with a message.
    while (!emulator.canReadLine() && emulator.waitForReadyRead(5000)) {
    }
    if (!message.isEmpty()) {
        QVERIFY(emulator.state() == QProcess::NotRunning || emulator.waitForFinished(5000));
        QCOMPARE(emulator.exitStatus(), QProcess::NormalExit);
        QVERIFY(emulator.exitCode() != 0);
        const QString err = QString::fromLocal8Bit(emulator.readAllStandardError());
        QVERIFY2(err.contains(message), qPrintable(err));
        if (before == Before::RegularFile) {
            QFile file(link);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("mine"));
        }
        return;
    }
    const QString device = QString::fromLocal8Bit(emulator.readLine()).trimmed();
    QVERIFY2(device.startsWith(QStringLiteral("/dev/pts/")), qPrintable(device));
    if (before == Before::StaleLink)
        QCOMPARE(QFileInfo(link).symLinkTarget(), device);
    emulator.terminate();
    QVERIFY(emulator.waitForFinished(5000));
    QCOMPARE(emulator.exitStatus(), QProcess::NormalExit);
    QVERIFY(!QFileInfo(link).isSymLink()); // the link goes with it
}

void TestMeterEmulator::neverFallsBehind_data()
{
    QTest::addColumn<double>("rate");
    QTest::newRow("the line's own rate") << MeterEmulator::maxFramesPerSecond;
    QTest::newRow("100 a second, asked in-process") << 100.0;
}

void TestMeterEmulator::neverFallsBehind()
{
    QFETCH(double, rate);
    emulator::LiveSettings live;
    live.framesPerSecond = rate;
    live.fixedDigits = 111110;
    MeterEmulator meter(live);
    meter.receive(" ", 0.0);
    double now = 0.0;
    for (; now < 20.0; now += 0.05)
        meter.takeOutput(now);

    // A new reading is on the line within a second and a frame.
    live.fixedDigits = 222220;
    meter.setLive(live);
    now += MeterEmulator::maxQueuedSeconds + 7 * MeterEmulator::byteSeconds;
    QVERIFY(meter.takeOutput(now).contains(QByteArray::fromHex("222220")));

    // A logger request is answered no later either.
    meter.receive("A", now);
    meter.receive("Y", now + 0.01);
    const QByteArray reply = meter.takeOutput(now + 0.01 + MeterEmulator::maxQueuedSeconds
                                              + 10 * MeterEmulator::byteSeconds);
    QCOMPARE(meter.queuedBytes(), 0);
    QVERIFY(reply.size() >= 10);
}

void TestMeterEmulator::builtInDeviceAcrossClockSteps_data()
{
    QTest::addColumn<double>("startAt");
    QTest::addColumn<double>("jumpTo");  // clock set to this after the first frame
    QTest::addColumn<double>("advance"); // then advanced by this

    QTest::newRow("across midnight") << 86399.9 << 0.05 << 0.25;
    QTest::newRow("clock set back an hour") << 36000.0 << 32400.1 << 0.25;
}

void TestMeterEmulator::builtInDeviceAcrossClockSteps()
{
    QFETCH(double, startAt);
    QFETCH(double, jumpTo);
    QFETCH(double, advance);

    testsupport::ScriptedClock clock(startAt);
    emulator::EmulatorPort port(clock);
    port.open();
    port.send(" ");
    clock.advance(0.05);
    QVERIFY(isFrame(port.read(0)));
    clock.setSecondsSinceMidnight(jumpTo);
    QCOMPARE(port.bytesWaiting(), 0); // no burst, no lost time
    clock.advance(advance);
    QVERIFY(isFrame(port.read(0))); // the stream goes on at its rate
    clock.advance(0.25);
    QVERIFY(isFrame(port.read(0)));
}

QTEST_GUILESS_MAIN(TestMeterEmulator)
#include "tst_meteremulator.moc"
