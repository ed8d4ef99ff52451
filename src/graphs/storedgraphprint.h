#pragma once

#include "graphs/storedgraph.h"

#include <QString>

namespace platform {
class Printer;
}

namespace graphs {

struct GraphPrintOutcome
{
    enum class Status { Printed, Cancelled, Failed };
    Status status = Status::Printed;
    QString errorText; // why it failed
};

// PRINT of a stored-data graph window: the window's picture on one page, at
// its size in twips (the printer's resolution / 1440 dots a twip), from the
// printable area's top left corner. The job is named after the window.
GraphPrintOutcome printStoredGraph(platform::Printer &printer, const StoredGraphScene &scene);

} // namespace graphs
