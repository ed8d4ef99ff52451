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
    enum class Status { Saved, Cancelled, Failed };
    Status status = Status::Cancelled;
    std::optional<recording::Notice> failure; // names the file and the reason
};

// Asks for the file (the dialog starts at saveFileName, which then holds
// the choice); a cancelled dialog or a choice without a file title writes
// nothing. The file is written whole through a temporary file and only
// then takes the place of the old one, so a failed save leaves an existing
// file as it was. `busy(true)` and `busy(false)` frame the writing.
SaveOutcome saveRecordList(platform::Dialogs &dialogs, const recording::RecordListModel &list,
                           common::SharedValues &shared, const std::function<void(bool)> &busy = {});

} // namespace reclist
