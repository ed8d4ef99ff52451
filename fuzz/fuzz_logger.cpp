// The logger's exchanges fed any replies. Byte 0 even: the opening status
// read, the set directory, NO.S OF SET and TIME OF METER; byte 1: low nibble
// + 1 bytes per arrival (16: a reply at once), high nibble x 0.25 s before a
// reply; then per request but " " a length byte (below 128: that many, else
// (b - 128) x 32) and the reply. Byte 0 odd: the set download; bytes 1-2:
// records expected; byte 3, bit 0: the last set, bit 1: valueByteFlag, bits
// 4-7 + 1: bytes per arrival x 16; then the "K" reply. Checked: each ends in
// the line's limits with the polling (and MEMORY) on again, a failure carries
// a message, values in range and shaped; a list only when every record came.

#include "fuzz/simulatedline.h"

#include "common/sharedvalues.h"
#include "logger/commandbuffer.h"
#include "logger/download.h"
#include "logger/exchange.h"
#include "logger/loggerrequests.h"
#include "logger/meterclock.h"
#include "logger/setdirectory.h"
#include "logger/statusblock.h"
#include "logger/timing.h"

#include <QRegularExpression>

namespace fuzz {

namespace {

// Longest any one operation may take, whatever the meter does: the directory
// of 255 sets at the line rate is the longest.
constexpr double longestSeconds = 60.0;

struct Rig
{
    SimulatedLine line;
    NoDialogs dialogs;
    FlagPolling polling;
    logger::Exchange exchange{{line, line, line, dialogs, polling}};
    logger::LoggerCommandBuffer buffer;
    logger::LoggerRequests requests{exchange, buffer};
};

bool matches(const char *pattern, const QString &text)
{
    return QRegularExpression(QLatin1String(pattern)).match(text).hasMatch();
}

QString checkRequests(QByteArrayView input)
{
    Rig rig;
    const quint8 pace = input.isEmpty() ? 0 : quint8(input[0]);
    qsizetype at = 1;
    rig.line.setResponder([&](const QByteArray &sent) { // plays the meter
        if (sent == " " || at >= input.size())
            return;
        const quint8 lengthByte = quint8(input[at++]);
        const qsizetype length = lengthByte < 128 ? lengthByte : qsizetype(lengthByte - 128) * 32;
        const QByteArrayView reply = input.sliced(at, std::min(length, input.size() - at));
        at += reply.size();
        const qsizetype piece = (pace & 0x0F) + 1;
        rig.line.arriveInPieces(reply, piece == 16 ? std::max<qsizetype>(reply.size(), 1) : piece, (pace >> 4) * 0.25);
    });

    // Runs one operation as the windows do (polling paused, the request, then
    // finish or abandon) and checks its timing, ending and failure message;
    // true if it gave a value and nothing went wrong before.
    QString finding;
    const auto run = [&](const char *name, auto &outcome, auto request) {
        if (!finding.isEmpty())
            return false;
        const double start = rig.line.elapsed();
        rig.exchange.pausePolling();
        outcome = request();
        outcome.ok() ? rig.exchange.finish({}) : rig.exchange.abandon(outcome.failure, {});
        if (rig.line.runaway() || rig.line.elapsed() - start > longestSeconds || !rig.polling.on
            || (!outcome.ok() && outcome.failure.text.isEmpty()))
            finding = QStringLiteral("%1: took %2 s, polling %3, failure \"%4\"")
                          .arg(QLatin1String(name)).arg(rig.line.elapsed() - start).arg(rig.polling.on).arg(outcome.failure.text);
        return finding.isEmpty() && outcome.ok();
    };
    logger::Outcome<logger::OpeningStatus> opening;
    if (run("opening", opening, [&] { return rig.requests.openingStatus(); })) {
        const logger::OpeningStatus &status = *opening.value;
        const QString remaining = logger::remainingText(status.sizeK, status.status.bytesInUse);
        if (status.memoryCode < 1 || status.memoryCode > 4 || status.sizeK != 64 * status.memoryCode
            || status.setCount < 0 || status.setCount > 255 || !remaining.endsWith(QLatin1String(" K")))
            return QStringLiteral("memory code %1, %2 K, %3 sets, %4 left")
                .arg(status.memoryCode).arg(status.sizeK).arg(status.setCount).arg(remaining);
        logger::Outcome<QByteArray> directory;
        const bool listed = run("directory", directory, [&] { return rig.requests.setDirectory(status.setCount); });
        const QStringList rows = listed ? logger::directoryRows(*directory.value, status.setCount) : QStringList();
        if (listed && (directory.value->size() != qsizetype(status.setCount) * logger::directoryEntryBytes || rows.size() != status.setCount))
            return QStringLiteral("directory of %1 bytes for %2 sets").arg(directory.value->size()).arg(status.setCount);
        for (const QString &row : rows)
            if (!matches("^[0-9]+\t[0-9]{2}-[0-9]{2}-[0-9]{2}----[0-9]{2}:[0-9]{2}:[0-9]{2}$", row))
                return QStringLiteral("set row \"%1\"").arg(row);
    }
    logger::Outcome<int> sets;
    if (run("number of sets", sets, [&] { return rig.requests.numberOfSets(); }) && (*sets.value < 0 || *sets.value > 255))
        return QStringLiteral("%1 sets").arg(*sets.value);
    logger::Outcome<logger::MeterClock> clock;
    if (run("meter clock", clock, [&] { return rig.requests.meterClock(); })
        && !matches("^[0-9]{2}-[0-9]{2}-[0-9]{2}-----[0-9]{2}:[0-9]{2}:[0-9]{2}$", logger::meterClockText(*clock.value)))
        return QStringLiteral("clock text \"%1\"").arg(logger::meterClockText(*clock.value));
    return finding;
}

struct ListWindows : logger::DownloadWindows
{
    void setMemoryButtonEnabled(bool enabled) override { memoryEnabled = enabled; }
    void closeRecordList() override { shown = false; }
    void setStatusCaption(const QString &) override {}
    void setProgressCaption(const QString &) override {}
    void createRecordList() override { rows.clear(); }
    void decodingRecord(qint64) override {}
    void appendRecordRow(const QString &row) override { rows.append(row); }
    void setFunctionRangeTexts(const QString &, const QString &) override {}
    void disableShowData() override {}
    void showRecordList(const QString &, qint64 row) override { shown = row + 1 == rows.size(); }

    bool memoryEnabled = true;
    bool shown = false;
    QStringList rows;
};

// n, date, time, value, unit, range, AC/DC, [ Low ]. With a range the value is
// a sign or blank and the reading; before the first known code there is no
// range and the value keeps the text before it (an overload, or nothing) with
// a sign or blank put in front, which may stand before the kept sign.
QString checkRow(const QString &row, qint64 number)
{
    static const QRegularExpression shape(QStringLiteral(
        "^([0-9]+)\t[0-9]{2}-[0-9]{2}-[0-9]{2}\t[0-9]{2}:[0-9]{2}:[0-9]{2}\t([^\t]*)\t([^\t]*)\t([^\t]*)\t(DC|AC|BEEP|)\t( Low )?$"));
    const QRegularExpressionMatch match = shape.match(row);
    const QString value = match.captured(2), range = match.captured(4);
    if (!match.hasMatch() || match.captured(1) != QString::number(number) || !isTableRow(match.captured(3), range)
        || !matches(range.isEmpty() ? "^[ -]{1,2}(OL    )?$" : "^[ -](OL    |[0-9]+\\.[0-9]+)$", value))
        return QStringLiteral("row %1: \"%2\"").arg(number).arg(row);
    return {};
}

QString checkDownload(QByteArrayView input)
{
    if (input.size() < 3)
        return {};
    const qint64 expected = 256 * quint8(input[0]) + quint8(input[1]);
    const quint8 flags = quint8(input[2]);
    Rig rig;
    common::SharedValues shared;
    shared.valueByteFlag = (flags & 0x02) ? 1 : 0;
    ListWindows windows;
    rig.line.setResponder([&](const QByteArray &sent) {
        if (sent.startsWith('K'))
            rig.line.arriveInPieces(input.sliced(3), qsizetype((flags >> 4) + 1) * 16);
    });
    logger::DownloadRequest request;
    request.setNumber = 1;
    request.expectedRecords = expected;
    request.lastSet = flags & 0x01;
    using Result = logger::SetDownload::Result;
    const Result result = logger::SetDownload({rig.exchange, rig.buffer, shared, windows}).run(request);
    if (rig.line.runaway() || rig.line.elapsed() > longestSeconds || !rig.polling.on || !windows.memoryEnabled)
        return QStringLiteral("the download took %1 s, left the polling or MEMORY off").arg(rig.line.elapsed());
    if (!isScale(shared.scaleMax, shared.scaleHalf))
        return QStringLiteral("scaleMax %1, scaleHalf %2").arg(shared.scaleMax).arg(shared.scaleHalf);
    if (result != Result::Listed && (windows.shown || result == Result::Busy || (result == Result::Nothing && expected > 0)
                                     || (result == Result::Failed && rig.dialogs.shown.isEmpty())))
        return QStringLiteral("download ended %1 for %2 records, list shown %3, user told %4")
            .arg(int(result)).arg(expected).arg(windows.shown).arg(rig.dialogs.shown.size());
    if (result != Result::Listed)
        return {};
    if (!windows.shown || windows.rows.size() != expected)
        return QStringLiteral("%1 records listed for %2 expected").arg(windows.rows.size()).arg(expected);
    for (qint64 n = 1; n <= expected; ++n)
        if (QString finding = checkRow(windows.rows[n - 1], n); !finding.isEmpty())
            return finding;
    return {};
}

} // namespace

QString checkLogger(QByteArrayView input)
{
    return input.isEmpty() ? QString() : (quint8(input[0]) & 1) ? checkDownload(input.sliced(1)) : checkRequests(input.sliced(1));
}

} // namespace fuzz

METERLINK_FUZZ_TARGET(fuzz::checkLogger)
