#include "recording/datafilereader.h"

#include "recording/recordlistmodel.h"

#include <QFile>
#include <QFileInfo>

namespace recording {

namespace {

constexpr qint64 chunkSize = 4 * 1024 * 1024;

bool openForReading(QFile &file, QString *reason)
{
    // A folder opens on some systems but cannot be read as lines.
    const QFileInfo info(file.fileName());
    if (info.isDir()) {
        if (reason)
            *reason = QStringLiteral("It is a folder.");
        return false;
    }
    // A device or a pipe is no data file: one may never end (/dev/zero
    // would fill the memory), another holds the program until someone
    // writes to it (opening a named pipe waits for a writer).
    if (info.exists() && !info.isFile()) {
        if (reason)
            *reason = QStringLiteral("It is not a regular file.");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

void dropCutLine(QByteArray &text)
{
    const qsizetype lastEnd = std::max(text.lastIndexOf('\n'), text.lastIndexOf('\r'));
    text.truncate(lastEnd + 1);
}

} // namespace

QByteArray readDataFileText(const QString &fileName, ReadOutcome &outcome)
{
    outcome = {};
    QFile file(fileName);
    if (!openForReading(file, &outcome.errorText))
        return {};
    // Read into a buffer of the file's size, so a big file is held once;
    // grow only if the file turns out longer than it said.
    QByteArray text(std::max<qint64>(file.size(), 0), Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == text.size()) {
            char probe[4096];
            const qint64 got = file.read(probe, sizeof probe);
            if (got <= 0) {
                if (got < 0)
                    break;
                text.truncate(filled);
                outcome.complete = true;
                return text;
            }
            text.truncate(filled);
            text.append(probe, got);
            filled = text.size();
            text.resize(filled + chunkSize);
        }
        const qint64 got = file.read(text.data() + filled, text.size() - filled);
        if (got < 0)
            break;
        if (got == 0) {
            text.truncate(filled);
            outcome.complete = true;
            return text;
        }
        filled += got;
    }
    outcome.errorText = file.errorString();
    text.truncate(filled);
    dropCutLine(text);
    return text;
}

ReadOutcome filelistu(RecordListModel &g1, const QString &ListFileName)
{
    ReadOutcome outcome;
    const QByteArray text = readDataFileText(ListFileName, outcome);
    outcome.rowsAdded = g1.appendFileText(text);
    return outcome;
}

bool canOpenForReading(const QString &fileName, QString *reason)
{
    QFile file(fileName);
    return openForReading(file, reason);
}

} // namespace recording
