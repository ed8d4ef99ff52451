#include "app/application.h"

#include "app/features.h"
#include "emulator/emulatorport.h"
#include "link/ui/panel.h"
#include "link/ui/selection.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qteventpump.h"
#include "platform/qt/qtprinter.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/systemclock.h"

#include <QApplication>

namespace app {

Application::Application(Options options, platform::Dialogs *dialogs)
    : options_(std::move(options))
    , clock_(std::make_unique<platform::SystemClock>())
    , pump_(std::make_unique<platform::QtEventPump>())
    , qtDialogs_(dialogs ? nullptr : std::make_unique<platform::QtDialogs>())
    , dialogs_(dialogs ? dialogs : qtDialogs_.get())
{
    platform_.clock = clock_.get();
    platform_.pump = pump_.get();
    platform_.dialogs = dialogs_;
    platform_.makePrinter = [this] { return std::make_unique<platform::QtPrinter>(panel_.get()); };

    selection_ = std::make_unique<live::SELECTION>(options_.com1Device, options_.com2Device);
    connect(selection_.get(), &live::SELECTION::portChosen, this, &Application::choosePort);
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
    if (options_.select)
        choosePort(*options_.select);
    else
        selection_->show();
}

std::unique_ptr<platform::SerialPort> Application::makePort(int portNumber) const
{
    const QString device = portNumber == 1 ? options_.com1Device : options_.com2Device;
    if (device == emulatorDevice)
        return std::make_unique<emulator::EmulatorPort>(*clock_);
    return std::make_unique<platform::QtSerialPort>(
        QMap<int, QString>{{1, options_.com1Device}, {2, options_.com2Device}});
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
    panel_->show();
}

void Application::showOpenFailure(const QString &reason)
{
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
