#include "views/listrows.h"

#include "common/numbers.h"

namespace views {

namespace {
const QString blankCaption = QStringLiteral(" ");
} // namespace

ListRows::ListRows()
    : captions_{blankCaption}
{
}

void ListRows::resize(int clientHeight, int rowHeight)
{
    rowsMax_ = clientHeight / (rowHeight > 0 ? rowHeight : 1) - 3;
    while (rowCount() <= rowsMax_)
        captions_.append(blankCaption);

    if (rowNext_ > lastVisibleRow()) {
        scrollUp(rowNext_ - lastVisibleRow());
        rowNext_ = lastVisibleRow();
        if (framedRow_ >= 0)
            framedRow_ = rowNext_;
    }
}

void ListRows::scrollUp(int rows)
{
    for (int i = 0; i < rowCount(); ++i)
        captions_[i] = i + rows < rowCount() ? captions_[i + rows] : blankCaption;
}

void ListRows::addLine(const QString &text, const QDate &date, QChar dateSeparator)
{
    if (text.isEmpty())
        return;
    if (rowNext_ == rowsMax_ && rowsMax_ > 0) {
        for (int i = 0; i < rowsMax_; ++i)
            captions_[i] = captions_[i + 1];
    }
    if (rowNext_ < rowsMax_)
        ++rowNext_;
    framedRow_ = rowNext_;
    captions_[rowNext_] =
        common::formatDate(date, u"yy/mm/dd", dateSeparator) + QLatin1Char(' ') + text;
}

} // namespace views
