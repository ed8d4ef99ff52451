#include "recording/datafilewriter.h"

#include "recording/datafileformat.h"
#include "recording/recordlistmodel.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

namespace recording {

bool RecordingFile::open(const QString &fileName)
{
    close();
    errorText_.clear();
    cutAtOpen_ = 0;
    endsInsideALine_ = false;
    file_.setFileName(fileName);
    // Unbuffered: a write goes to the system at once and reports its failure.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        errorText_ = file_.errorString();
        return false;
    }
    if (!cutBrokenLastLine()) {
        file_.close();
        return false;
    }
    return true;
}

bool RecordingFile::cutBrokenLastLine()
{
    wholeEnd_ = 0;
    if (!QFileInfo(file_.fileName()).isFile())
        return true; // a device or a pipe has no end to mend
    const qint64 size = file_.size();
    wholeEnd_ = size;
    if (size == 0)
        return true;
    QFile reader(file_.fileName());
    const qint64 from = qMax<qint64>(0, size - longestBrokenLine - 1);
    QByteArray tail;
    if (reader.open(QIODevice::ReadOnly) && reader.seek(from))
        tail = reader.read(size - from);
    if (tail.size() != size - from) {
        errorText_ = QStringLiteral("its end cannot be read (%1).").arg(reader.errorString());
        return false;
    }
    const qint64 keep = from + tail.lastIndexOf('\n') + 1;
    if (keep == size)
        return true;
    if (size - keep > longestBrokenLine) {
        errorText_ = QStringLiteral("it does not end with a whole line, and its last %1 bytes are "
                                    "not a recorded line: it is not a data file.")
                         .arg(size - keep);
        return false;
    }
    if (!file_.resize(keep)) {
        errorText_ = QStringLiteral("its last line is cut short and cannot be removed (%1).")
                         .arg(file_.errorString());
        return false;
    }
    cutAtOpen_ = size - keep;
    wholeEnd_ = keep;
    return true;
}

bool RecordingFile::write(const QByteArray &line)
{
    if (!file_.isOpen()) {
        errorText_ = QStringLiteral("The file is not open.");
        return false;
    }
    // One write: a line reaches the file whole or not at all, so a
    // half-written line is never followed by the next one.
    const qint64 written = file_.write(line);
    if (written == line.size()) {
        if (syncToDisk()) {
            wholeEnd_ += written;
            return true;
        }
    } else if (written < 0) {
        errorText_ = file_.errorString();
    } else {
        errorText_ = QStringLiteral("only %1 of the line's %2 bytes could be written; the disk may be full")
                         .arg(written)
                         .arg(line.size());
    }
    takeBackPartialLine();
    return false;
}

void RecordingFile::takeBackPartialLine()
{
    if (!QFileInfo(file_.fileName()).isFile())
        return;
    if (file_.size() > wholeEnd_ && !file_.resize(wholeEnd_))
        endsInsideALine_ = true;
}

bool RecordingFile::syncToDisk()
{
    const int handle = file_.handle();
    if (handle < 0)
        return true;
#if defined(Q_OS_UNIX)
    if (::fsync(handle) == 0 || errno == EINVAL || errno == EROFS || errno == ENOTSUP)
        return true; // EINVAL etc.: a device that does not keep data (a pipe, /dev/null)
    errorText_ = QString::fromLocal8Bit(std::strerror(errno));
    return false;
#elif defined(Q_OS_WIN)
    if (::_commit(handle) == 0)
        return true;
    errorText_ = QString::fromLocal8Bit(std::strerror(errno));
    return false;
#else
    return true;
#endif
}

void RecordingFile::close()
{
    if (file_.isOpen())
        file_.close();
}

QByteArray listFileBytes(const RecordListModel &list)
{
    QByteArray bytes;
    for (int row = 1; row <= list.recordCount(); ++row) {
        const common::DataRecord record = list.record(row);
        bytes += quotedLine(QStringList(record.fields.begin(), record.fields.end()));
    }
    return bytes;
}

bool replaceFile(const QString &fileName, const QByteArray &bytes, QString *errorText)
{
    QSaveFile file(fileName);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    if (written && file.commit())
        return true;
    if (errorText)
        *errorText = file.errorString();
    file.cancelWriting();
    return false;
}

} // namespace recording
