// The program killed (SIGKILL: no clean-up of any kind) while it records:
// every line whose recording tick had run is in the file, whole. The child
// prints "tick N" after each tick's line is written; the file may hold one
// line more (a tick that wrote but was killed before it could say so),
// never a line cut short.

#include "faults/recordedfile.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

int lastTick(const QByteArray &output)
{
    int last = 0;
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("tick "))
            last = line.mid(5).toInt();
    }
    return last;
}

int lineCount(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : -1;
}

} // namespace

class RecordingKillTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void killedWhileRecording_data();
    void killedWhileRecording();
};

void RecordingKillTest::killedWhileRecording_data()
{
    const QByteArray older = "1\t26-05-31\t14:03:07\t 123.45\tmV\t500 mV\tDC\t\r\n"
                             "2\t26-05-31\t14:03:09\t 123.46\tmV\t500 mV\tDC\t\r\n";
    QTest::addColumn<int>("ticksBeforeKill");
    QTest::addColumn<QByteArray>("old"); // what the file holds before: two lines, maybe a broken one
    QTest::newRow("after the first line") << 1 << QByteArray();
    QTest::newRow("after some lines") << 12 << QByteArray();
    QTest::newRow("appending to an older recording") << 30 << older;
    QTest::newRow("appending to one killed inside a line") << 5 << older + "3\t26-05-31\t14:0";
}

void RecordingKillTest::killedWhileRecording()
{
    QFETCH(int, ticksBeforeKill);
    QFETCH(QByteArray, old);
    const bool appendToOld = !old.isEmpty();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fileName = dir.filePath(QStringLiteral("killed.dat"));
    QList<int> linesPerStart;
    if (appendToOld) {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        linesPerStart.append(2);
    }

    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QStringLiteral(RECORDER_CHILD), {fileName});
    QVERIFY2(child.waitForStarted(10000), qPrintable(child.errorString()));
    // Killed the moment the tick is read, wherever the child is by then
    // (between ticks, or inside the next one).
    QByteArray output;
    bool killed = false;
    QObject::connect(&child, &QProcess::readyReadStandardOutput, &child, [&] {
        output += child.readAllStandardOutput();
        if (!killed && lastTick(output) >= ticksBeforeKill)
            killed = ::kill(pid_t(child.processId()), SIGKILL) == 0;
    });
    QVERIFY2(QTest::qWaitFor([&] { return killed || child.state() == QProcess::NotRunning; }, 20000),
             qPrintable(QString::fromLocal8Bit(child.readAllStandardError())));
    QVERIFY2(killed, qPrintable(QString::fromLocal8Bit(child.readAllStandardError())));
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    output += child.readAllStandardOutput();

    const int reported = lastTick(output);
    const int recorded = lineCount(fileName) - (appendToOld ? 2 : 0);
    QVERIFY2(recorded == reported || recorded == reported + 1,
             qPrintable(QStringLiteral("%1 ticks reported, %2 lines recorded").arg(reported).arg(recorded)));
    linesPerStart.append(recorded);
    const QString problem = faulttest::checkRecordedFile(fileName, linesPerStart, QStringLiteral("mV"));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_GUILESS_MAIN(RecordingKillTest)
#include "tst_recordingkill.moc"
