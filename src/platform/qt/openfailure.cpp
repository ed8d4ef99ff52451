#include "platform/qt/openfailure.h"

#include <QFile>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace platform {

namespace {

bool processHasGroup(gid_t group)
{
    if (getegid() == group)
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    const int filled = getgroups(count, groups.data());
    for (int i = 0; i < filled; ++i) {
        if (groups[static_cast<size_t>(i)] == group)
            return true;
    }
    return false;
}

bool accountListedIn(const group &entry)
{
    const passwd *user = getpwuid(getuid());
    if (!user)
        return false;
    if (user->pw_gid == entry.gr_gid)
        return true;
    for (char **member = entry.gr_mem; member && *member; ++member) {
        if (qstrcmp(*member, user->pw_name) == 0)
            return true;
    }
    return false;
}

QString rightsAdvice(const DeviceGroup &group)
{
    if (group.name.isEmpty())
        return QStringLiteral(". The device's owner and group could not be read.");
    if (group.processIsMember) {
        return QStringLiteral(". The device belongs to the group %1, which you are in, but the "
                              "device does not allow the group to read and write it.")
            .arg(group.name);
    }
    if (group.accountIsMember) {
        return QStringLiteral(". The device belongs to the group %1. You were added to it after "
                              "this session began: log out and log in again.")
            .arg(group.name);
    }
    return QStringLiteral(". The device belongs to the group %1 and you are not in it. "
                          "Run: sudo usermod -aG %1 $USER, then log out and log in again.")
        .arg(group.name);
}

} // namespace

DeviceGroup deviceGroup(const QString &path)
{
    struct stat node {};
    if (::stat(QFile::encodeName(path).constData(), &node) != 0)
        return {};
    DeviceGroup result;
    const group *entry = getgrgid(node.st_gid);
    result.name = entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(node.st_gid);
    result.processIsMember = processHasGroup(node.st_gid);
    result.accountIsMember = entry && accountListedIn(*entry);
    return result;
}

QString describeOpenFailure(const OpenFailure &failure)
{
    const QString head = QStringLiteral("Cannot open serial port %1: ").arg(failure.device);
    if (failure.error == QSerialPort::PermissionError && failure.deviceAccessible) {
        // The rights are there, so the refusal is a lock or an exclusive
        // open: someone else has the device.
        return head
               + QStringLiteral("the device is busy, another program is using it (%1).")
                     .arg(failure.systemReason);
    }
    if (failure.error == QSerialPort::PermissionError)
        return head + failure.systemReason + rightsAdvice(deviceGroup(failure.device));
    return head + failure.systemReason + u'.';
}

bool isReadWritable(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
}

} // namespace platform
