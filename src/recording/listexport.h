#pragma once

#include "recording/readingstatistics.h"

#include <QByteArray>
#include <QString>

// EXPORT of the record lists: their rows as CSV or JSON lines, through the
// one writer every way out shares (readingexport.h).

namespace recording {

class RecordListModel;

enum class ExportFormat { Csv, Jsonl };

// ".jsonl" (any case) is JSON lines; every other name is CSV.
ExportFormat exportFormatFor(const QString &fileName);

// The text of rows `span` in `format` (CSV with its header). Rows that hold
// no reading are not written; `leftOut` counts them.
QByteArray listExportText(const RecordListModel &list, RowSpan span, ExportFormat format,
                          qint64 *leftOut);

struct ExportResult
{
    bool ok = false;
    qint64 written = 0;
    qint64 leftOut = 0;
    QString errorText; // "cannot write to FILE: reason" when not ok
};

// Writes rows `span` to `fileName`, all or nothing (the file is replaced
// only when every byte is on disk).
ExportResult exportList(const RecordListModel &list, RowSpan span, const QString &fileName);

// The message after an export: the rows written and those left out, or
// the failure.
QString exportMessage(const ExportResult &result, const QString &fileName);

} // namespace recording
