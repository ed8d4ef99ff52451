#pragma once

#include "common/sharedvalues.h"
#include "graphs/storedgraph.h"
#include "platform/platform.h"

#include <QImage>
#include <QMainWindow>
#include <QPointer>

class QAction;

namespace recording {
class RecordListModel;
}

namespace graphs {

// The graph of an opened data file, "MEMORY_GRAPH": a line through the
// records memFirst..memLast of the opened-file list, with memMin on the
// centre line and memMax on the top line. It owns none of that: each redraw
// reads the shared mem* values and the list's cells again.
//
// LIMIT only asks for the range window (limitRequested); whoever owns that
// window fills and shows it.
class MEMORY_GRAPH : public QMainWindow
{
    Q_OBJECT
public:
    MEMORY_GRAPH(const platform::Platform &platform, common::SharedValues &shared,
                 QWidget *parent = nullptr);
    ~MEMORY_GRAPH() override;

    // The list grid the graph reads (MEMORYLIST's rows).
    void setList(const recording::RecordListModel *list);

    // Shows the graph. A closed window is loaded again first: moved to the
    // screen's top left corner and drawn as designed; its first showing
    // redraws it. A window that is open already is redrawn at once, so it
    // never shows an older selection than the shared values hold.
    void open();
    bool isOpen() const { return loaded_; }

    // The redraw: nothing at all when memCount is 1; otherwise memCount
    // becomes memLast - memFirst + 1 and the picture is drawn again from the
    // shared values and the list.
    void redraw();

    // PRINT: the current picture on the printer; failures are told.
    void print();

    const StoredGraphScene &scene() const { return scene_; }
    // The picture the window shows now.
    const QImage &picture() const { return picture_; }

    QAction *MnuPrint;
    QAction *MnuLimit;

Q_SIGNALS:
    // LIMIT was chosen: the range window is wanted.
    void limitRequested();
    // A redraw finished; the list grid it read is to be shown.
    void redrawn();
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    class Canvas;
    void load();

    const platform::Platform &platform_;
    common::SharedValues &shared_;
    QPointer<const recording::RecordListModel> list_;
    StoredGraphScene scene_;
    QImage picture_;
    Canvas *canvas_;
    bool loaded_ = false;
    bool shownSinceLoad_ = false;
};

} // namespace graphs
