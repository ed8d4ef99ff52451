#include "reclist/listsave.h"

#include "recording/datafilewriter.h"
#include "recording/recordlistmodel.h"

namespace reclist {

QString saveFilter()
{
    return QStringLiteral("Data Files (*.dat);;All Files (*.*)");
}

SaveOutcome saveRecordList(platform::Dialogs &dialogs, const recording::RecordListModel &list,
                           common::SharedValues &shared, const std::function<void(bool)> &busy)
{
    if (list.recordCount() == 0)
        return {SaveOutcome::Status::Empty,
                recording::Notice{QStringLiteral("The list is empty: there is nothing to save."),
                                  QStringLiteral("SAVE"), platform::MessageIcon::Information}};
    // The rows as the user sees them now: while the dialog is open the list
    // may be closed (which empties it) or replaced by a new download.
    const QByteArray snapshot = recording::listFileBytes(list);
    const platform::Dialogs::FileChoice choice = dialogs.saveFile(shared.saveFileName, saveFilter());
    if (choice.cancelled || choice.fileTitle.isEmpty() || choice.fullName.isEmpty())
        return {};
    shared.saveFileName = choice.fullName;

    if (busy)
        busy(true);
    QString reason;
    const bool written = recording::replaceFile(shared.saveFileName, snapshot, &reason);
    if (busy)
        busy(false);
    if (written)
        return {SaveOutcome::Status::Saved, std::nullopt};
    const recording::Notice notice{QStringLiteral("File ") + shared.saveFileName
                                       + QStringLiteral(" not saved ! ") + reason,
                                   QStringLiteral("SAVE"), platform::MessageIcon::Critical};
    return {SaveOutcome::Status::Failed, notice};
}

} // namespace reclist
