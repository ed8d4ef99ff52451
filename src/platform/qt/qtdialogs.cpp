#include "platform/qt/qtdialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtDialogs::message(const QString &text, const QString &title, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent_);
    box.exec();
}

QString QtDialogs::input(const QString &prompt, const QString &title,
                         const QString &defaultAnswer)
{
    bool accepted = false;
    const QString answer = QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal,
                                                 defaultAnswer, &accepted);
    return accepted ? answer : QString();
}

Dialogs::FileChoice QtDialogs::openFile(const QString &initialName, const QString &filter)
{
    return choiceFor(QFileDialog::getOpenFileName(parent_, {}, initialName, filter));
}

Dialogs::FileChoice QtDialogs::saveFile(const QString &initialName, const QString &filter)
{
    return choiceFor(QFileDialog::getSaveFileName(parent_, {}, initialName, filter));
}

Dialogs::FileChoice QtDialogs::choiceFor(const QString &fullName)
{
    if (fullName.isEmpty())
        return FileChoice{};
    return FileChoice{false, fullName, QFileInfo(fullName).fileName()};
}

} // namespace platform
