// The logger requests fed any replies. Input byte 0: low nibble + 1 bytes
// per arrival (16: a reply at once), high nibble x 0.25 s before a reply;
// then one reply for each request but the release " ": a length byte (below
// 128: that many bytes, else (b - 128) x 32) and the bytes (0 or the end of
// the input: no reply). Runs the opening status read, the set directory,
// NO.S OF SET and TIME OF METER as the windows do. Checked: each ends within
// its limits with the polling on again, a failure carries a message, and
// the values are in range (memory code 1-4 and its size, up to 255 sets,
// clock fields 0-99, 12 directory bytes a set, rows "n<tab>yy-mm-dd----hh:mm:ss").

#include "fuzz/simulatedline.h"

#include "logger/commandbuffer.h"
#include "logger/exchange.h"
#include "logger/loggerrequests.h"
#include "logger/meterclock.h"
#include "logger/setdirectory.h"
#include "logger/statusblock.h"
#include "logger/timing.h"

#include <QRegularExpression>

#include <algorithm>

namespace fuzz {

namespace {

// Longest any one operation may take, in clock seconds, whatever the meter
// does: the directory of 255 sets at the line rate is the longest.
constexpr double longestOperationSeconds = 60.0;

// Plays the meter: answers each request with the next reply of the input.
class ScriptedReplies
{
public:
    ScriptedReplies(SimulatedLine &line, QByteArrayView input) : line_(line), input_(input)
    {
        const quint8 pace = input_.isEmpty() ? 0 : quint8(input_[0]);
        piece_ = (pace & 0x0F) + 1;
        delay_ = (pace >> 4) * 0.25;
        at_ = 1;
        line_.setResponder([this](const QByteArray &sent) { answer(sent); });
    }

private:
    void answer(const QByteArray &sent)
    {
        if (sent == " " || at_ >= input_.size())
            return;
        const quint8 lengthByte = quint8(input_[at_++]);
        const qsizetype length = lengthByte < 128 ? lengthByte : qsizetype(lengthByte - 128) * 32;
        const QByteArrayView reply = input_.sliced(at_, std::min(length, input_.size() - at_));
        at_ += reply.size();
        line_.arriveInPieces(reply, piece_ == 16 ? std::max<qsizetype>(reply.size(), 1) : piece_, delay_);
    }

    SimulatedLine &line_;
    QByteArrayView input_;
    qsizetype at_;
    qsizetype piece_;
    double delay_;
};

struct Rig
{
    SimulatedLine line;
    NoDialogs dialogs;
    FlagPolling polling;
    logger::Exchange exchange{{line, line, line, dialogs, polling}};
    logger::LoggerCommandBuffer buffer;
    logger::LoggerRequests requests{exchange, buffer};
};

// Runs one operation as the windows do (polling paused, the request, then
// finish or abandon) and checks its timing, ending and failure message.
template <typename Operation>
QString runOperation(Rig &rig, const char *name, Operation operation)
{
    const double start = rig.line.elapsed();
    rig.exchange.pausePolling();
    const auto outcome = operation();
    if (rig.line.runaway())
        return QStringLiteral("%1: a wait never ended").arg(QLatin1String(name));
    if (outcome.ok())
        rig.exchange.finish({});
    else
        rig.exchange.abandon(outcome.failure, {});
    if (!outcome.ok() && outcome.failure.text.isEmpty())
        return QStringLiteral("%1 failed without a message").arg(QLatin1String(name));
    if (!rig.polling.running())
        return QStringLiteral("%1 left the polling off").arg(QLatin1String(name));
    if (rig.line.elapsed() - start > longestOperationSeconds)
        return QStringLiteral("%1 took %2 s").arg(QLatin1String(name)).arg(rig.line.elapsed() - start);
    return {};
}

QString checkOpening(const logger::OpeningStatus &status)
{
    if (status.memoryCode < 1 || status.memoryCode > 4 || status.sizeK != 64 * status.memoryCode)
        return QStringLiteral("memory code %1 size %2 K").arg(status.memoryCode).arg(status.sizeK);
    if (status.setCount < 0 || status.setCount > 255)
        return QStringLiteral("%1 sets").arg(status.setCount);
    const QString remaining = logger::remainingText(status.sizeK, status.status.bytesInUse);
    if (!remaining.endsWith(QLatin1String(" K")))
        return QStringLiteral("remaining memory \"%1\"").arg(remaining);
    return {};
}

QString checkDirectory(const QByteArray &directory, int setCount)
{
    if (directory.size() != qsizetype(setCount) * logger::directoryEntryBytes)
        return QStringLiteral("directory of %1 bytes for %2 sets").arg(directory.size()).arg(setCount);
    static const QRegularExpression rowShape(
        QStringLiteral("^[0-9]+\t[0-9]{2}-[0-9]{2}-[0-9]{2}----[0-9]{2}:[0-9]{2}:[0-9]{2}$"));
    const QStringList rows = logger::directoryRows(directory, setCount);
    if (rows.size() != setCount)
        return QStringLiteral("%1 set rows for %2 sets").arg(rows.size()).arg(setCount);
    for (const QString &row : rows) {
        if (!rowShape.match(row).hasMatch())
            return QStringLiteral("set row \"%1\"").arg(row);
    }
    return {};
}

QString checkClock(const logger::MeterClock &clock)
{
    for (int field : {clock.year, clock.month, clock.day, clock.hour, clock.minute, clock.second}) {
        if (field < 0 || field > 99)
            return QStringLiteral("clock field %1").arg(field);
    }
    static const QRegularExpression shape(
        QStringLiteral("^[0-9]{2}-[0-9]{2}-[0-9]{2}-----[0-9]{2}:[0-9]{2}:[0-9]{2}$"));
    if (!shape.match(logger::meterClockText(clock)).hasMatch())
        return QStringLiteral("clock text \"%1\"").arg(logger::meterClockText(clock));
    return {};
}

} // namespace

QString checkLoggerReplies(QByteArrayView input)
{
    Rig rig;
    ScriptedReplies meter(rig.line, input);
    QString finding;

    logger::Outcome<logger::OpeningStatus> opening;
    finding = runOperation(rig, "opening", [&] { return opening = rig.requests.openingStatus(); });
    if (finding.isEmpty() && opening.ok())
        finding = checkOpening(*opening.value);
    if (!finding.isEmpty())
        return finding;

    if (opening.ok()) {
        const int sets = opening.value->setCount;
        logger::Outcome<QByteArray> directory;
        finding = runOperation(rig, "directory", [&] { return directory = rig.requests.setDirectory(sets); });
        if (finding.isEmpty() && directory.ok())
            finding = checkDirectory(*directory.value, sets);
        if (!finding.isEmpty())
            return finding;
    }

    logger::Outcome<int> sets;
    finding = runOperation(rig, "number of sets", [&] { return sets = rig.requests.numberOfSets(); });
    if (finding.isEmpty() && sets.ok() && (*sets.value < 0 || *sets.value > 255))
        finding = QStringLiteral("%1 sets").arg(*sets.value);
    if (!finding.isEmpty())
        return finding;

    logger::Outcome<logger::MeterClock> clock;
    finding = runOperation(rig, "meter clock", [&] { return clock = rig.requests.meterClock(); });
    if (finding.isEmpty() && clock.ok())
        finding = checkClock(*clock.value);
    return finding;
}

} // namespace fuzz

METERLINK_FUZZ_TARGET(fuzz::checkLoggerReplies)
