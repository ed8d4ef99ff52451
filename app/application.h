#pragma once

#include "app/options.h"
#include "common/sharedvalues.h"
#include "platform/appsettings.h"
#include "platform/devices.h"
#include "platform/platform.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qteventpump.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <memory>
#include <vector>

#include "link/ui/devicesdialog.h"

namespace live {
class PANEL;
class SELECTION;
}

namespace app {

// What the program uses from outside that tests replace; none of it is
// owned by the application. Empty fields take the real thing.
struct Services
{
    platform::Dialogs *dialogs = nullptr;     // Qt's dialogs otherwise
    const platform::PortLister *ports = nullptr; // QSerialPortInfo otherwise
    QString settingsFile;                     // ~/.config/meterlink/meterlink.conf otherwise
};

// The running program: the port choice, then the main window with every
// feature attached to it. Closing the main window ends it all.
class Application : public QObject
{
    Q_OBJECT
public:
    explicit Application(Options options, const Services &services);
    // `dialogs` replaces the Qt dialogs (tests answer from a script); the
    // application does not own it.
    explicit Application(Options options, platform::Dialogs *dialogs = nullptr);
    ~Application() override;

    // Shows SELECTION, or chooses the port at once when the options say so.
    void start();

    live::SELECTION *selection() const { return selection_.get(); }
    live::DevicesDialog *devicesDialog() const { return devicesDialog_; }
    live::PANEL *panel() const { return panel_.get(); }
    platform::SerialPort *port() const { return port_.get(); }
    // The device behind port 1 or 2 as SELECTION shows it now.
    QString device(int portNumber) const;

private:
    void refreshDevices();
    void openDevicesDialog();
    void takeDevicesChoice();
    void chooseEmulator();
    void choosePort(int portNumber);
    std::unique_ptr<platform::SerialPort> makePort(int portNumber) const;
    void showOpenFailure(const QString &reason);
    void end();

    Options options_;
    std::unique_ptr<platform::AppSettings> settings_;
    std::unique_ptr<platform::PortLister> qtLister_; // unless replaced
    const platform::PortLister *lister_;
    std::array<platform::DeviceChoice, 2> devices_;
    std::unique_ptr<platform::Clock> clock_;
    std::unique_ptr<platform::QtEventPump> pump_;
    std::unique_ptr<platform::QtDialogs> qtDialogs_; // unless replaced
    platform::Dialogs *dialogs_;
    std::unique_ptr<platform::SerialPort> port_;
    platform::Platform platform_;
    common::SharedValues shared_;
    std::unique_ptr<live::SELECTION> selection_;
    QPointer<live::DevicesDialog> devicesDialog_;
    std::unique_ptr<live::PANEL> panel_;
    std::vector<std::unique_ptr<QObject>> features_;
};

} // namespace app
