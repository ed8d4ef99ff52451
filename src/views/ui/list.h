#pragma once

#include "views/listrows.h"

#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;

namespace live {
class PANEL;
}

namespace views {

// "LIST": the live readings as a running list, newest at the bottom and
// framed, each line prefixed with the date. The panel writes one text per
// sampling time into the hidden Text1. Closing the window clears
// listFeedOn, so the panel stops feeding it.
class LIST : public QWidget
{
    Q_OBJECT
public:
    explicit LIST(live::PANEL &panel, QWidget *parent = nullptr);
    ~LIST() override;

    // Opening: beside the panel when the live graph is open, below it
    // otherwise; row 0 blank.
    void load();

    // Text1 changed: a new line (none for the empty text).
    void onText1Change();

    // Height of one row: the text height of a blank, plus its frame.
    int rowHeight() const;
    const ListRows &rows() const { return rows_; }

    QLabel *ListLabel; // column captions
    QLabel *Label1;    // a sample line
    std::vector<QLabel *> Lbl; // row 0, row 1, ...
    QLineEdit *Text1;

Q_SIGNALS:
    // The window was closed; it is destroyed soon after.
    void unloaded();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void onResize();
    void showRows();
    QLabel *makeRow();

    live::PANEL &panel_;
    ListRows rows_;
};

} // namespace views
