#include "platform/appsettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace platform {

namespace {
QString deviceKey(int comNumber)
{
    return QStringLiteral("devices/com%1").arg(comNumber);
}
QString folderKey(const QString &kind)
{
    return QStringLiteral("folders/") + kind;
}
QString problem(QSettings::Status status)
{
    return status == QSettings::AccessError ? QStringLiteral("it could not be read")
                                            : QStringLiteral("its contents are damaged");
}
bool moveAside(const QString &path, const QString &to)
{
    if (QFileInfo(to).isDir())
        QDir(to).removeRecursively();
    else
        QFile::remove(to);
    return QDir().rename(path, to);
}
} // namespace

AppSettings::AppSettings()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("meterlink"), QStringLiteral("meterlink")))
{
    recoverFromBrokenFile();
}

AppSettings::AppSettings(const QString &path)
    : settings_(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
    recoverFromBrokenFile();
}

AppSettings::~AppSettings() = default;

void AppSettings::recoverFromBrokenFile()
{
    const QSettings::Status status = settings_->status();
    if (status == QSettings::NoError)
        return;
    const QString path = settings_->fileName();
    const QString aside = path + QStringLiteral(".broken");
    // The broken file is kept for whoever wants to look at it; a fresh one
    // takes its place so the next start is clean.
    const bool moved = moveAside(path, aside);
    resetNotice_ = QStringLiteral("The settings file %1 was not used because %2. meterlink starts "
                                  "with the default settings")
                       .arg(path, problem(status));
    if (moved) {
        settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
        resetNotice_ += QStringLiteral("; the old file is kept as %1.").arg(aside);
    } else {
        usable_ = false;
        resetNotice_ += QStringLiteral(" and cannot remember choices until the file is removed.");
    }
}

QString AppSettings::fileName() const
{
    return settings_->fileName();
}

QString AppSettings::value(const QString &key) const
{
    return usable_ ? settings_->value(key).toString() : QString();
}

void AppSettings::setValue(const QString &key, const QString &value)
{
    if (!usable_)
        return;
    settings_->setValue(key, value);
    settings_->sync();
}

QString AppSettings::device(int comNumber) const
{
    return value(deviceKey(comNumber));
}

void AppSettings::setDevice(int comNumber, const QString &device)
{
    setValue(deviceKey(comNumber), device);
}

QString AppSettings::folder(const QString &kind) const
{
    return value(folderKey(kind));
}

void AppSettings::setFolder(const QString &kind, const QString &folder)
{
    setValue(folderKey(kind), folder);
}

} // namespace platform
