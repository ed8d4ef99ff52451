#include "platform/appsettings.h"

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
} // namespace

AppSettings::AppSettings()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("meterlink"), QStringLiteral("meterlink")))
{
}

AppSettings::AppSettings(const QString &path)
    : settings_(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
}

AppSettings::~AppSettings() = default;

QString AppSettings::device(int comNumber) const
{
    return settings_->value(deviceKey(comNumber)).toString();
}

void AppSettings::setDevice(int comNumber, const QString &device)
{
    settings_->setValue(deviceKey(comNumber), device);
    settings_->sync();
}

QString AppSettings::folder(const QString &kind) const
{
    return settings_->value(folderKey(kind)).toString();
}

void AppSettings::setFolder(const QString &kind, const QString &folder)
{
    settings_->setValue(folderKey(kind), folder);
    settings_->sync();
}

} // namespace platform
