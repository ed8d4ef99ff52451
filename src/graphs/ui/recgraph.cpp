#include "graphs/ui/recgraph.h"

#include "common/numbers.h"
#include "platform/timer.h"

namespace graphs {

REC_GRAPH::REC_GRAPH(const platform::Platform &platform, common::SharedValues &shared,
                     platform::Timer &timer6, QWidget *parent)
    : StoredGraphWindow(recGraphDesign(), platform, parent)
    , shared_(shared)
    , timer6_(timer6)
{
}

std::optional<StoredGraphSelection> REC_GRAPH::selectionForRedraw()
{
    if (shared_.recCount == 1)
        return std::nullopt;
    return StoredGraphSelection{common::roundHalfEven(shared_.recFirst),
                                common::roundHalfEven(shared_.recLast),
                                shared_.recCount,
                                shared_.recMin,
                                shared_.scaleMax,
                                shared_.recTimeFirst,
                                shared_.recTimeMid,
                                shared_.recTimeLast};
}

void REC_GRAPH::beforeDrawing()
{
    pollingBefore_ = timer6_.isEnabled();
    timer6_.setEnabled(false);
    Q_EMIT readingList();
}

void REC_GRAPH::afterDrawing()
{
    timer6_.setEnabled(pollingBefore_);
}

QString REC_GRAPH::LblValTopText() const
{
    return scene().plotted ? storedGraphLabels(scene()).valTop : QString();
}

} // namespace graphs
