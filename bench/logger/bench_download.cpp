// SHOW DATA timed (not a test).
//
// (a) A full logger: memory-size code 4 (256 K) holding one set of 52,000
//     records, downloaded from the in-process emulator without pacing. The
//     figure is the time from the read that completes the reply to REC_LIST
//     being shown (decoding, time stamps, rows, the two 10 ms release
//     pauses), the median of three runs, with the CPU time of that span.
// (b) A set of 200 records from the emulator served on a pseudo-terminal at
//     real 2400-baud pacing, read through QSerialPort: the whole download,
//     from SHOW DATA to its end, against the time the reply needs on the
//     line.
//
// Prints: | figure | value | target |

#include "emulator/emulatorport.h"
#include "emulator/meteremulator.h"
#include "emulator/ptyserver.h"
#include "link/ui/panel.h"
#include "logger/downloadreply.h"
#include "logger/timing.h"
#include "logger/ui/attachlogger.h"
#include "logger/ui/logger.h"
#include "logger/ui/loggerfeature.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/systemclock.h"
#include "platform/wait.h"
#include "reclist/ui/attachrecordlist.h"
#include "reclist/ui/reclistwindow.h"
#include "reclist/ui/recordlistfeature.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <time.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// CPU time of this process in milliseconds: on a busy machine the wall
// time also holds the waits for a core.
double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Messages go to stderr: a benchmark asks nobody anything.
class PrintingDialogs : public platform::Dialogs
{
public:
    int messages = 0;
    void message(const QString &text, const QString &, platform::MessageIcon) override
    {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    FileChoice openFile(const QString &, const QString &) override { return {}; }
    FileChoice saveFile(const QString &, const QString &) override { return {}; }
};

// Forwards to the real port and notes when the reply to "K" is complete.
class WatchedPort : public platform::SerialPort
{
public:
    explicit WatchedPort(platform::SerialPort &inner) : inner_(inner) {}

    qint64 expectedReply = 0;
    std::optional<Clock::time_point> requestSent;
    std::optional<Clock::time_point> lastByte;
    double lastByteCpu = 0;

    void setCommPort(int number) override { inner_.setCommPort(number); }
    int commPort() const override { return inner_.commPort(); }
    void setSettings(const QString &settings) override { inner_.setSettings(settings); }
    bool open() override { return inner_.open(); }
    bool isOpen() const override { return inner_.isOpen(); }
    void close() override { inner_.close(); }
    QString errorText() const override { return inner_.errorText(); }
    QString deviceName() const override { return inner_.deviceName(); }
    int bytesWaiting() override { return inner_.bytesWaiting(); }
    bool deviceLost() const override { return inner_.deviceLost(); }
    bool reopen() override { return inner_.reopen(); }

    QByteArray read(int length) override
    {
        QByteArray bytes = inner_.read(length);
        if (counting_) {
            received_ += bytes.size();
            if (received_ >= expectedReply) {
                lastByte = Clock::now();
                lastByteCpu = cpuMilliseconds();
                counting_ = false;
            }
        }
        return bytes;
    }
    void send(const QByteArray &bytes) override
    {
        if (bytes.startsWith('K')) {
            counting_ = true;
            received_ = 0;
            requestSent = Clock::now();
        }
        inner_.send(bytes);
    }

private:
    platform::SerialPort &inner_;
    bool counting_ = false;
    qint64 received_ = 0;
};

// Notes when a window is shown.
class ShowWatcher : public QObject
{
public:
    std::optional<Clock::time_point> shownAt;
    double shownCpu = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !shownAt) {
            shownAt = Clock::now();
            shownCpu = cpuMilliseconds();
        }
        return QObject::eventFilter(watched, event);
    }
};

// One set of `count` records of several functions.
emulator::LoggerContent loggerWithOneSet(int count, quint8 memorySizeCode)
{
    emulator::LoggerContent content;
    content.memorySizeCode = memorySizeCode;
    content.clock = QDateTime(QDate(2024, 3, 15), QTime(10, 30, 0));
    emulator::LoggerSet set{QDateTime(QDate(2024, 2, 28), QTime(23, 0, 0)), 2, {}};
    const quint8 codes[] = {0x80, 0x42, 0x21, 0x61, 0xC3, 0x90};
    for (int i = 0; i < count; ++i) {
        const quint8 status = quint8(0x08 | (i % 97 == 0 ? 0x01 : 0) | (i % 1013 == 0 ? 0x04 : 0));
        set.records.append({codes[(i / 500) % 6], quint32((i * 7919) % 1000000), status});
    }
    content.sets = {set};
    return content;
}

struct Program
{
    platform::SystemClock clock;
    platform::QtEventPump pump;
    PrintingDialogs dialogs;
    common::SharedValues shared;
    platform::Platform platform;
    std::unique_ptr<WatchedPort> port;
    std::unique_ptr<live::PANEL> panel;
    std::unique_ptr<QObject> logger;
    std::unique_ptr<QObject> records;
    ShowWatcher shown;

    logger::LOGGER &window()
    {
        return static_cast<logger::LoggerFeature &>(*logger).loggerWindow();
    }
    reclist::REC_LIST &list()
    {
        return static_cast<reclist::RecordListFeature &>(*records).controller().recordList();
    }

    bool start(platform::SerialPort &device)
    {
        port = std::make_unique<WatchedPort>(device);
        platform = {port.get(), &clock, &pump, &dialogs, {}, platform::Timer::Mode::Live};
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
        if (!panel->load()) {
            std::fprintf(stderr, "%s\n", qPrintable(panel->openError()));
            return false;
        }
        logger = logger::attachLogger(*panel);
        records = reclist::attachRecordList(*panel, static_cast<logger::LoggerFeature &>(*logger));
        list().installEventFilter(&shown);
        return true;
    }

    // MEMORY, the opening, the set list, set 1 chosen.
    bool chooseFirstSet()
    {
        const auto waitFor = [&](auto ready, double seconds) {
            return platform::waitUntil(ready, seconds, clock, pump);
        };
        if (!waitFor([&] { return !panel->LBLVALUE->text().isEmpty(); }, 5.0))
            return false;
        panel->CMDMEMORY->click();
        if (!waitFor([&] { return !window().Label4->text().isEmpty(); }, 10.0))
            return false;
        if (!waitFor([&] { return panel->Timer6->isEnabled(); }, 2.0))
            return false;
        window().SSCommand1->click();
        window().Text1->setText(QStringLiteral("1"));
        return window().SSCommand3->isEnabled();
    }
};

struct FullLoggerRun
{
    bool ok = false;
    double toShownMs = 0; // last byte received to REC_LIST shown, wall
    double cpuMs = 0;     // the same span, CPU time
    double wholeMs = 0;   // SHOW DATA to its end
};

constexpr int fullLoggerRecords = 52000;

FullLoggerRun fullLogger()
{
    platform::SystemClock deviceClock;
    emulator::EmulatorPort device(deviceClock);
    device.emulator().setFast(true);
    device.emulator().setLive({.code = 0x80, .fixedDigits = 123450});
    device.emulator().setLogger(loggerWithOneSet(fullLoggerRecords, 4));

    Program program;
    if (!program.start(device) || !program.chooseFirstSet()) {
        std::printf("| full logger | could not start | |\n");
        return {};
    }
    program.port->expectedReply = logger::downloadReplyBytes(fullLoggerRecords);
    const auto clicked = Clock::now();
    program.window().SSCommand3->click();
    const auto done = Clock::now();
    const qsizetype listed = program.list().list().recordCount();
    program.panel->close();
    if (!program.port->lastByte || !program.shown.shownAt || listed != fullLoggerRecords) {
        std::printf("| full logger: records listed | %lld of %d | all |\n", qlonglong(listed),
                    fullLoggerRecords);
        return {};
    }
    return {true, millisecondsBetween(*program.port->lastByte, *program.shown.shownAt),
            program.shown.shownCpu - program.port->lastByteCpu, millisecondsBetween(clicked, done)};
}

// The median of three runs (by the wall time).
void reportFullLogger()
{
    std::vector<FullLoggerRun> runs;
    for (int i = 0; i < 3; ++i) {
        const FullLoggerRun run = fullLogger();
        if (!run.ok)
            return;
        runs.push_back(run);
    }
    std::sort(runs.begin(), runs.end(),
              [](const FullLoggerRun &a, const FullLoggerRun &b) { return a.toShownMs < b.toShownMs; });
    const FullLoggerRun &median = runs[1];
    std::printf("| full logger (256 K, %d records): last byte received to REC_LIST shown, median of 3 "
                "| %.0f ms | <= 150 ms |\n",
                fullLoggerRecords, median.toShownMs);
    std::printf("| full logger: CPU time in that span | %.0f ms | |\n", median.cpuMs);
    std::printf("| full logger: SHOW DATA to its end, no line pacing | %.0f ms | |\n", median.wholeMs);
}

void pacedSet()
{
    constexpr int records = 200;
    emulator::MeterEmulator meter;
    meter.setLive({.code = 0x80, .fixedDigits = 123450});
    meter.setLogger(loggerWithOneSet(records, 2));
    emulator::PtyServer server(meter);
    if (!server.open()) {
        std::printf("| paced set | %s | |\n", qPrintable(server.errorText()));
        return;
    }
    platform::QtSerialPort device({{1, server.slavePath()}});
    Program program;
    if (!program.start(device) || !program.chooseFirstSet()) {
        std::printf("| paced set | could not start | |\n");
        return;
    }
    const qint64 replyBytes = logger::downloadReplyBytes(records);
    program.port->expectedReply = replyBytes;
    const double lineSeconds = logger::transmissionSeconds(replyBytes);
    const auto clicked = Clock::now();
    program.window().SSCommand3->click();
    const auto done = Clock::now();
    const qsizetype listed = program.list().list().recordCount();
    if (listed != records || !program.port->requestSent || !program.port->lastByte) {
        std::printf("| paced set: records listed | %lld of %d | all |\n", qlonglong(listed), records);
        return;
    }
    std::printf("| paced set (%d records, %lld bytes at 2400 baud): line time | %.2f s | |\n", records,
                qlonglong(replyBytes), lineSeconds);
    std::printf("| paced set: \"K\" sent to last byte received | %.2f s | |\n",
                millisecondsBetween(*program.port->requestSent, *program.port->lastByte) / 1000);
    std::printf("| paced set: whole download (SHOW DATA to its end) | %.2f s | <= %.2f s |\n",
                millisecondsBetween(clicked, done) / 1000, lineSeconds + 1.0);
    program.panel->close();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    reportFullLogger();
    pacedSet();
    return 0;
}
