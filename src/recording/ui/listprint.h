#pragma once

#include <QString>

class QAction;

namespace live {
class PANEL;
}

namespace recording {

class RecordListModel;

// PRINT of a record list window (the opened-file list and the
// downloaded-record list): shows the busy pointer and holds the panel's
// Timer1 off while the list prints, disables `printAction` meanwhile so the
// printout cannot start twice. A printer failure and a printout stopped
// part way (the list closed or replaced, the program ending) send nothing
// and are told in a message. A cancelled print dialog does nothing.
void printListWindow(live::PANEL &panel, const RecordListModel &list, const QString &documentName,
                     QAction *printAction);

} // namespace recording
