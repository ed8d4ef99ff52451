#include "platform/qt/qtdialogs.h"

#include "platform/appsettings.h"

#include <QCryptographicHash>
#include <QDir>
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
    return askFile(false, initialName, filter);
}

Dialogs::FileChoice QtDialogs::saveFile(const QString &initialName, const QString &filter)
{
    return askFile(true, initialName, filter);
}

Dialogs::FileChoice QtDialogs::askFile(bool save, const QString &initialName, const QString &filter)
{
    const QString kind = fileKind(save, filter);
    const QString start = startName(initialName, settings_ ? settings_->folder(kind) : QString());
    const QString chosen = save ? QFileDialog::getSaveFileName(parent_, {}, start, filter)
                                : QFileDialog::getOpenFileName(parent_, {}, start, filter);
    if (settings_ && !chosen.isEmpty())
        settings_->setFolder(kind, QFileInfo(chosen).absolutePath());
    return choiceFor(chosen);
}

QString QtDialogs::fileKind(bool save, const QString &filter)
{
    // The filter may hold any character; a digest of it makes a clean key.
    const QByteArray digest = QCryptographicHash::hash(filter.toUtf8(), QCryptographicHash::Sha1);
    return (save ? QStringLiteral("save-") : QStringLiteral("open-"))
           + QString::fromLatin1(digest.toHex().left(8));
}

QString QtDialogs::startName(const QString &initialName, const QString &folder)
{
    if (initialName.contains(QLatin1Char('/')) || folder.isEmpty() || !QFileInfo(folder).isDir())
        return initialName;
    return QDir(folder).filePath(initialName);
}

Dialogs::FileChoice QtDialogs::choiceFor(const QString &fullName)
{
    if (fullName.isEmpty())
        return FileChoice{};
    return FileChoice{false, fullName, QFileInfo(fullName).fileName()};
}

} // namespace platform
