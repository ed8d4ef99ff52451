// A set download fed any "K" reply. Bytes 0-1: records expected; byte 2,
// bit 0: the last set, bit 1: valueByteFlag, bits 4-7 + 1: bytes per arrival
// x 16; then the reply. Checked: it ends in the line's limits with the polling
// and MEMORY on again, a failure tells the user, the scale is a real one, and
// a list is shown only when every record came, each row shaped.

#include "fuzz/loggerrig.h"

#include "common/sharedvalues.h"
#include "logger/download.h"

namespace fuzz {

namespace {

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

} // namespace

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

} // namespace fuzz

METERLINK_FUZZ_TARGET(fuzz::checkDownload)
