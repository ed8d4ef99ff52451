#pragma once

#include <QPoint>
#include <QRect>

// Where the live views open, from the outer frames of the windows already
// on the screen (the panel sits at the top left corner).

namespace views {

// The live list: beside the panel when the live graph is open (the graph
// takes the space below the panel), below the panel otherwise.
QPoint listPosition(const QRect &panelFrame, bool graphOpen);

// The dial: below the live list, at the panel's left edge, when the list
// is fed (listFrame is its outer frame); beside the panel otherwise.
QPoint analogPosition(const QRect &panelFrame, const QRect *listFrame);

} // namespace views
