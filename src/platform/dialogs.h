#pragma once

#include <QString>
#include <QStringList>

namespace platform {

enum class MessageIcon { None, Information, Warning, Critical };

// The modal questions the program asks. Every one goes through here so that
// tests answer them from a script and never open a real dialog.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // An OK box. The title is empty unless the caller names one.
    virtual void message(const QString &text, const QString &title = {},
                         MessageIcon icon = MessageIcon::None) = 0;

    // A one-line question; returns the empty text on Cancel.
    virtual QString input(const QString &prompt, const QString &title = {},
                          const QString &defaultAnswer = {}) = 0;

    struct FileChoice
    {
        bool cancelled = true;
        QString fullName;  // the whole path
        QString fileTitle; // the name without its folder
    };

    // filter uses Qt's form, e.g. "Data files (*.dat);;All files (*)".
    virtual FileChoice openFile(const QString &initialName, const QString &filter) = 0;
    virtual FileChoice saveFile(const QString &initialName, const QString &filter) = 0;
};

} // namespace platform
