#pragma once

#include "graphs/livegraphchart.h"

#include <QWidget>

class QAction;
class QLineEdit;
class QMenu;
class QMenuBar;

namespace live {
class PANEL;
}

namespace graphs {

class GGraphView;

// "Recording Meter  --  Graphic Display": the live strip chart. The panel
// writes each reading into the hidden Text1 (first the empty text, then
// the number); the chart then reads the panel's value, range, time and
// link labels and sweeps one column on. Closing the window clears
// graphFeedOn, so the panel stops feeding it.
class G_GRAPH : public QWidget
{
    Q_OBJECT
public:
    explicit G_GRAPH(live::PANEL &panel, QWidget *parent = nullptr);
    ~G_GRAPH() override;

    // The opening actions: under the panel, grid colour 7, next reading in
    // column 0. Call before the first show.
    void load();

    // Full redraw of the chart for the current client area (nothing while
    // minimised); gives the panel the focus.
    void fullRedraw();

    // Text1 changed: plots the panel's reading (restarting the chart first
    // when the range changed). Empty texts are ignored.
    void onText1Change();

    // Menu commands.
    void onPgraphicsClick(); // "&Print": prints the picture, back to the panel
    void onSaveImageClick(); // "Save &Image": the picture to a PNG, SVG or PDF file
    void onYmaxClick();
    void onYminClick();

    QSize clientSize() const;
    const LiveGraphChart &chart() const { return chart_; }
    GGraphView *clientArea() const { return view_; }

    QLineEdit *Text1;
    QMenuBar *menuBar;
    QAction *Pgraphics; // "&Print"
    QAction *SaveImage; // "Save &Image"
    QMenu *SetScale;    // "&Scale"
    QAction *Ymin;
    QAction *Ymax;

Q_SIGNALS:
    // The window was closed; it is destroyed soon after.
    void unloaded();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void moveUnderPanel();
    void activatePanel();
    ChartLook look() const;
    PanelTexts panelTexts() const;

    live::PANEL &panel_;
    LiveGraphChart chart_;
    GGraphView *view_;
};

} // namespace graphs
