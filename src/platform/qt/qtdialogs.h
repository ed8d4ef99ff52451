#pragma once

#include "platform/dialogs.h"

#include <QPointer>
#include <QWidget>

namespace platform {

// The questions as Qt's standard dialogs: QMessageBox (OK only),
// QInputDialog and QFileDialog, each modal over the given parent window.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr) : parent_(parent) {}

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

private:
    QPointer<QWidget> parent_;
};

} // namespace platform
