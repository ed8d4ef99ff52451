#include "app/application.h"

#include "app/features.h"
#include "emulator/emulatorport.h"
#include "link/ui/devicesdialog.h"
#include "link/ui/panel.h"
#include "link/ui/selection.h"
#include "link/ui/silencehint.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/qtportlister.h"
#include "platform/qt/qtprinter.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/systemclock.h"

#include <QApplication>

namespace app {

namespace {
std::unique_ptr<platform::AppSettings> openSettings(const QString &file)
{
    return file.isEmpty() ? std::make_unique<platform::AppSettings>()
                          : std::make_unique<platform::AppSettings>(file);
}
} // namespace

Application::Application(Options options, const Services &services)
    : options_(std::move(options))
    , settings_(openSettings(services.settingsFile))
    , qtLister_(services.ports ? nullptr : std::make_unique<platform::QtPortLister>())
    , lister_(services.ports ? services.ports : qtLister_.get())
    , clock_(std::make_unique<platform::SystemClock>())
    , pump_(std::make_unique<platform::QtEventPump>())
    , qtDialogs_(services.dialogs ? nullptr : std::make_unique<platform::QtDialogs>())
    , dialogs_(services.dialogs ? services.dialogs : qtDialogs_.get())
{
    platform_.clock = clock_.get();
    platform_.pump = pump_.get();
    platform_.dialogs = dialogs_;
    platform_.makePrinter = [this] { return std::make_unique<platform::QtPrinter>(panel_.get()); };
    if (qtDialogs_)
        qtDialogs_->setSettings(settings_.get());

    selection_ = std::make_unique<live::SELECTION>();
    connect(selection_.get(), &live::SELECTION::portChosen, this, &Application::choosePort);
    connect(selection_.get(), &live::SELECTION::devicesRequested, this,
            &Application::openDevicesDialog);
    connect(selection_.get(), &live::SELECTION::emulatorRequested, this,
            &Application::chooseEmulator);
}

Application::Application(Options options, platform::Dialogs *dialogs)
    : Application(std::move(options), Services{dialogs, nullptr, {}})
{
}

Application::~Application()
{
    features_.clear();
    panel_.reset();
    if (port_)
        port_->close();
}

void Application::start()
{
    refreshDevices();
    if (!settings_->resetNotice().isEmpty())
        dialogs_->message(settings_->resetNotice(), tr("Settings"), platform::MessageIcon::Warning);
    if (options_.select)
        choosePort(*options_.select);
    else
        selection_->show();
}

QString Application::device(int portNumber) const
{
    return devices_[portNumber == 2 ? 1 : 0].device;
}

void Application::refreshDevices()
{
    const QList<platform::DetectedPort> detected = lister_->ports();
    const QString arguments[2] = {options_.com1Device, options_.com2Device};
    for (int n = 1; n <= 2; ++n)
        devices_[n - 1] = platform::chooseDeviceFor(n, {arguments[n - 1], settings_->device(n), detected});
    selection_->showDevices(devices_[0], devices_[1], !detected.isEmpty());
}

void Application::openDevicesDialog()
{
    if (devicesDialog_) {
        devicesDialog_->refresh();
        devicesDialog_->raise();
        return;
    }
    devicesDialog_ = new live::DevicesDialog(*lister_, device(1), device(2), selection_.get());
    devicesDialog_->setAttribute(Qt::WA_DeleteOnClose);
    devicesDialog_->setWindowFlag(Qt::Window);
    connect(devicesDialog_, &QDialog::accepted, this, &Application::takeDevicesChoice);
    // Ports may have come or gone while the dialog was up.
    connect(devicesDialog_, &QDialog::rejected, this, &Application::refreshDevices);
    devicesDialog_->open();
}

void Application::takeDevicesChoice()
{
    // What the user just chose holds for this run even if it is not there
    // yet (it outranks --com1/--com2 too); an emptied field forgets the
    // choice, so the detected port applies again.
    options_.com1Device = devicesDialog_->device(1);
    options_.com2Device = devicesDialog_->device(2);
    settings_->setDevice(1, options_.com1Device);
    settings_->setDevice(2, options_.com2Device);
    refreshDevices();
}

void Application::chooseEmulator()
{
    options_.com1Device = emulatorDevice;
    refreshDevices();
    choosePort(1);
}

std::unique_ptr<platform::SerialPort> Application::makePort(int portNumber) const
{
    if (device(portNumber) == emulatorDevice)
        return std::make_unique<emulator::EmulatorPort>(*clock_);
    return std::make_unique<platform::QtSerialPort>(QMap<int, QString>{{1, device(1)}, {2, device(2)}});
}

void Application::choosePort(int portNumber)
{
    shared_.portNumber = static_cast<qint16>(portNumber);
    port_ = makePort(portNumber);
    platform_.port = port_.get();

    panel_ = std::make_unique<live::PANEL>(platform_, shared_);
    selection_->hide();
    if (!panel_->load()) {
        const QString reason = panel_->openError();
        panel_.reset();
        port_.reset();
        platform_.port = nullptr;
        showOpenFailure(reason);
        return;
    }
    connect(panel_.get(), &live::PANEL::closing, this, &Application::end);
    if (qtDialogs_)
        qtDialogs_->setParent(panel_.get());
    features_ = attachFeatures(*panel_);
    features_.push_back(std::make_unique<live::SilenceHint>(*panel_, device(portNumber)));
    panel_->show();
}

void Application::showOpenFailure(const QString &reason)
{
    refreshDevices();
    selection_->show();
    dialogs_->message(reason, tr("Cannot open the port"), platform::MessageIcon::Critical);
}

void Application::end()
{
    // Every wait returns at once from here on, so nothing holds the program.
    pump_->requestEnd();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != panel_.get())
            window->close();
    }
    if (port_)
        port_->close();
    QCoreApplication::quit();
}

} // namespace app
