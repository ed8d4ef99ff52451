#include "recording/ui/listprint.h"

#include "link/ui/panel.h"
#include "recording/listprintout.h"

#include <QAction>
#include <QGuiApplication>
#include <QPointer>

namespace recording {

void printListWindow(live::PANEL &panel, const RecordListModel &list, const QString &documentName,
                     QAction *printAction)
{
    const platform::Platform &platform = panel.platform();
    const auto printer = platform.makePrinter();
    if (!printer)
        return;
    QPointer<QAction> action(printAction);
    if (action)
        action->setEnabled(false);
    bool busy = false;
    const auto begun = [&] {
        busy = true;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        panel.Timer1->setEnabled(false);
    };

    const PrintOutcome outcome = printRecordList(list, *printer, *platform.pump, documentName, begun);

    if (busy) {
        panel.Timer1->setEnabled(true);
        QGuiApplication::restoreOverrideCursor();
    }
    if (action)
        action->setEnabled(true);
    if (outcome.status == PrintOutcome::Status::Failed)
        platform.dialogs->message(QStringLiteral("The list could not be printed: ") + outcome.errorText
                                      + QStringLiteral("\nNothing was sent to the printer."),
                                  documentName, platform::MessageIcon::Critical);
    else if (outcome.status == PrintOutcome::Status::Interrupted)
        platform.dialogs->message(QStringLiteral("Printing was stopped before its end: the list was "
                                                 "closed or replaced, or the program is ending.\n"
                                                 "Nothing was sent to the printer."),
                                  documentName, platform::MessageIcon::Warning);
}

} // namespace recording
