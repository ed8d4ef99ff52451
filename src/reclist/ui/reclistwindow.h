#pragma once

#include "recording/recordlistmodel.h"
#include "recording/ui/recordgrid.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QTableView;

namespace reclist {

// Width samples of the record list's columns: those of the opened-file
// list but "50M Ohm" for the range and "LOW" for the battery.
recording::WidthSamples recordListWidthSamples();

// The downloaded-record list "REC_LIST": the records of one downloaded set
// under the caption row, in Arial (Liberation Sans), the panel SSPANEL1
// above them, and the menus SAVE, PRINT and GRAPH. It shares the
// opened-file list's model and grid set-up. Thin: the download fills it
// and its controller does what the menus ask.
class REC_LIST : public QMainWindow
{
    Q_OBJECT
public:
    // Where the window is put when it is made: left 2715, top 960 twips.
    static constexpr QPoint createdAt{2715 / 15, 960 / 15};

    explicit REC_LIST(QWidget *parent = nullptr);
    ~REC_LIST() override;

    // Creation: an empty list with its caption row and column widths,
    // moved to createdAt, the panel empty.
    void create();

    // Makes grid row `row` (record `row`; 0 is the caption row) current.
    void setCurrentRow(qint64 row);

    recording::RecordListModel &list() { return list_; }
    const recording::RecordListModel &list() const { return list_; }

    QTableView *Grid1;
    QLabel *SSPANEL1;
    QAction *MNUSAVE;
    QAction *MnuPrint;
    QAction *MNUGRAPH;

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    recording::RecordListModel list_;
};

} // namespace reclist
