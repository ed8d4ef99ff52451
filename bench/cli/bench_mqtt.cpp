// meterlink-cli --mqtt for a long time: meter-emulator streams at the meter's
// own 4 frames a second on a pseudo-terminal, meterlink-cli --continuous
// publishes to a Mosquitto broker this program starts on 127.0.0.1, and a
// libmosquitto subscriber here takes the readings. Measured: the CPU time of
// each meterlink-cli (from /proc, as % of one core) and the delay from the
// frame (the reading's own time stamp, taken when the frame is decoded) to
// the subscriber receiving it. One program, then ten against one broker.
//
//   bench_mqtt METERLINK_CLI METER_EMULATOR [SECONDS]   (default 60)
//
// Prints: | figure | value | target |

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <mosquitto.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

long long cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.value(11).toLongLong() + fields.value(12).toLongLong();
}

int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), size);
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

// Delays in milliseconds, from the subscriber's thread.
struct Delays
{
    QMutex mutex;
    std::vector<double> ms;
};

void onMessage(mosquitto *, void *self, const mosquitto_message *message)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QByteArray payload(static_cast<const char *>(message->payload), message->payloadlen);
    const QString time = QJsonDocument::fromJson(payload).object().value("time").toString();
    const QDateTime stamp = QDateTime::fromString(time, Qt::ISODateWithMs);
    if (!stamp.isValid())
        return;
    auto *delays = static_cast<Delays *>(self);
    const QMutexLocker lock(&delays->mutex);
    delays->ms.push_back(double(now - stamp.toMSecsSinceEpoch()));
}

struct Figures
{
    double cpuMean = 0;
    double cpuMax = 0;
    double median = 0;
    double p95 = 0;
    size_t received = 0;
};

Figures measure(const QString &cli, const QString &emulator, int programs, int seconds, int port)
{
    QTemporaryDir dir;
    Delays delays;
    mosquitto *subscriber = mosquitto_new(nullptr, true, &delays);
    mosquitto_message_callback_set(subscriber, onMessage);
    mosquitto_connect(subscriber, "127.0.0.1", port, 60);
    mosquitto_subscribe(subscriber, nullptr, "bench/+/reading", 1);
    mosquitto_loop_start(subscriber);

    std::vector<std::unique_ptr<QProcess>> meters, loggers;
    for (int i = 0; i < programs; ++i) {
        const QString link = dir.filePath(QStringLiteral("meter%1").arg(i));
        meters.push_back(std::make_unique<QProcess>());
        meters.back()->start(emulator, {"--rate", "4", "--link", link});
        meters.back()->waitForReadyRead(5000);
        loggers.push_back(std::make_unique<QProcess>());
        loggers.back()->start(cli, {"--continuous", "-O", "jsonl", "-o", "/dev/null", "--port", link, "--mqtt",
                                    QStringLiteral("mqtt://127.0.0.1:%1").arg(port), "--mqtt-topic",
                                    QStringLiteral("bench/%1").arg(i)});
        loggers.back()->waitForStarted(5000);
    }
    QTest::qWait(2000); // past the start-up: libraries loaded, connected, first frames in
    {
        const QMutexLocker lock(&delays.mutex);
        delays.ms.clear();
    }
    std::vector<long long> start;
    for (const auto &logger : loggers)
        start.push_back(cpuTicks(logger->processId()));
    QElapsedTimer run;
    run.start();
    QTest::qWait(seconds * 1000);
    Figures figures;
    for (size_t i = 0; i < loggers.size(); ++i) {
        const double percent = 100.0 * double(cpuTicks(loggers[i]->processId()) - start[i])
                               / double(sysconf(_SC_CLK_TCK)) / (double(run.elapsed()) / 1000.0);
        figures.cpuMean += percent / double(programs);
        figures.cpuMax = std::max(figures.cpuMax, percent);
    }
    for (const auto &process : loggers)
        process->terminate();
    for (const auto &process : loggers)
        process->waitForFinished(5000);
    for (const auto &process : meters) {
        process->terminate();
        process->waitForFinished(5000);
    }
    mosquitto_disconnect(subscriber);
    mosquitto_loop_stop(subscriber, true);
    mosquitto_destroy(subscriber);
    std::vector<double> &ms = delays.ms;
    std::sort(ms.begin(), ms.end());
    figures.received = ms.size();
    if (!ms.empty()) {
        figures.median = ms[ms.size() / 2];
        figures.p95 = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
    }
    return figures;
}

void print(const char *what, const Figures &f, int seconds)
{
    std::printf("| meterlink-cli --mqtt, %s at 4 readings/s for %d s: CPU per program, mean / max | %.2f / %.2f %% of a core | <= 1 %% |\n",
                what, seconds, f.cpuMean, f.cpuMax);
    std::printf("| meterlink-cli --mqtt, %s: frame decoded to subscriber, median / 95th percentile (%zu readings) | %.0f / %.0f ms | |\n",
                what, f.received, f.median, f.p95);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench_mqtt METERLINK_CLI METER_EMULATOR [SECONDS]\n");
        return 2;
    }
    const int seconds = args.size() > 3 ? args[3].toInt() : 60;
    QTemporaryDir dir;
    const int port = freePort();
    QFile conf(dir.filePath("broker.conf"));
    if (!conf.open(QIODevice::WriteOnly))
        return 1;
    conf.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\n%2").arg(port)
                   .arg(::geteuid() == 0 ? "user root\n" : "").toUtf8());
    conf.close();
    QProcess broker;
    broker.start("mosquitto", {"-c", conf.fileName()});
    if (!broker.waitForStarted(5000))
        return 1;
    QTest::qWait(500); // the broker's listener
    mosquitto_lib_init();
    print("one program", measure(args[1], args[2], 1, seconds, port), seconds);
    print("ten programs, one broker", measure(args[1], args[2], 10, seconds, port), seconds);
    broker.terminate();
    broker.waitForFinished(5000);
    mosquitto_lib_cleanup();
    return 0;
}
