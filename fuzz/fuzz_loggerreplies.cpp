// The logger's requests fed any replies. Byte 0: low nibble + 1 bytes per
// arrival (16: a reply at once), high nibble x 0.25 s before a reply; then per
// request but " " a length byte (below 128: that many, else (b - 128) x 32)
// and the reply: the opening status read, the set directory, NO.S OF SET and
// TIME OF METER. Checked: each ends in the line's limits with the polling on
// again, a failure carries a message, values in range and shaped.

#include "fuzz/loggerrig.h"

#include "logger/meterclock.h"
#include "logger/setdirectory.h"
#include "logger/statusblock.h"
#include "logger/timing.h"

namespace fuzz {

QString checkLoggerReplies(QByteArrayView input)
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

} // namespace fuzz

METERLINK_FUZZ_TARGET(fuzz::checkLoggerReplies)
