#pragma once

#include "views/dialpicture.h"

#include <QWidget>

class QLabel;
class QLineEdit;

namespace live {
class PANEL;
}

namespace views {

// "Recording Meter  --  Analog display": the live reading as a needle on a
// centre-zero dial scaled to the panel's range. The panel writes the value
// text into the hidden Text1 after every frame; each change moves the
// needle. A change of function or range redraws the whole dial.
class ANALOG : public QWidget
{
    Q_OBJECT
public:
    explicit ANALOG(live::PANEL &panel, QWidget *parent = nullptr);
    ~ANALOG() override;

    // Opening: placed below the live list (its outer frame, when the list
    // is fed) or beside the panel; shown; the labels take the panel's
    // function and range.
    void load(const QRect *listFrame);

    // The full redraw. Not while minimised, nor while the link is lost: a
    // redraw held off then is made after the next frame the panel shows.
    void redraw();
    // Text1 changed: the needle.
    void onText1Change();

    // Label1 / Label2 take a text; a change redraws the dial.
    void setLabel1(const QString &text);
    void setLabel2(const QString &text);

    const DialPicture &picture() const { return picture_; }

    QLabel *Label1; // function, top left
    QLabel *Label2; // range, top right
    QLineEdit *Text1;

Q_SIGNALS:
    // The window was closed; it is destroyed soon after.
    void unloaded();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool setCaption(QLabel *label, const QString &text);
    void copyPanelLabels();
    void needle();
    void placeLabel2();
    DialLook look() const;

    void onFrameShown();

    live::PANEL &panel_;
    DialPicture picture_;
    bool redrawing_ = false;
    bool redrawDue_ = false;
};

} // namespace views
