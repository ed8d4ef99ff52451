#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace platform {

// What the program remembers between starts, in
// $XDG_CONFIG_HOME/meterlink/meterlink.conf (~/.config when unset): the
// devices behind COM1 and COM2 and the folder of each kind of file dialog.
// The windowed program and the command line read the same file.
//
// A file that cannot be read or parsed never stops the program: it is moved
// aside (to meterlink.conf.broken) and the defaults apply; resetNotice()
// then says so, for the program to tell the user once.
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

    // Empty unless the file was broken or unreadable and the defaults
    // were taken instead: then the sentence to show the user.
    QString resetNotice() const { return resetNotice_; }

    QString fileName() const;

private:
    void recoverFromBrokenFile();
    QString value(const QString &key) const;
    void setValue(const QString &key, const QString &value);

    std::unique_ptr<QSettings> settings_;
    bool usable_ = true;
    QString resetNotice_;
};

} // namespace platform
