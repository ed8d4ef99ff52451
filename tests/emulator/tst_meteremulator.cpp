// What the emulator promises beyond the exchanges other suites drive through
// it: the meter-emulator command line, a line that never falls behind, and
// the built-in device going on across clock steps.

#include "emulator/emulatorport.h"
#include "emulator/meteremulator.h"
#include "support/scriptedclock.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using emulator::MeterEmulator;

class TestMeterEmulator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void commandLine_data()
    {
        // "LINK" stands for a path in a fresh folder, "stale" or "file" what is there first; the refusal said, or empty: it serves.
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        const QString tooFast = QStringLiteral("at most 34.28");
        QTest::newRow("the line's own rate") << QStringList{"--rate", "34.28"} << "";
        QTest::newRow("faster than the line") << QStringList{"--rate", "35"} << tooFast;
        QTest::newRow("no rate") << QStringList{"--rate", "0"} << tooFast;
        QTest::newRow("an unknown fault lists the names") << QStringList{"--fault", "sparks"}
            << "--fault wants one of: none, silence, stray, wrong-end, truncated, garbage, silent-mid-reply, no-reply, short-reply, long-status";
        QTest::newRow("stale") << QStringList{"--link", "LINK"} << "";
        QTest::newRow("file") << QStringList{"--link", "LINK"} << "exists and is not a link; not replaced";
    }

    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("meter")), before = QTest::currentDataTag();
        args.replaceInStrings(QStringLiteral("LINK"), link);
        QFile file(link);
        QVERIFY(before != "stale" || QFile::link(dir.filePath(QStringLiteral("gone")), link));
        QVERIFY(before != "file" || (file.open(QIODevice::WriteOnly) && file.write("mine") == 4));
        file.close();
        QProcess emulator;
        emulator.start(QStringLiteral(METER_EMULATOR), args);
        QVERIFY(emulator.waitForStarted(5000));
        while (!emulator.canReadLine() && emulator.waitForReadyRead(5000)) { // the device it serves, or an end with a message
        }
        if (!message.isEmpty()) {
            QVERIFY(emulator.state() == QProcess::NotRunning || emulator.waitForFinished(5000));
            QVERIFY(emulator.exitStatus() == QProcess::NormalExit && emulator.exitCode() != 0);
            const QString err = QString::fromLocal8Bit(emulator.readAllStandardError());
            QVERIFY2(err.contains(message), qPrintable(err));
            QVERIFY(before != "file" || (file.open(QIODevice::ReadOnly) && file.readAll() == "mine"));
            return;
        }
        const QString device = QString::fromLocal8Bit(emulator.readLine()).trimmed();
        QVERIFY2(device.startsWith(QStringLiteral("/dev/pts/")), qPrintable(device));
        QVERIFY(before != "stale" || QFileInfo(link).symLinkTarget() == device);
        emulator.terminate();
        QVERIFY(emulator.waitForFinished(5000) && emulator.exitStatus() == QProcess::NormalExit);
        QVERIFY(!QFileInfo(link).isSymLink()); // the link goes with it
    }

    void neverFallsBehind()
    {
        for (const double rate : {MeterEmulator::maxFramesPerSecond, 100.0}) {
            emulator::LiveSettings live;
            live.framesPerSecond = rate;
            live.fixedDigits = 111110;
            MeterEmulator meter(live);
            meter.receive(" ", 0.0);
            double now = 0.0;
            for (; now < 20.0; now += 0.05)
                meter.takeOutput(now);
            live.fixedDigits = 222220; // a new reading is on the line within a second and a frame
            meter.setLive(live);
            now += MeterEmulator::maxQueuedSeconds + 7 * MeterEmulator::byteSeconds;
            QVERIFY(meter.takeOutput(now).contains(QByteArray::fromHex("222220")));
            meter.receive("A", now); // a logger request is answered no later either
            meter.receive("Y", now + 0.01);
            const QByteArray reply = meter.takeOutput(now + 0.01 + MeterEmulator::maxQueuedSeconds + 10 * MeterEmulator::byteSeconds);
            QVERIFY(meter.queuedBytes() == 0 && reply.size() >= 10);
        }
    }

    void builtInDeviceAcrossClockSteps()
    {
        // Across midnight, and the clock set back an hour: no burst, no lost time.
        for (const auto &[startAt, jumpTo] : {std::pair{86399.9, 0.05}, {36000.0, 32400.1}}) {
            const auto isFrame = [](const QByteArray &b) { return b.size() == 7 && b.at(0) == 2 && b.at(6) == 3; };
            testsupport::ScriptedClock clock(startAt);
            emulator::EmulatorPort port(clock);
            port.open();
            port.send(" ");
            clock.advance(0.05);
            QVERIFY(isFrame(port.read(0)));
            clock.setSecondsSinceMidnight(jumpTo);
            QCOMPARE(port.bytesWaiting(), 0);
            clock.advance(0.25);
            QVERIFY(isFrame(port.read(0))); // the stream goes on at its rate
            clock.advance(0.25);
            QVERIFY(isFrame(port.read(0)));
        }
    }
};

QTEST_GUILESS_MAIN(TestMeterEmulator)
#include "tst_meteremulator.moc"
