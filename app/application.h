#pragma once

#include "app/options.h"
#include "common/sharedvalues.h"
#include "platform/platform.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qteventpump.h"

#include <QObject>
#include <memory>
#include <vector>

namespace live {
class PANEL;
class SELECTION;
}

namespace app {

// The running program: the port choice, then the main window with every
// feature attached to it. Closing the main window ends it all.
class Application : public QObject
{
    Q_OBJECT
public:
    // `dialogs` replaces the Qt dialogs (tests answer from a script); the
    // application does not own it.
    explicit Application(Options options, platform::Dialogs *dialogs = nullptr);
    ~Application() override;

    // Shows SELECTION, or chooses the port at once when the options say so.
    void start();

    live::SELECTION *selection() const { return selection_.get(); }
    live::PANEL *panel() const { return panel_.get(); }
    platform::SerialPort *port() const { return port_.get(); }

private:
    void choosePort(int portNumber);
    std::unique_ptr<platform::SerialPort> makePort(int portNumber) const;
    void showOpenFailure(const QString &reason);
    void end();

    Options options_;
    std::unique_ptr<platform::Clock> clock_;
    std::unique_ptr<platform::QtEventPump> pump_;
    std::unique_ptr<platform::QtDialogs> qtDialogs_; // unless replaced
    platform::Dialogs *dialogs_;
    std::unique_ptr<platform::SerialPort> port_;
    platform::Platform platform_;
    common::SharedValues shared_;
    std::unique_ptr<live::SELECTION> selection_;
    std::unique_ptr<live::PANEL> panel_;
    std::vector<std::unique_ptr<QObject>> features_;
};

} // namespace app
