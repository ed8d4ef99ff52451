#pragma once

#include "recording/readingstatistics.h"

#include <QObject>

#include <functional>

class QAction;
class QMainWindow;

namespace platform {
class Dialogs;
}

namespace recording {

class RangeWindow;
class RecordListModel;

// EXPORT and STATISTICS of a record list window (MEMORYLIST, REC_LIST): the
// two menus it adds to the window and what they do. Both work on the span
// the list's range window holds while that window is open, else on every
// row; an empty list gets a message instead of an empty file.
class ListTools : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        QMainWindow &window;
        const RecordListModel &list;
        platform::Dialogs &dialogs;
        std::function<const RangeWindow *()> openRange; // null while the range window is closed
    };

    explicit ListTools(const Parts &parts, QObject *parent = nullptr);

    // The rows EXPORT and STATISTICS take now.
    RowSpan span() const;

    void onExport();
    void onStatistics();

    QAction *MNUEXPORT;
    QAction *MNUSTATISTICS;

private:
    bool saysEmpty(const QString &title);

    Parts parts_;
    QString lastName_ = QStringLiteral("records.csv");
};

} // namespace recording
