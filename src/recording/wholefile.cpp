#include "recording/wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace recording {

namespace {

QString failure(const QString &fileName, const QFileDevice &file, const QString &fallback)
{
    const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : fallback;
    return QStringLiteral("cannot write to %1: %2").arg(fileName, reason);
}

} // namespace

bool writeWholeFile(const QString &fileName, const std::function<bool(QIODevice &out)> &write,
                    QString *errorText)
{
    const QString notWritten = QStringLiteral("the data could not be written");
    const QFileInfo target(fileName);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        QFile device(fileName);
        if (device.open(QIODevice::WriteOnly) && write(device) && device.flush())
            return true;
        *errorText = failure(fileName, device, notWritten);
        return false;
    }
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && write(file) && file.commit())
        return true;
    *errorText = failure(fileName, file, notWritten);
    file.cancelWriting();
    return false;
}

} // namespace recording
