#include "cli/liverun.h"
#include "cli/loggercommands.h"
#include "cli/output.h"
#include "recording/datafileformat.h"
#include "recording/datafilewriter.h"
#include "recording/readingexport.h"
#include "recording/recordlistmodel.h"
#include "recording/wholefile.h"

#include <QIODevice>

namespace cli {

namespace {

// The set's lines in `format`; rows that hold no reading are counted, not written.
QByteArray downloadText(const recording::RecordListModel &list, Format format, int &skipped)
{
    QByteArray text = format == Format::Csv ? recording::csvHeader() : QByteArray();
    for (int row = 1; row <= list.recordCount(); ++row) {
        const common::DataRecord record = list.record(row);
        if (format == Format::Dat) {
            text += recording::quotedLine(QStringList(record.fields.begin(), record.fields.end()));
            continue;
        }
        const auto exported = recording::exportedRecord(record);
        if (!exported) {
            ++skipped;
            continue;
        }
        text += format == Format::Csv     ? recording::csvLine(*exported)
                : format == Format::Jsonl ? recording::jsonLine(*exported)
                                          : recording::analogLine(*exported);
    }
    return text;
}

bool writeWhole(const QString &fileName, const QByteArray &text, QString *errorText)
{
    return recording::writeWholeFile(
        fileName, [&text](QIODevice &out) { return out.write(text) == text.size(); }, errorText);
}

} // namespace

bool writeDownload(const QStringList &rows, Format format, const QString &fileName,
                   QString *errorText)
{
    recording::RecordListModel list;
    for (const QString &row : rows)
        list.appendRow({row});
    if (format == Format::Dat && !fileName.isEmpty()) {
        QString reason;
        if (recording::replaceFile(fileName, recording::listFileBytes(list), &reason))
            return true;
        *errorText = QStringLiteral("cannot write to %1: %2").arg(fileName, reason);
        return false;
    }
    int skipped = 0;
    const QByteArray text = downloadText(list, format, skipped);
    if (skipped > 0)
        printError(QStringLiteral("%1 record(s) without a reading left out").arg(skipped));
    if (!fileName.isEmpty())
        return writeWhole(fileName, text, errorText);
    LineOutput output;
    if (output.openStandardOutput() && output.write(text))
        return true;
    *errorText = output.errorText();
    return false;
}

} // namespace cli
