#pragma once

#include "platform/dialogs.h"

#include <QFileInfo>
#include <QQueue>
#include <QTest>

#include <functional>

namespace testsupport {

// Answers from queues the test fills and records everything shown; a question
// with no queued answer fails the test (once) and is answered as cancelled.
class ScriptedDialogs : public platform::Dialogs
{
public:
    struct Message { QString text, title; platform::MessageIcon icon; };
    struct Prompt { QString prompt, title, defaultAnswer; };
    enum class FileKind { Open, Save };
    struct FileRequest { FileKind kind; QString initialName, filter; };

    void message(const QString &text, const QString &title = {}, platform::MessageIcon icon = platform::MessageIcon::None) override
    {
        messages_.append({text, title, icon});
        runWhileUp();
        if (onMessage_)
            onMessage_(messages_.last());
    }
    QString input(const QString &prompt, const QString &title = {}, const QString &defaultAnswer = {}) override
    {
        prompts_.append({prompt, title, defaultAnswer});
        runWhileUp();
        return answer(inputs_, QStringLiteral("input box ") + prompt);
    }
    FileChoice openFile(const QString &initialName, const QString &filter) override { return file({FileKind::Open, initialName, filter}, opens_); }
    FileChoice saveFile(const QString &initialName, const QString &filter) override { return file({FileKind::Save, initialName, filter}, saves_); }

    void queueInput(const QString &answer) { inputs_.enqueue(answer); }
    void queueOpenFile(const QString &name) { opens_.enqueue({false, name, QFileInfo(name).fileName()}); }
    void queueSaveFile(const QString &name) { saves_.enqueue({false, name, QFileInfo(name).fileName()}); }
    void queueOpenCancel() { opens_.enqueue(FileChoice{}); }
    void queueSaveCancel() { saves_.enqueue(FileChoice{}); }
    void setOnMessage(std::function<void(const Message &)> hook) { onMessage_ = std::move(hook); }
    // Runs once while the next dialog is up: what happens meanwhile.
    void whileNextUp(std::function<void()> action) { whileUp_ = std::move(action); }

    const QList<Message> &messages() const { return messages_; }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const Message &m : messages_)
            texts.append(m.text);
        return texts;
    }
    const QList<Prompt> &prompts() const { return prompts_; }
    const QList<FileRequest> &fileRequests() const { return fileRequests_; }

private:
    template <typename Answer>
    Answer answer(QQueue<Answer> &queue, const QString &what)
    {
        if (!queue.isEmpty())
            return queue.dequeue();
        if (!std::exchange(unexpected_, true))
            QTest::qFail(qPrintable(QStringLiteral("ScriptedDialogs: unexpected ") + what), __FILE__, __LINE__);
        return {};
    }
    FileChoice file(const FileRequest &request, QQueue<FileChoice> &queue)
    {
        fileRequests_.append(request);
        runWhileUp();
        return answer(queue, QStringLiteral("file dialog"));
    }
    void runWhileUp()
    {
        if (auto action = std::exchange(whileUp_, {})) // it may bring up a dialog itself
            action();
    }

    QQueue<QString> inputs_;
    QQueue<FileChoice> opens_, saves_;
    QList<Message> messages_;
    QList<Prompt> prompts_;
    QList<FileRequest> fileRequests_;
    std::function<void(const Message &)> onMessage_;
    std::function<void()> whileUp_;
    bool unexpected_ = false;
};

} // namespace testsupport
