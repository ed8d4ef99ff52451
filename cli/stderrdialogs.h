#pragma once

#include "logger/polling.h"
#include "platform/dialogs.h"

namespace cli {

// The shared exchange tells the user through dialogs; here every message
// is one line on standard error and no question is asked (the command line
// already holds every answer).
class StderrDialogs : public platform::Dialogs
{
public:
    void message(const QString &text, const QString &title, platform::MessageIcon icon) override;
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    FileChoice openFile(const QString &, const QString &) override { return {}; }
    FileChoice saveFile(const QString &, const QString &) override { return {}; }

    int messageCount() const { return messages_; }

private:
    int messages_ = 0;
};

// No live polling runs during a logger action; the exchange still asks.
class NoPolling : public logger::Polling
{
public:
    void pause() override { running_ = false; }
    void resume() override { running_ = true; }
    bool running() const override { return running_; }

private:
    bool running_ = false;
};

} // namespace cli
