#pragma once

#include "common/sharedvalues.h"
#include "graphs/ui/storedgraphwindow.h"

namespace graphs {

// The graph of an opened data file, "MEMORY_GRAPH": records memFirst to
// memLast of the opened-file list, memMin on the centre line, memMax on the
// top line, the three memTime texts below the time axis. A redraw does
// nothing when memCount is 1; otherwise it first sets memCount to
// memLast - memFirst + 1 and spaces the records by that count.
class MEMORY_GRAPH : public StoredGraphWindow
{
    Q_OBJECT
public:
    MEMORY_GRAPH(const platform::Platform &platform, common::SharedValues &shared,
                 QWidget *parent = nullptr);

protected:
    std::optional<StoredGraphSelection> selectionForRedraw() override;

private:
    common::SharedValues &shared_;
};

} // namespace graphs
