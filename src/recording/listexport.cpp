#include "recording/listexport.h"

#include "recording/readingexport.h"
#include "recording/recordlistmodel.h"
#include "recording/wholefile.h"

#include <QIODevice>
#include <QThread>
#include <QtConcurrent/QtConcurrentMap>

#include <vector>

namespace recording {

namespace {

qint64 spanFirst(RowSpan span) { return std::max<qint64>(span.first, 1); }

qint64 spanLast(const RecordListModel &list, RowSpan span)
{
    return span.last < span.first ? list.recordCount() : std::min<qint64>(span.last, list.recordCount());
}

// Rows are cut into cells on this thread (the list's file checks are not
// meant to run on two threads at once) and a batch of them is turned into
// text on every core: converting and formatting are most of an export's
// cost. Pieces reach the sink in row order; a batch bounds the memory.
constexpr qsizetype rowsPerPiece = 16384;

struct Piece
{
    QByteArray text;
    qint64 written = 0;
    qint64 leftOut = 0;
};

Piece formatted(const std::vector<RecordListModel::Cells> &rows, qsizetype from, ExportFormat format)
{
    Piece piece;
    const qsizetype to = std::min<qsizetype>(from + rowsPerPiece, qsizetype(rows.size()));
    piece.text.reserve((to - from) * (format == ExportFormat::Csv ? 64 : 150));
    common::DataRecord record;
    for (qsizetype i = from; i < to; ++i) {
        for (int column = 0; column < common::DataRecord::FieldCount; ++column)
            record[column] = rows[std::size_t(i)][std::size_t(column)];
        const auto exported = exportedRecord(record);
        if (!exported) {
            ++piece.leftOut;
            continue;
        }
        piece.text += format == ExportFormat::Csv ? csvLine(*exported) : jsonLine(*exported);
        ++piece.written;
    }
    return piece;
}

// Rows in order to `sink`; false as soon as the sink refuses.
template <typename Sink>
bool writeRows(const RecordListModel &list, RowSpan span, ExportFormat format, qint64 &written,
               qint64 &leftOut, Sink &&sink)
{
    if (format == ExportFormat::Csv && !sink(csvHeader()))
        return false;
    const qsizetype batchRows = rowsPerPiece * std::max(2, QThread::idealThreadCount());
    std::vector<RecordListModel::Cells> rows;
    rows.reserve(std::size_t(batchRows));
    bool ok = true;
    const auto flush = [&] {
        std::vector<qsizetype> starts;
        for (qsizetype from = 0; from < qsizetype(rows.size()); from += rowsPerPiece)
            starts.push_back(from);
        const QList<Piece> pieces = QtConcurrent::blockingMapped<QList<Piece>>(
            starts, [&rows, format](qsizetype from) { return formatted(rows, from, format); });
        for (const Piece &piece : pieces) {
            written += piece.written;
            leftOut += piece.leftOut;
            ok = ok && (piece.text.isEmpty() || sink(piece.text));
        }
        rows.clear();
    };
    list.forEachRow(spanFirst(span), spanLast(list, span), [&](qint64, const RecordListModel::Cells &cells) {
        if (!ok)
            return;
        rows.push_back(cells);
        if (qsizetype(rows.size()) == batchRows)
            flush();
    });
    if (ok && !rows.empty())
        flush();
    return ok;
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
