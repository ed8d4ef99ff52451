// The set download (SHOW DATA) fed any "K" reply.
//
//  input byte | meaning
//  -----------+-----------------------------------------------------------
//     0-1     | records expected (the chosen set's count), high byte first
//      2      | bit 0: the last set is chosen; bit 1: valueByteFlag is 1;
//             |   bits 4-7 + 1: bytes per arrival x 16 (the reply comes
//             |   in pieces at the line rate)
//     3..     | the meter's reply to "K"
//
// Runs the whole download against the reply and checks, whatever it holds:
//   - the download ends within the line's limits, with the polling and
//     MEMORY on again;
//   - a list is shown only when every expected record came, with exactly
//     one row per record and the last row current; otherwise the user is
//     told why and no list is shown;
//   - every row reads "n<tab>yy-mm-dd<tab>hh:mm:ss<tab>value<tab>unit<tab>
//     range<tab>AC/DC<tab>[ Low ]", numbered from 1, the unit and range a
//     row of the function/range table (or none), the value a sign or blank
//     and then "OL    " or digits with a point (with no range yet: at most
//     two signs or blanks and "OL    " or nothing);
//   - scaleMax is a full scale of the table (or 0) and scaleHalf its half.

#include "fuzz/simulatedline.h"
#include "fuzz/targets.h"

#include "common/functionrangetable.h"
#include "logger/commandbuffer.h"
#include "logger/download.h"
#include "logger/downloadreply.h"
#include "logger/exchange.h"
#include "logger/polling.h"
#include "logger/timing.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace fuzz {

namespace {

constexpr double longestDownloadSeconds = 60.0;

class NoDialogs : public platform::Dialogs
{
public:
    void message(const QString &text, const QString &, platform::MessageIcon) override { shown.append(text); }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    FileChoice openFile(const QString &, const QString &) override { return {}; }
    FileChoice saveFile(const QString &, const QString &) override { return {}; }
    QStringList shown;
};

class FlagPolling : public logger::Polling
{
public:
    void pause() override { running_ = false; }
    void resume() override { running_ = true; }
    bool running() const override { return running_; }

private:
    bool running_ = true;
};

class ListWindows : public logger::DownloadWindows
{
public:
    void setMemoryButtonEnabled(bool enabled) override { memoryEnabled = enabled; }
    void closeRecordList() override { shown = false; }
    void setStatusCaption(const QString &) override {}
    void setProgressCaption(const QString &) override {}
    void createRecordList() override { rows.clear(); }
    void decodingRecord(qint64) override {}
    void appendRecordRow(const QString &row) override { rows.append(row); }
    void setFunctionRangeTexts(const QString &, const QString &) override {}
    void disableShowData() override {}
    void showRecordList(const QString &, qint64 row) override
    {
        shown = true;
        currentRow = row;
    }

    bool memoryEnabled = true;
    bool shown = false;
    qint64 currentRow = -1;
    QStringList rows;
};

bool isTableText(const QString &unit, const QString &range)
{
    if (unit.isEmpty() && range.isEmpty())
        return true;
    for (int code = 0; code < 256; ++code) {
        const auto row = common::lookupFunctionRange(static_cast<unsigned char>(code));
        if (row && row->functionText == unit && row->rangeText == range)
            return true;
    }
    return false;
}

bool isFullScale(double scale)
{
    for (int code = 0; code < 256; ++code) {
        const auto row = common::lookupFunctionRange(static_cast<unsigned char>(code));
        if (row && row->fullScale == scale)
            return true;
    }
    return scale == 0;
}

QString checkRow(const QString &row, qint64 number)
{
    static const QRegularExpression shape(QStringLiteral(
        "^([0-9]+)\t[0-9]{2}-[0-9]{2}-[0-9]{2}\t[0-9]{2}:[0-9]{2}:[0-9]{2}\t"
        "([^\t]*)\t([^\t]*)\t([^\t]*)\t(DC|AC|BEEP|)\t( Low )?$"));
    // With a range, a sign or blank and the reading. Before the first
    // known code there is no range: the value keeps the text before it
    // (an overload, or nothing) with a sign or blank put in front, which
    // may then stand before the kept sign; it never grows beyond that.
    static const QRegularExpression value(QStringLiteral("^[ -](OL    |[0-9]+\\.[0-9]+)$"));
    static const QRegularExpression rangeless(QStringLiteral("^[ -]{1,2}(OL    )?$"));
    const QRegularExpressionMatch match = shape.match(row);
    if (!match.hasMatch())
        return QStringLiteral("row \"%1\"").arg(row);
    if (match.captured(1) != QString::number(number))
        return QStringLiteral("row %1 numbered %2").arg(number).arg(match.captured(1));
    const QString unit = match.captured(3);
    const QString range = match.captured(4);
    if (!isTableText(unit, range))
        return QStringLiteral("row %1: unit \"%2\" range \"%3\"").arg(number).arg(unit, range);
    if (!(range.isEmpty() ? rangeless : value).match(match.captured(2)).hasMatch())
        return QStringLiteral("row %1: value \"%2\"").arg(number).arg(match.captured(2));
    return {};
}

void scheduleReply(SimulatedLine &line, QByteArrayView reply, qsizetype piece)
{
    for (qsizetype from = 0; from < reply.size(); from += piece) {
        const double when = logger::transmissionSeconds(from);
        line.arriveAfter(when, reply.sliced(from, std::min(piece, reply.size() - from)).toByteArray());
    }
}

QString checkOutcome(logger::SetDownload::Result result, const ListWindows &windows,
                     const NoDialogs &dialogs, qint64 expected)
{
    using Result = logger::SetDownload::Result;
    if (result == Result::Listed) {
        if (!windows.shown || windows.rows.size() != expected || windows.currentRow != expected - 1)
            return QStringLiteral("%1 records listed (shown %2, current row %3) for %4 expected")
                .arg(windows.rows.size()).arg(windows.shown).arg(windows.currentRow).arg(expected);
        for (qint64 n = 1; n <= expected; ++n) {
            if (QString finding = checkRow(windows.rows[n - 1], n); !finding.isEmpty())
                return finding;
        }
        return {};
    }
    if (windows.shown)
        return QStringLiteral("a list shown after a download that did not complete");
    if (result == Result::Failed && dialogs.shown.isEmpty())
        return QStringLiteral("a failed download told the user nothing");
    if (result == Result::Nothing && expected > 0)
        return QStringLiteral("nothing fetched for %1 expected records").arg(expected);
    if (result == Result::Busy)
        return QStringLiteral("the download found the port busy");
    return {};
}

} // namespace

QString checkDownload(QByteArrayView input)
{
    if (input.size() < 3)
        return {};
    const qint64 expected = 256 * quint8(input[0]) + quint8(input[1]);
    const quint8 flags = quint8(input[2]);
    const QByteArrayView reply = input.sliced(3);

    SimulatedLine line;
    NoDialogs dialogs;
    FlagPolling polling;
    logger::Exchange exchange({line, line, line, dialogs, polling});
    logger::LoggerCommandBuffer buffer;
    common::SharedValues shared;
    shared.valueByteFlag = (flags & 0x02) ? 1 : 0;
    ListWindows windows;
    line.setResponder([&](const QByteArray &sent) {
        if (sent.startsWith('K'))
            scheduleReply(line, reply, qsizetype((flags >> 4) + 1) * 16);
    });

    logger::DownloadRequest request;
    request.setNumber = 1;
    request.expectedRecords = expected;
    request.lastSet = flags & 0x01;
    logger::SetDownload download({exchange, buffer, shared, windows});
    const auto result = download.run(request);
    if (line.runaway())
        return QStringLiteral("a wait in the download never ended");
    if (line.elapsed() > longestDownloadSeconds)
        return QStringLiteral("the download took %1 s").arg(line.elapsed());
    if (!polling.running() || !windows.memoryEnabled)
        return QStringLiteral("the download left the polling or MEMORY off");
    if (!isFullScale(shared.scaleMax) || shared.scaleHalf * 2 != shared.scaleMax)
        return QStringLiteral("scaleMax %1, scaleHalf %2").arg(shared.scaleMax).arg(shared.scaleHalf);
    return checkOutcome(result, windows, dialogs, expected);
}

} // namespace fuzz

METERLINK_FUZZ_TARGET(fuzz::checkDownload)
