#include "recording/datafilewriter.h"

#include "recording/datafileformat.h"
#include "recording/recordlistmodel.h"

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
    file_.setFileName(fileName);
    // Unbuffered: a write goes to the system at once and reports its failure.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        errorText_ = file_.errorString();
        return false;
    }
    return true;
}

bool RecordingFile::write(const QByteArray &line)
{
    if (!file_.isOpen()) {
        errorText_ = QStringLiteral("The file is not open.");
        return false;
    }
    qsizetype done = 0;
    while (done < line.size()) {
        const qint64 written = file_.write(line.constData() + done, line.size() - done);
        if (written <= 0) {
            errorText_ = file_.errorString();
            return false;
        }
        done += written;
    }
    return file_.flush() && syncToDisk();
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

bool writeListFile(const QString &fileName, const RecordListModel &list, QString *errorText)
{
    QSaveFile file(fileName);
    const auto fail = [&] {
        if (errorText)
            *errorText = file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    for (int row = 1; row <= list.recordCount(); ++row) {
        const common::DataRecord record = list.record(row);
        const QByteArray line = quotedLine(QStringList(record.fields.begin(), record.fields.end()));
        if (file.write(line) != line.size())
            return fail();
    }
    if (!file.commit()) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    return true;
}

} // namespace recording
