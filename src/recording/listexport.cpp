#include "recording/listexport.h"

#include "recording/readingexport.h"
#include "recording/recordlistmodel.h"
#include "recording/wholefile.h"

#include <QIODevice>

namespace recording {

namespace {

constexpr qsizetype flushBytes = 4 * 1024 * 1024;

qint64 spanFirst(RowSpan span) { return std::max<qint64>(span.first, 1); }

qint64 spanLast(const RecordListModel &list, RowSpan span)
{
    return span.last < span.first ? list.recordCount() : std::min<qint64>(span.last, list.recordCount());
}

// Rows in order to `sink`, in pieces of about flushBytes; false as soon
// as the sink refuses.
template <typename Sink>
bool writeRows(const RecordListModel &list, RowSpan span, ExportFormat format, qint64 &written,
               qint64 &leftOut, Sink &&sink)
{
    QByteArray text = format == ExportFormat::Csv ? csvHeader() : QByteArray();
    bool ok = true;
    common::DataRecord record;
    list.forEachRow(spanFirst(span), spanLast(list, span), [&](qint64, const RecordListModel::Cells &cells) {
        if (!ok)
            return;
        for (int column = 0; column < common::DataRecord::FieldCount; ++column)
            record[column] = cells[std::size_t(column)];
        const auto exported = exportedRecord(record);
        if (!exported) {
            ++leftOut;
            return;
        }
        text += format == ExportFormat::Csv ? csvLine(*exported) : jsonLine(*exported);
        ++written;
        if (text.size() >= flushBytes) {
            ok = sink(text);
            text.clear();
        }
    });
    return ok && (text.isEmpty() || sink(text));
}

} // namespace

ExportFormat exportFormatFor(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".jsonl"), Qt::CaseInsensitive) ? ExportFormat::Jsonl
                                                                           : ExportFormat::Csv;
}

QByteArray listExportText(const RecordListModel &list, RowSpan span, ExportFormat format,
                          qint64 *leftOut)
{
    QByteArray all;
    qint64 written = 0;
    qint64 skipped = 0;
    writeRows(list, span, format, written, skipped, [&](const QByteArray &piece) {
        all += piece;
        return true;
    });
    if (leftOut)
        *leftOut = skipped;
    return all;
}

ExportResult exportList(const RecordListModel &list, RowSpan span, const QString &fileName)
{
    ExportResult result;
    result.ok = writeWholeFile(
        fileName,
        [&](QIODevice &out) {
            return writeRows(list, span, exportFormatFor(fileName), result.written, result.leftOut,
                             [&out](const QByteArray &piece) { return out.write(piece) == piece.size(); });
        },
        &result.errorText);
    return result;
}

QString exportMessage(const ExportResult &result, const QString &fileName)
{
    if (!result.ok)
        return result.errorText;
    QString text = QStringLiteral("%1 row(s) written to %2.").arg(result.written).arg(fileName);
    if (result.leftOut > 0)
        text += QStringLiteral("\n%1 row(s) without a reading left out.").arg(result.leftOut);
    return text;
}

} // namespace recording
