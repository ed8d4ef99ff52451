#pragma once

#include "platform/dialogs.h"

#include <QPointer>
#include <QWidget>

namespace platform {

class AppSettings;

// The questions as Qt's standard dialogs: QMessageBox (OK only),
// QInputDialog and QFileDialog, each modal over the given parent window.
//
// With settings, each kind of file dialog (open or save, told apart by its
// filter, so SAVE AS, OPEN FILE and the record list's SAVE each have their
// own) starts in the folder where its last use ended, unless the caller
// names a folder itself.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr) : parent_(parent) {}
    // Where the folders are remembered; none: nothing is.
    void setSettings(AppSettings *settings) { settings_ = settings; }

    // The window the dialogs centre on (may change as windows come and go).
    void setParent(QWidget *parent) { parent_ = parent; }

    void message(const QString &text, const QString &title = {},
                 MessageIcon icon = MessageIcon::None) override;
    QString input(const QString &prompt, const QString &title = {},
                  const QString &defaultAnswer = {}) override;
    FileChoice openFile(const QString &initialName, const QString &filter) override;
    FileChoice saveFile(const QString &initialName, const QString &filter) override;

    // The choice for a file name as the dialogs return it (empty: Cancel).
    static FileChoice choiceFor(const QString &fullName);

    // The name under which a file dialog's folder is remembered.
    static QString fileKind(bool save, const QString &filter);
    // The name a dialog starts with: the caller's, put into the remembered
    // folder when the caller names no folder and the folder still exists.
    static QString startName(const QString &initialName, const QString &folder);

private:
    FileChoice askFile(bool save, const QString &initialName, const QString &filter);

    QPointer<QWidget> parent_;
    AppSettings *settings_ = nullptr;
};

} // namespace platform
