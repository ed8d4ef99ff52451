#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace platform {

// What the program remembers between starts, in
// $XDG_CONFIG_HOME/meterlink/meterlink.conf (~/.config when unset): the
// devices behind COM1 and COM2 and the folder of each kind of file dialog.
// The windowed program and the command line read the same file.
class AppSettings
{
public:
    AppSettings();
    // A settings file at `path` (tests).
    explicit AppSettings(const QString &path);
    ~AppSettings();
    AppSettings(const AppSettings &) = delete;
    AppSettings &operator=(const AppSettings &) = delete;

    // The device chosen last time for port 1 or 2; empty when none.
    QString device(int comNumber) const;
    void setDevice(int comNumber, const QString &device);

    // The folder the file dialog of `kind` ("saveAs", "openFile", ...)
    // showed last; empty when none.
    QString folder(const QString &kind) const;
    void setFolder(const QString &kind, const QString &folder);

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace platform
