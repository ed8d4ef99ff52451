#include "logger/ui/panelmemory.h"

#include "link/ui/panel.h"
#include "logger/messages.h"
#include "logger/ui/logger.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace logger {

PanelMemoryCommands::PanelMemoryCommands(live::PANEL &panel, Exchange &exchange, LOGGER &logger,
                                         QObject *parent)
    : QObject(parent)
    , panel_(panel)
    , exchange_(exchange)
    , logger_(logger)
{
    connect(panel.CMDMEMORY, &QPushButton::clicked, this, &PanelMemoryCommands::CMDMEMORYClick);
    connect(panel.CMDSYSTEM, &QPushButton::clicked, this, &PanelMemoryCommands::CMDSYSTEMClick);
    connect(panel.CMDUPDATE, &QPushButton::clicked, this, &PanelMemoryCommands::CMDUPDATEClick);
}

void PanelMemoryCommands::CMDMEMORYClick()
{
    // An exchange running now may belong to the logger window: it is not
    // pulled from under it.
    if (exchange_.busy())
        return;
    logger_.unloadWindow();
    if (closeRecordList_)
        closeRecordList_();
    logger_.open();
}

void PanelMemoryCommands::CMDSYSTEMClick()
{
    auto lock = exchange_.tryLock();
    if (!lock)
        return;
    requests_.setMeterClock([this](const QString &text) { panel_.LBLCOMM->setText(text); },
                            QStringLiteral("Com") + QString::number(panel_.shared().portNumber));
}

void PanelMemoryCommands::CMDUPDATEClick()
{
    // Asked with the port left to the live reading; the line is taken only
    // once the answer is known.
    if (exchange_.busy())
        return;
    const QPointer<PanelMemoryCommands> self(this);
    platform::Dialogs &dialogs = exchange_.dialogs();
    const IcCountAnswer answer
        = parseIcCount(dialogs.input(icCountPrompt(), icCountTitle, icCountDefault()));
    if (!self || exchange_.ending() || answer.kind == IcCountAnswer::Kind::Cancelled)
        return;
    if (answer.kind == IcCountAnswer::Kind::NotPairs) {
        dialogs.message(text::icPairs, {}, platform::MessageIcon::Critical);
        return;
    }
    auto lock = exchange_.tryLock();
    if (!lock)
        return;
    if (logger_.isLoaded() && logger_.isVisible())
        logger_.unloadWindow();
    panel_.CMDMEMORY->setEnabled(true);
    requests_.writeMemorySize(answer.code);
}

} // namespace logger
