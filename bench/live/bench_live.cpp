// Live reading over a pseudo-terminal at real 2400-baud pacing.
//
// (a) Latency: a writer thread sends frames into the pty master one byte
//     every 1/240 s and notes when each frame's last byte went out; the
//     panel notes when it shows the frame's value (its analog hand-off is
//     emitted right after LBLVALUE is set). Each frame carries its own value.
// (b) CPU: the meter-emulator program streams 4 frames a second for 30 s;
//     the panel's process CPU time is measured over that time.
//
// Prints: | figure | value | target |

#include "link/ui/panel.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/systemclock.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Panel
{
    platform::QtSerialPort port;
    platform::SystemClock clock;
    platform::QtEventPump pump;
    platform::QtDialogs dialogs;
    common::SharedValues shared;
    platform::Platform platform;
    std::unique_ptr<live::PANEL> panel;

    bool start(const QString &device)
    {
        port.setDevice(1, device);
        platform = {&port, &clock, &pump, &dialogs, {}, platform::Timer::Mode::Live};
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
        if (!panel->load()) {
            std::fprintf(stderr, "%s\n", qPrintable(panel->openError()));
            return false;
        }
        panel->show();
        return true;
    }
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

unsigned char bcd(int value)
{
    return static_cast<unsigned char>((value / 10) * 16 + value % 10);
}

// Frames of "500 mV" whose value counts up: frame n shows n as 0nn.nn.
std::vector<unsigned char> frameFor(int n)
{
    return {2, 0x80, bcd(n / 10000 % 100), bcd(n / 100 % 100), bcd(n % 100), 0x08, 3};
}

QString valueTextFor(int n)
{
    return QString::asprintf("%03d.%02d", n / 1000 % 1000, n / 10 % 100);
}

void measureLatency(int frames)
{
    termios raw{};
    cfmakeraw(&raw);
    int master = -1;
    int slave = -1;
    char name[128] = {};
    if (openpty(&master, &slave, name, &raw, nullptr) != 0) {
        std::perror("openpty");
        return;
    }
    Panel panel;
    if (!panel.start(QString::fromLocal8Bit(name)))
        return;
    panel.shared.analogOn = -1;

    std::mutex mutex;
    std::map<QString, Clock::time_point> sentAt;
    std::vector<double> latencies;
    QObject::connect(panel.panel.get(), &live::PANEL::analogFeed, [&](const QString &value) {
        const auto now = Clock::now();
        std::lock_guard lock(mutex);
        const auto it = sentAt.find(value);
        if (it != sentAt.end()) {
            latencies.push_back(std::chrono::duration<double, std::milli>(now - it->second).count());
            sentAt.erase(it);
        }
    });

    std::atomic<bool> done = false;
    std::thread writer([&] {
        const auto byteTime = std::chrono::microseconds(1000000 / 240);
        auto next = Clock::now() + std::chrono::milliseconds(300);
        for (int n = 1; n <= frames; ++n) {
            const int value = n * 10; // last digit 0: no rounding in the shown text
            const auto bytes = frameFor(value);
            for (size_t i = 0; i < bytes.size(); ++i) {
                std::this_thread::sleep_until(next);
                if (i + 1 == bytes.size()) {
                    // Noted just before the last byte goes out, so the panel
                    // can never see the frame before it is noted.
                    std::lock_guard lock(mutex);
                    sentAt[valueTextFor(value)] = Clock::now();
                }
                if (write(master, &bytes[i], 1) != 1)
                    return;
                next += byteTime;
            }
            // About 4 frames a second; 253 ms so that frames meet the 50 ms
            // polling tick at every phase.
            next += std::chrono::milliseconds(253) - 7 * byteTime;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        done = true;
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done)
            QCoreApplication::quit();
    });
    poll.start(50);
    QCoreApplication::exec();
    writer.join();
    close(master);
    close(slave);

    std::sort(latencies.begin(), latencies.end());
    if (latencies.empty()) {
        std::printf("| live latency | no frame shown | |\n");
        return;
    }
    const auto at = [&](double q) { return latencies[size_t(q * double(latencies.size() - 1))]; };
    std::printf("| live: frames shown | %zu of %d | all |\n", latencies.size(), frames);
    std::printf("| live: last byte to LBLVALUE, median | %.1f ms | <= 60 ms |\n", at(0.5));
    std::printf("| live: last byte to LBLVALUE, 95th percentile | %.1f ms | |\n", at(0.95));
}

void measureCpu(const QString &emulatorProgram, int seconds)
{
    QProcess emulator;
    emulator.start(emulatorProgram, {QStringLiteral("--rate"), QStringLiteral("4")});
    if (!emulator.waitForStarted(5000) || !emulator.waitForReadyRead(5000)) {
        std::printf("| live: CPU | meter-emulator did not start | |\n");
        return;
    }
    const QString device = QString::fromLocal8Bit(emulator.readLine()).trimmed();
    Panel panel;
    if (!panel.start(device))
        return;
    // Let the stream settle, then measure.
    QTimer::singleShot(1000, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    const double cpuStart = cpuSeconds();
    const auto wallStart = Clock::now();
    QTimer::singleShot(seconds * 1000, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    const double cpu = cpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    std::printf("| live: CPU at 4 frames/s over %d s | %.2f %% of one core | <= 1 %% |\n", seconds,
                100.0 * cpu / wall);
    std::printf("| live: value shown at the end | %s | |\n", qPrintable(panel.panel->LBLVALUE->text()));
    emulator.kill();
    emulator.waitForFinished(2000);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString emulatorProgram = args.size() > 1 ? args.at(1) : QStringLiteral("meter-emulator");
    const int seconds = args.size() > 2 ? args.at(2).toInt() : 30;
    measureLatency(120);
    measureCpu(emulatorProgram, seconds);
    return 0;
}
