#pragma once

#include <QChar>
#include <QDate>
#include <QList>
#include <QString>

namespace views {

// The lines of the live list: row 0, row 1, ... as many as the window has
// room for, newest at the bottom, the newest one framed. When the list is
// full every new line moves the others up by one.
class ListRows
{
public:
    ListRows();

    // The window's client height and the height of one row changed:
    // rowsMax = height / rowHeight - 3 (whole rows; header lines and a
    // spare), and rows 1 .. rowsMax exist from now on, new ones blank. Rows
    // never go away. When the newest line no longer fits, the lines move up
    // so that it is in the last row that fits.
    void resize(int clientHeight, int rowHeight);

    // A text from the panel: the date of its time ("yy/mm/dd" with the
    // separator), one blank and the text become the newest line. An empty
    // text adds nothing.
    void addLine(const QString &text, const QDate &date, QChar dateSeparator);

    int rowsMax() const { return rowsMax_; }
    int rowNext() const { return rowNext_; }
    // Rows created so far (at least row 0).
    int rowCount() const { return static_cast<int>(captions_.size()); }
    QString caption(int row) const { return captions_.value(row); }
    // The framed row, -1 before the first line.
    int framedRow() const { return framedRow_; }

private:
    void scrollUp(int rows);
    // The last row that fits (row 0 when none does).
    int lastVisibleRow() const { return rowsMax_ > 0 ? rowsMax_ : 0; }

    QList<QString> captions_;
    int rowsMax_ = 0;
    int rowNext_ = 0;
    int framedRow_ = -1;
};

} // namespace views
