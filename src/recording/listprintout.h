#pragma once

#include "recording/recordlistmodel.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace platform {
class EventPump;
class Printer;
} // namespace platform

// The printout of a record list (the opened-file list and the
// downloaded-record list), in a monospace font:
//
//   line 1  "         Date        Time     Value   Unit       Range      A/D  Bat"
//   line 2  "       --------    --------  -------- ---------  --------   ---  ---"
//   then one line per record: cells 0 to 7, each left-aligned and padded
//   with blanks on the right to 7, 12, 10, 9, 11, 12, 5, 5 characters.
//
// A cell longer than its width is printed whole (the cells after it move
// right). Lists longer than a page go on over as many pages as needed.

namespace recording {

QStringList printoutCaptionLines();
QString printoutLine(const RecordListModel::Cells &cells);

struct PrintOutcome
{
    enum class Status {
        Printed,     // every line was printed
        Cancelled,   // the user cancelled the print dialog
        Failed,      // the printer failed; errorText says why; nothing sent
        Interrupted, // the list was cleared, or the program is ending; nothing sent
    };
    Status status = Status::Printed;
    QString errorText;
    int linesPrinted = 0; // record lines
};

// Prints the records there are when it starts (before the print dialog).
// Between lines it lets pending events run (without pausing), so the
// program stays responsive. When the list is cleared meanwhile (also while
// the print dialog is open) or the program ends, it stops and aborts the
// job, as it does when the printer fails: a cut printout is never sent.
// documentName names the print job (the list window's caption); begun, if
// given, runs once the job has started (after the print dialog).
PrintOutcome printRecordList(const RecordListModel &list, platform::Printer &printer,
                             platform::EventPump &pump, const QString &documentName,
                             const std::function<void()> &begun = {});

} // namespace recording
