#include "support/scripteddialogs.h"


#include <QFileInfo>
#include <QTest>

#include <utility>

namespace testsupport {

void ScriptedDialogs::message(const QString &text, const QString &title,
                              platform::MessageIcon icon)
{
    messages_.append({text, title, icon});
    runWhileUp();
    if (onMessage_)
        onMessage_(messages_.last());
}

QStringList ScriptedDialogs::messageTexts() const
{
    QStringList texts;
    for (const auto &m : messages_)
        texts.append(m.text);
    return texts;
}

QString ScriptedDialogs::input(const QString &prompt, const QString &title,
                               const QString &defaultAnswer)
{
    prompts_.append({prompt, title, defaultAnswer});
    runWhileUp();
    if (inputs_.isEmpty()) {
        unexpected(QStringLiteral("input box \"%1\"").arg(prompt));
        return {};
    }
    return inputs_.dequeue();
}

platform::Dialogs::FileChoice ScriptedDialogs::openFile(const QString &initialName,
                                                        const QString &filter)
{
    return nextFile(opens_, FileKind::Open, initialName, filter);
}

platform::Dialogs::FileChoice ScriptedDialogs::saveFile(const QString &initialName,
                                                        const QString &filter)
{
    return nextFile(saves_, FileKind::Save, initialName, filter);
}

platform::Dialogs::FileChoice ScriptedDialogs::chosen(const QString &fullName)
{
    return FileChoice{false, fullName, QFileInfo(fullName).fileName()};
}

platform::Dialogs::FileChoice ScriptedDialogs::nextFile(QQueue<FileChoice> &queue, FileKind kind,
                                                        const QString &initialName,
                                                        const QString &filter)
{
    fileRequests_.append({kind, initialName, filter});
    runWhileUp();
    if (queue.isEmpty()) {
        unexpected(kind == FileKind::Open ? QStringLiteral("open-file dialog")
                                          : QStringLiteral("save-file dialog"));
        return FileChoice{};
    }
    return queue.dequeue();
}

void ScriptedDialogs::runWhileUp()
{
    // Taken out first: the action may itself bring up a dialog.
    if (auto action = std::exchange(whileUp_, {}))
        action();
}

void ScriptedDialogs::unexpected(const QString &what)
{
    // Fail once; later surprises in the same test add nothing useful.
    if (!unexpected_)
        QTest::qFail(qPrintable(QStringLiteral("ScriptedDialogs: unexpected %1").arg(what)), __FILE__, __LINE__);
    unexpected_ = true;
}

} // namespace testsupport
