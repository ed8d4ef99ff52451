#pragma once

#include "common/sharedvalues.h"
#include "graphs/storedgraph.h"
#include "platform/platform.h"

#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <optional>

class QAction;

namespace recording {
class RecordListModel;
}

namespace graphs {

// A stored-data graph window (MEMORY_GRAPH, and its twin REC_GRAPH): the
// fixed drawing of storedgraph.h in a window with the menus PRINT and LIMIT.
// The window owns none of what it plots: each redraw asks the subclass for
// the selection (from the shared values) and reads the list's cells again.
//
// Life: open() loads a closed window (moved to the screen's top left
// corner, drawn as designed) and shows it; the first showing and every
// resize redraw it; a window already open is redrawn when opened again.
// Closing only hides it; the next open() loads it afresh.
//
// LIMIT only asks for the range window (limitRequested); whoever owns that
// window fills and shows it.
class StoredGraphWindow : public QMainWindow
{
    Q_OBJECT
public:
    StoredGraphWindow(const StoredGraphDesign &design, const platform::Platform &platform,
                      QWidget *parent = nullptr);
    ~StoredGraphWindow() override;

    // The list grid the graph reads.
    void setList(const recording::RecordListModel *list);

    void open();
    bool isOpen() const { return loaded_; }

    // Draws the picture again from selectionForRedraw(); when that gives
    // nothing, the window stays exactly as it is.
    void redraw();

    // PRINT: the current picture on the printer; failures are told.
    void print();
    // SAVE IMAGE: the current picture to a PNG, SVG or PDF file chosen in
    // the save dialog, painted again by the routine the window uses.
    void saveImage();

    const StoredGraphScene &scene() const { return scene_; }
    // The picture the window shows now.
    const QImage &picture() const { return picture_; }

    QAction *MnuPrint;
    QAction *MnuLimit;
    QAction *MnuSaveImage;

Q_SIGNALS:
    // LIMIT was chosen: the range window is wanted.
    void limitRequested();
    // A redraw finished; the list grid it read is to be shown.
    void redrawn();
    void closed();

protected:
    // What to plot now, or nothing to leave the window as it is.
    virtual std::optional<StoredGraphSelection> selectionForRedraw() = 0;
    // Around the reading and drawing of a redraw (REC_GRAPH holds the
    // panel's polling off and hides its list meanwhile); afterDrawing()
    // runs once redrawn() has been announced.
    virtual void beforeDrawing() {}
    virtual void afterDrawing() {}

    const platform::Platform &platform() const { return platform_; }

    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    class Canvas;
    void load();

    const platform::Platform &platform_;
    QPointer<const recording::RecordListModel> list_;
    StoredGraphScene scene_;
    QImage picture_;
    Canvas *canvas_;
    bool loaded_ = false;
    bool shownSinceLoad_ = false;
    QString imageName_;
};

} // namespace graphs
