#include "graphs/ui/memorygraph.h"

#include "common/numbers.h"

namespace graphs {

MEMORY_GRAPH::MEMORY_GRAPH(const platform::Platform &platform, common::SharedValues &shared,
                           QWidget *parent)
    : StoredGraphWindow(memoryGraphDesign(), platform, parent)
    , shared_(shared)
{
}

std::optional<StoredGraphSelection> MEMORY_GRAPH::selectionForRedraw()
{
    if (shared_.memCount == 1)
        return std::nullopt;
    shared_.memCount = shared_.memLast - shared_.memFirst + 1;
    return StoredGraphSelection{common::roundHalfEven(shared_.memFirst),
                                common::roundHalfEven(shared_.memLast),
                                shared_.memCount,
                                shared_.memMin,
                                shared_.memMax,
                                shared_.memTimeFirst,
                                shared_.memTimeMid,
                                shared_.memTimeLast};
}

} // namespace graphs
