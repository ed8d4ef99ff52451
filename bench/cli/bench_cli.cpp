// meterlink-cli logging for a long time: meter-emulator streams at real
// 2400-baud pacing on a pseudo-terminal, meterlink-cli --continuous -O jsonl
// reads it, and this program reads its output. Measured from /proc: the
// CPU time of meterlink-cli over the run (as % of one core) and its
// resident memory after the start and at the end.
//
//   bench_cli METERLINK_CLI METER_EMULATOR [SECONDS]   (default 60)
//
// Two runs: 4 frames a second (the meter's own rate) and the full line
// rate (34 frames a second fill 2400 baud). Prints: | figure | value | target |

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

namespace {

// utime + stime in clock ticks.
long long cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.value(11).toLongLong() + fields.value(12).toLongLong();
}

long long rssKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

struct Figures
{
    double cpuPercent = 0;
    long long rssStart = 0;
    long long rssEnd = 0;
    qint64 lines = 0;
    int exitCode = -1;
};

Figures measure(const QString &cli, const QString &emulator, double framesPerSecond, int seconds)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("meter"));
    QProcess meter;
    meter.start(emulator, {"--rate", QString::number(framesPerSecond), "--link", link});
    meter.waitForReadyRead(5000);

    Figures figures;
    QProcess logger;
    logger.start(cli, {"--continuous", "-O", "jsonl", "--port", link});
    logger.waitForStarted(5000);
    const auto drain = [&] { figures.lines += logger.readAllStandardOutput().count('\n'); };
    // Past the start-up (libraries loaded, first frames in).
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 2000) {
        logger.waitForReadyRead(100);
        drain();
    }
    const qint64 pid = logger.processId();
    figures.rssStart = rssKiB(pid);
    const long long ticksStart = cpuTicks(pid);
    QElapsedTimer run;
    run.start();
    while (run.elapsed() < seconds * 1000LL) {
        logger.waitForReadyRead(200);
        drain();
    }
    const long long ticks = cpuTicks(pid) - ticksStart;
    figures.rssEnd = rssKiB(pid);
    figures.cpuPercent = 100.0 * double(ticks) / double(sysconf(_SC_CLK_TCK))
                         / (double(run.elapsed()) / 1000.0);
    logger.terminate();
    logger.waitForFinished(5000);
    drain();
    figures.exitCode = logger.exitCode();
    meter.terminate();
    meter.waitForFinished(5000);
    return figures;
}

void print(const char *rate, const Figures &f, const char *cpuTarget)
{
    std::printf("| meterlink-cli --continuous -O jsonl, %s: CPU | %.2f %% of a core | %s |\n", rate,
                f.cpuPercent, cpuTarget);
    std::printf("| meterlink-cli, %s: resident memory start / end | %lld / %lld KiB | no growth |\n",
                rate, f.rssStart, f.rssEnd);
    std::printf("| meterlink-cli, %s: lines written, exit status on SIGTERM | %lld, %d | every frame, 0 |\n",
                rate, f.lines, f.exitCode);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench_cli METERLINK_CLI METER_EMULATOR [SECONDS]\n");
        return 2;
    }
    const int seconds = args.size() > 3 ? args[3].toInt() : 60;
    print("4 frames/s", measure(args[1], args[2], 4, seconds), "<= 1 %");
    print("34 frames/s (line full)", measure(args[1], args[2], 34, seconds), "-");
    return 0;
}
