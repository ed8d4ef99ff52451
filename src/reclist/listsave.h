#pragma once

#include "common/sharedvalues.h"
#include "platform/dialogs.h"
#include "recording/rangecheck.h"

#include <QString>

#include <functional>
#include <optional>

namespace recording {
class RecordListModel;
}

// SAVE of the downloaded-record list: every record as a quoted list line
// (see recording/datafileformat.h) in a file the user chooses.

namespace reclist {

// "Data Files (*.dat)" first, then every file.
QString saveFilter();

struct SaveOutcome
{
    enum class Status { Saved, Cancelled, Empty, Failed };
    Status status = Status::Cancelled;
    // What to tell the user: why nothing was saved (Empty), or the file and
    // the reason it was not saved (Failed).
    std::optional<recording::Notice> notice;
};

// Asks for the file (the dialog starts at saveFileName, which then holds
// the choice); a cancelled dialog or a choice without a file title writes
// nothing, and an empty list is not offered for saving at all. What is
// written are the records as they were when SAVE was chosen, whatever
// happens to the list while the dialog is open. The file is written whole through a temporary file and only
// then takes the place of the old one, so a failed save leaves an existing
// file as it was. `busy(true)` and `busy(false)` frame the writing.
SaveOutcome saveRecordList(platform::Dialogs &dialogs, const recording::RecordListModel &list,
                           common::SharedValues &shared, const std::function<void(bool)> &busy = {});

} // namespace reclist
