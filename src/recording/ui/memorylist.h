#pragma once

#include "recording/recordlistmodel.h"

#include <QMainWindow>

class QAction;
class QTableView;

namespace recording {

// The opened-file list "MEMORYLIST": the records of the data files opened
// with OPEN FILE under the caption row, in a monospace font, with the menus
// PRINT and GRAPH. Thin: what the menus do belongs to its controller.
class MEMORYLIST : public QMainWindow
{
    Q_OBJECT
public:
    explicit MEMORYLIST(QWidget *parent = nullptr);
    ~MEMORYLIST() override;

    // Creation: an empty list with its caption row and column widths.
    void create();

    RecordListModel &list() { return list_; }
    const RecordListModel &list() const { return list_; }

    QTableView *Grid1;
    QAction *MnuPrint;
    QAction *MNUGRAPH;

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    RecordListModel list_;
};

} // namespace recording
