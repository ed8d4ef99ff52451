#include "views/placement.h"

namespace views {

QPoint listPosition(const QRect &panelFrame, bool graphOpen)
{
    if (graphOpen)
        return QPoint(panelFrame.width(), 0);
    return QPoint(0, panelFrame.height());
}

QPoint analogPosition(const QRect &panelFrame, const QRect *listFrame)
{
    if (listFrame)
        return QPoint(panelFrame.left(), listFrame->top() + listFrame->height());
    return QPoint(panelFrame.width(), 0);
}

} // namespace views
