// make-fuzz-seeds: writes the seed corpora of the fuzz targets from what
// the emulated meter really sends and from data files as the program
// writes them. scripts/fuzz.sh runs it when a corpus folder is missing;
// the seeds in fuzz/corpus were made with it.
//
//   make-fuzz-seeds fuzz/corpus

#include "emulator/loggercontent.h"
#include "emulator/loggermemory.h"
#include "emulator/meteremulator.h"
#include "recording/datafileformat.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

bool writeSeed(const QDir &folder, const QString &name, const QByteArray &bytes)
{
    QFile file(folder.filePath(name));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The meter's stream for `seconds`, starting on " ".
QByteArray liveStream(const emulator::LiveSettings &live, double seconds)
{
    emulator::MeterEmulator meter(live);
    meter.setFast(true);
    meter.receive(" ", 0.0);
    QByteArray bytes;
    for (double t = 0.0; t <= seconds; t += 0.05)
        bytes += meter.takeOutput(t);
    return bytes;
}

bool liveSeeds(const QDir &folder)
{
    struct Case
    {
        const char *name;
        quint8 code;
        quint8 status;
        quint32 digits;
        quint8 pace;
    };
    namespace st = emulator::status;
    const Case cases[] = {
        {"mv-dc-range", 0x80, st::Dc, 123450, 0x06},
        {"v-negative-auto", 0x42, st::Dc | st::Auto | st::Negative, 12340, 0x00},
        {"cx", 0x61, 0, 12345, 0x2F},
        {"overload-negative", 0x42, st::Overload | st::Negative, 0, 0x00},
        {"ohm-beep", 0x20, st::Auto, 1234, 0x13},
        {"frequency-min-max-rel", 0xC3, st::Min | st::Max | st::Rel, 45678, 0x00},
        {"low-battery-ua", 0x10, st::LowBattery | st::Dc, 499999, 0x0F},
    };
    bool ok = true;
    for (const Case &c : cases) {
        emulator::LiveSettings live;
        live.code = c.code;
        live.status = c.status;
        live.fixedDigits = c.digits;
        live.framesPerSecond = 10;
        const QByteArray control{char(c.pace), char(0)};
        ok = writeSeed(folder, QString::fromLatin1(c.name), control + liveStream(live, 0.5)) && ok;
    }
    emulator::LiveSettings generated;
    generated.framesPerSecond = 34;
    // Full line rate, arriving a byte at a time, starting just before midnight.
    ok = writeSeed(folder, QStringLiteral("full-rate-midnight"),
                   QByteArray{char(0x10), char(0x80)} + liveStream(generated, 1.0))
         && ok;
    return ok;
}

// Replies in the loggerreplies input form: a length byte, then the bytes.
QByteArray reply(const QByteArray &bytes)
{
    const qsizetype n = bytes.size();
    if (n < 128)
        return char(n) + bytes;
    // Lengths of 128 and more go in steps of 32: pad with the meter's idle byte.
    const qsizetype steps = (n + 31) / 32;
    return char(128 + steps) + bytes + QByteArray(steps * 32 - n, '\0');
}

bool loggerSeeds(const QDir &folder)
{
    emulator::LoggerMemory memory;
    emulator::LoggerContent content = emulator::LoggerContent::sample();
    content.clock = QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58));
    memory.setContent(content, 0.0);
    const auto answer = [&](const QByteArray &request) { return memory.answer(request, 1.0); };
    const QByteArray readCode = QByteArray("R\0\0\0", 4) + char(134) + QByteArray(2, '\0');
    const QByteArray readSets = QByteArray("R\0\0\0", 4) + char(135) + QByteArray(2, '\0');
    // One reply for every request but " ", "A" answered with nothing.
    const QByteArray opening = reply({}) + reply(answer("Y")) + reply(answer(readCode))
                               + reply(answer(readSets));
    const QByteArray rest = reply({}) + reply(answer("I")) + reply({}) + reply(answer(readSets))
                            + reply({}) + reply(answer("C"));
    bool ok = writeSeed(folder, QStringLiteral("sample-at-once"), char(0x0F) + opening + rest);
    ok = writeSeed(folder, QStringLiteral("sample-bytewise"), char(0x00) + opening + rest) && ok;
    ok = writeSeed(folder, QStringLiteral("sample-late"), char(0x9F) + opening + rest) && ok;
    // An 11-byte status block, then the right one.
    const QByteArray longStatus = reply({}) + reply(answer("Y") + 'x') + reply({}) + reply(answer("Y"));
    ok = writeSeed(folder, QStringLiteral("long-status"), char(0x0F) + longStatus) && ok;
    return ok;
}

bool downloadSeeds(const QDir &folder)
{
    emulator::LoggerMemory memory;
    const emulator::LoggerContent content = emulator::LoggerContent::sample();
    memory.setContent(content, 0.0);
    bool ok = true;
    for (int set = 0; set < content.sets.size(); ++set) {
        const QByteArray request = QByteArray("K") + char(set) + QByteArray(5, '\0');
        const auto records = quint16(content.sets.at(set).records.size());
        // Count, flags (the last set with valueByteFlag on; pieces of 16 or 64 bytes).
        const char flags = set + 1 == content.sets.size() ? char(0x33) : char(0x00);
        const QByteArray head = QByteArray(1, char(records >> 8)) + char(records & 0xFF) + flags;
        ok = writeSeed(folder, QStringLiteral("sample-set-%1").arg(set + 1),
                       head + memory.answer(request, 1.0))
             && ok;
    }
    return ok;
}

bool dataFileSeeds(const QDir &folder)
{
    using recording::PanelTexts;
    const QDateTime when(QDate(2026, 5, 31), QTime(14, 3, 7));
    const PanelTexts readings[] = {
        {QStringLiteral("01.234"), QStringLiteral("V"), QStringLiteral("5 V"), QStringLiteral("DC"), {}},
        {QStringLiteral("-0.012"), QStringLiteral("V"), QStringLiteral("5 V"), QStringLiteral("DC"),
         QStringLiteral("LOW BATTERY")},
        {QStringLiteral("OL"), QStringLiteral("Ohm"), QStringLiteral("50M Ohm"), {}, {}},
        {QStringLiteral("-OL"), QStringLiteral("mV"), QStringLiteral("500 mV"), QStringLiteral("AC"), {}},
        {QStringLiteral("1.2345"), QStringLiteral("Cx"), QStringLiteral("5 uF"), {}, {}},
    };
    QByteArray recorded;
    QByteArray saved;
    qint32 number = 0;
    for (const PanelTexts &texts : readings) {
        const common::DataRecord record = recording::recordedRecord(++number, when, texts);
        recorded += recording::recordedLine(record);
        saved += recording::quotedLine(QStringList(record.fields.begin(), record.fields.end()));
    }
    bool ok = writeSeed(folder, QStringLiteral("recorded"), recorded);
    ok = writeSeed(folder, QStringLiteral("saved-list"), saved) && ok;
    ok = writeSeed(folder, QStringLiteral("mixed-with-comma-and-blank-line"),
                   recorded.left(recorded.indexOf('\n') + 1) + "\r\n" + "1,2\n  \"x\ty\" rest,z")
         && ok;
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-fuzz-seeds CORPUS-FOLDER\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const char *target : {"live", "loggerreplies", "download", "datafile"})
        ok = root.mkpath(QString::fromLatin1(target)) && ok;
    ok = liveSeeds(QDir(root.filePath("live"))) && ok;
    ok = loggerSeeds(QDir(root.filePath("loggerreplies"))) && ok;
    ok = downloadSeeds(QDir(root.filePath("download"))) && ok;
    ok = dataFileSeeds(QDir(root.filePath("datafile"))) && ok;
    if (!ok)
        std::fprintf(stderr, "make-fuzz-seeds: could not write every seed into %s\n", argv[1]);
    return ok ? 0 : 1;
}
