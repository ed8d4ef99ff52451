#pragma once

#include "common/sharedvalues.h"
#include "graphs/ui/storedgraphwindow.h"

namespace platform {
class Timer;
}

namespace graphs {

// The graph of a downloaded set, "REC_GRAPH": the twin of MEMORY_GRAPH,
// drawn by the same window and routine with REC_GRAPH's design
// (recGraphDesign(): label places, the unit shown as it is, range cells
// matched by containment). It plots the records recFirst..recLast of the
// record list with recMin on the centre line and scaleMax on the top line,
// spaced by recCount as the list or the range window set it; it owns none
// of that. A redraw does nothing when recCount is 1.
//
// A redraw holds the main window's polling timer off while it reads the
// list (and puts it back as it found it, so a redraw in the middle of a
// memory exchange does not start the polling under it), and asks for the
// list grid to be hidden meanwhile (readingList) and shown again
// (redrawn). LIMIT only asks for the range window (limitRequested).
class REC_GRAPH : public StoredGraphWindow
{
    Q_OBJECT
public:
    REC_GRAPH(const platform::Platform &platform, common::SharedValues &shared,
              platform::Timer &timer6, QWidget *parent = nullptr);

    // The caption of the top value label LblValTop (empty before a redraw).
    QString LblValTopText() const;

Q_SIGNALS:
    // A redraw starts reading the list grid: hide it.
    void readingList();

protected:
    std::optional<StoredGraphSelection> selectionForRedraw() override;
    void beforeDrawing() override;
    void afterDrawing() override;

private:
    common::SharedValues &shared_;
    platform::Timer &timer6_;
    bool pollingBefore_ = false;
};

} // namespace graphs
