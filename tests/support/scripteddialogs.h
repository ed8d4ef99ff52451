#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>

namespace testsupport {

// Answers the program's questions from queues filled by the test and keeps
// a record of everything shown. A question with no queued answer fails the
// test and is answered as if cancelled (empty text, cancelled file choice).
class ScriptedDialogs : public platform::Dialogs
{
public:
    struct Message
    {
        QString text;
        QString title;
        platform::MessageIcon icon;
    };
    struct Prompt
    {
        QString prompt;
        QString title;
        QString defaultAnswer;
    };
    enum class FileKind { Open, Save };
    struct FileRequest
    {
        FileKind kind;
        QString initialName;
        QString filter;
    };

    void message(const QString &text, const QString &title = {},
                 platform::MessageIcon icon = platform::MessageIcon::None) override;
    QString input(const QString &prompt, const QString &title = {},
                  const QString &defaultAnswer = {}) override;
    FileChoice openFile(const QString &initialName, const QString &filter) override;
    FileChoice saveFile(const QString &initialName, const QString &filter) override;

    // --- script ---
    // The next input() returns `answer` (an empty text stands for Cancel).
    void queueInput(const QString &answer) { inputs_.enqueue(answer); }
    // The next openFile()/saveFile() returns this path (its title derived).
    void queueOpenFile(const QString &fullName) { opens_.enqueue(chosen(fullName)); }
    void queueSaveFile(const QString &fullName) { saves_.enqueue(chosen(fullName)); }
    void queueOpenCancel() { opens_.enqueue(FileChoice{}); }
    void queueSaveCancel() { saves_.enqueue(FileChoice{}); }
    // Runs while a message is "on screen", before message() returns.
    void setOnMessage(std::function<void(const Message &)> hook) { onMessage_ = std::move(hook); }
    // Runs once, while the next dialog of any kind is "up", before it
    // answers: what the user or the meter does meanwhile (close a window,
    // pull the cable, let timers tick).
    void whileNextUp(std::function<void()> action) { whileUp_ = std::move(action); }

    // --- record ---
    const QList<Message> &messages() const { return messages_; }
    QStringList messageTexts() const;
    const QList<Prompt> &prompts() const { return prompts_; }
    const QList<FileRequest> &fileRequests() const { return fileRequests_; }

private:
    static FileChoice chosen(const QString &fullName);
    FileChoice nextFile(QQueue<FileChoice> &queue, FileKind kind, const QString &initialName,
                        const QString &filter);
    void unexpected(const QString &what);
    void runWhileUp();

    QQueue<QString> inputs_;
    QQueue<FileChoice> opens_;
    QQueue<FileChoice> saves_;
    QList<Message> messages_;
    QList<Prompt> prompts_;
    QList<FileRequest> fileRequests_;
    std::function<void(const Message &)> onMessage_;
    std::function<void()> whileUp_;
    bool unexpected_ = false; // failed once already
};

} // namespace testsupport
