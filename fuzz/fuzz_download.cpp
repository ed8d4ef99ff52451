// The set download (SHOW DATA) fed any "K" reply. Input bytes 0-1: records
// expected, high byte first; byte 2, bit 0: the last set; bit 1:
// valueByteFlag; bits 4-7 + 1: bytes per arrival x 16; then the reply.
// Checked: the download ends within the line's limits with the polling and
// MEMORY on again; a list is shown only when every record came, one row a
// record and the last row current, else the user is told why; every row
// reads "n<tab>yy-mm-dd<tab>hh:mm:ss<tab>value<tab>unit<tab>range<tab>AC/DC
// <tab>[ Low ]" numbered from 1 with a table unit and range (or none) and a
// value of a sign or blank and "OL    " or digits with a point (with no
// range yet: at most two signs or blanks and "OL    " or nothing); scaleMax
// is a full scale (or 0) and scaleHalf its half.

#include "fuzz/simulatedline.h"

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
    if (!isTableRow(unit, range))
        return QStringLiteral("row %1: unit \"%2\" range \"%3\"").arg(number).arg(unit, range);
    if (!(range.isEmpty() ? rangeless : value).match(match.captured(2)).hasMatch())
        return QStringLiteral("row %1: value \"%2\"").arg(number).arg(match.captured(2));
    return {};
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
            line.arriveInPieces(reply, qsizetype((flags >> 4) + 1) * 16);
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
