#pragma once

#include "common/sharedvalues.h"
#include "graphs/storedgraph.h"
#include "platform/platform.h"

#include <QImage>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;

namespace platform {
class Timer;
}
namespace recording {
class RecordListModel;
}

namespace graphs {

// The graph of a downloaded set, "REC_GRAPH": the twin of MEMORY_GRAPH,
// drawn by the same routine with REC_GRAPH's design (recGraphDesign():
// label places, the unit shown as it is, range cells matched by
// containment). It plots the records recFirst..recLast of the record list
// with recMin on the centre line and scaleMax on the top line, spaced by
// recCount as the list or the range window set it; it owns none of that.
//
// A redraw holds the main window's polling timer off while it reads the
// list (and puts it back as it found it, so a redraw in the middle of a
// memory exchange does not start the polling under it), and asks for the
// list grid to be hidden meanwhile (readingList) and shown again
// (redrawn). LIMIT only asks for the range window (limitRequested).
class REC_GRAPH : public QMainWindow
{
    Q_OBJECT
public:
    REC_GRAPH(const platform::Platform &platform, common::SharedValues &shared,
              platform::Timer &timer6, QWidget *parent = nullptr);
    ~REC_GRAPH() override;

    // The list grid the graph reads (REC_LIST's rows).
    void setList(const recording::RecordListModel *list);

    // Shows the graph. A closed window is loaded again first (moved to the
    // screen's top left corner, drawn as designed) and its first showing
    // redraws it; an open one is redrawn at once.
    void open();
    bool isOpen() const { return loaded_; }

    // The redraw: nothing at all when recCount is 1; otherwise the picture
    // drawn again from the shared values and the list.
    void redraw();

    // PRINT: the current picture on the printer; failures are told.
    void print();

    // The caption of the top value label LblValTop (empty before a redraw).
    QString LblValTopText() const;

    const StoredGraphScene &scene() const { return scene_; }
    const QImage &picture() const { return picture_; }

    QAction *MnuPrint;
    QAction *MnuLimit;

Q_SIGNALS:
    void limitRequested();
    // A redraw starts reading the list grid: hide it.
    void readingList();
    // The redraw is done: the grid may be shown again.
    void redrawn();
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void load();
    void showPicture();

    const platform::Platform &platform_;
    common::SharedValues &shared_;
    platform::Timer &timer6_;
    QPointer<const recording::RecordListModel> list_;
    StoredGraphScene scene_;
    QImage picture_;
    QLabel *canvas_;
    bool loaded_ = false;
    bool shownSinceLoad_ = false;
};

} // namespace graphs
