#include "recording/datafilereader.h"

#include "recording/recordlistmodel.h"
#include "recording/rowstarts.h"
#include "recording/rowtext.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <new>

namespace recording {

namespace {

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

// The file's bytes read into memory up to its end (a file that grows
// while it is read, or says it is empty as the system's own files do), at
// most `limit` of them. A failure part way keeps the lines up to the last
// line end before it.
std::shared_ptr<const RowText> copyText(QFile &file, qint64 size, qint64 limit, ReadOutcome &outcome)
{
    constexpr qint64 piece = 1024 * 1024;
    auto held = std::make_shared<HeldRowText>();
    QByteArray &text = held->text();
    text.reserve(qsizetype(size));
    for (;;) {
        const qsizetype filled = text.size();
        const qint64 room = std::min(piece, limit - qint64(filled));
        if (room <= 0) {
            dropCutLine(text); // the rest is past what can be shown
            break;
        }
        text.resize(filled + qsizetype(room));
        const qint64 got = file.read(text.data() + filled, room);
        text.truncate(filled + qsizetype(std::max<qint64>(got, 0)));
        if (got < 0) {
            outcome.errorText = file.errorString();
            dropCutLine(text);
            return held;
        }
        if (got == 0)
            break;
    }
    outcome.complete = true;
    return held;
}

std::shared_ptr<const RowText> mapText(std::unique_ptr<QFile> file, qint64 size, ReadOutcome &outcome)
{
    std::unique_ptr<MappedRowText> mapped = MappedRowText::map(std::move(file), size, &outcome.errorText);
    if (!mapped)
        return nullptr;
    outcome.complete = true;
    return mapped;
}

} // namespace

QString sizeText(qint64 bytes)
{
    if (bytes < 1000)
        return QStringLiteral("%1 bytes").arg(bytes);
    if (bytes < 1000LL * 1000 * 1000)
        return QStringLiteral("%1 MB").arg(double(bytes) / 1e6, 0, 'f', 1);
    return QStringLiteral("%1 GB").arg(double(bytes) / 1e9, 0, 'f', 1);
}

qint64 memoryLeft()
{
    // The system's files say they are empty: read to the end.
    QFile info(QStringLiteral("/proc/meminfo"));
    if (info.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : info.readAll().split('\n')) {
            if (line.startsWith("MemAvailable:"))
                return line.mid(13).trimmed().split(' ').value(0).toLongLong() * 1024;
        }
    }
    return std::numeric_limits<qint64>::max();
}

ReadOutcome filelistu(RecordListModel &g1, const QString &ListFileName, const ReadOptions &options)
{
    ReadOutcome outcome;
    auto file = std::make_unique<QFile>(ListFileName);
    if (!openForReading(*file, &outcome.errorText))
        return outcome;
    const qint64 size = file->size();
    const qint64 limit = std::min(options.sizeLimit >= 0 ? options.sizeLimit : memoryLeft(),
                                  RowStarts::limit);
    if (size > limit) {
        outcome.tooLarge = true;
        outcome.errorText = QStringLiteral("It holds %1, more than the %2 that can be shown now.")
                                .arg(sizeText(size), sizeText(limit));
        return outcome;
    }
    std::shared_ptr<const RowText> text;
    try {
        // A file that says it is empty may still have bytes to read.
        text = options.copy || size == 0 ? copyText(*file, size, limit, outcome)
                                         : mapText(std::move(file), size, outcome);
    } catch (const std::bad_alloc &) {
        outcome = {};
        outcome.tooLarge = true;
        outcome.errorText = QStringLiteral("It holds %1, more than the memory left.").arg(sizeText(size));
        return outcome;
    }
    if (!text)
        return outcome;
    RowIndexing how;
    how.chunkBytes = options.chunkBytes;
    outcome.rowsAdded = g1.appendFileText(std::move(text), how);
    return outcome;
}

bool canOpenForReading(const QString &fileName, QString *reason)
{
    QFile file(fileName);
    return openForReading(file, reason);
}

} // namespace recording
