#include "graphs/storedgraphprint.h"

#include "platform/printer.h"

#include <QPainter>

namespace graphs {

namespace {
constexpr double twipsPerInch = 1440;
}

GraphPrintOutcome printStoredGraph(platform::Printer &printer, const StoredGraphScene &scene)
{
    QPainter *painter = printer.begin(scene.design.caption);
    if (!painter) {
        if (printer.errorText().isEmpty())
            return {GraphPrintOutcome::Status::Cancelled, {}};
        return {GraphPrintOutcome::Status::Failed, printer.errorText()};
    }
    painter->save();
    painter->translate(printer.pageRect().topLeft());
    paintStoredGraph(*painter, scene, printer.resolution() / twipsPerInch);
    painter->restore();
    if (!printer.end()) {
        QString reason = printer.errorText();
        if (reason.isEmpty())
            reason = QStringLiteral("The printer stopped.");
        return {GraphPrintOutcome::Status::Failed, reason};
    }
    return {GraphPrintOutcome::Status::Printed, {}};
}

} // namespace graphs
