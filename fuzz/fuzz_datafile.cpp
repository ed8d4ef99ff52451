// The data-file reader fed any file, read as OPEN FILE reads it. Checked: an
// item a row, the same rows however the parse is chunked; no cell holds a tab
// or line end; list SAVE reads back the same (but cells holding a quote); the
// printout, GRAPH and the range window work on any rows, the trace on the axes.

#include "fuzz/simulatedline.h"

#include "common/numbers.h"
#include "graphs/storedgraph.h"
#include "graphs/storedgraphdesign.h"
#include "graphs/storedgraphtrace.h"
#include "recording/datafilereader.h"
#include "recording/datafilewriter.h"
#include "recording/listprintout.h"
#include "recording/memoryselection.h"
#include "recording/recordlistmodel.h"
#include "recording/rowindexing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace fuzz {

namespace {

using recording::RecordListModel;

QString scratchFile(const char *name)
{
    return QDir::temp().filePath(QStringLiteral("meterlink-fuzz-%1-%2.dat").arg(QCoreApplication::applicationPid()).arg(name));
}

QString checkRows(QByteArrayView input, const RecordListModel &list)
{
    for (qsizetype chunk : {1, 7, 64}) {
        recording::RowStarts starts;
        recording::RowIndexing how;
        how.chunkBytes = chunk;
        bool same = recording::indexRows(input, how, starts, nullptr) == list.recordCount();
        for (qsizetype i = 0; same && i < starts.size(); ++i)
            same = recording::splitCells(input.sliced(starts[i], recording::itemEnd(input, starts[i]) - starts[i])) == list.rowCells(i + 1);
        if (!same)
            return QStringLiteral("chunks of %1 bytes change the rows").arg(chunk);
    }
    const QString saved = scratchFile("saved");
    QString error;
    if (!recording::replaceFile(saved, recording::listFileBytes(list), &error))
        return QStringLiteral("list SAVE failed: ") + error;
    RecordListModel again;
    const recording::ReadOutcome outcome = recording::filelistu(again, saved);
    QFile::remove(saved);
    if (!outcome.complete || again.recordCount() != list.recordCount())
        return QStringLiteral("%1 rows saved, %2 read back").arg(list.recordCount()).arg(again.recordCount());
    for (int row = 1; row <= list.recordCount(); ++row) {
        const auto cells = list.rowCells(row);
        const auto has = [&](char c) { return std::any_of(cells.begin(), cells.end(), [c](QLatin1StringView cell) { return cell.contains(QLatin1Char(c)); }); };
        if (has('\t') || has('\r') || has('\n'))
            return QStringLiteral("row %1 has a cell with a tab or a line end").arg(row);
        if (!has('"') && again.rowCells(row) != cells)
            return QStringLiteral("row %1 reads back changed after SAVE").arg(row);
    }
    return {};
}

// The trace of the opened-file graph for the shared selection, as the graph
// window draws it, on the screen and on a 600 dpi printer.
QString checkTrace(const RecordListModel &list, const common::SharedValues &shared)
{
    const graphs::TraceRequest request{common::roundHalfEven(shared.memFirst), common::roundHalfEven(shared.memLast),
                                       shared.memLast - shared.memFirst + 1, {shared.memMin, shared.memMax},
                                       graphs::memoryGraphDesign().rangeMatch};
    for (double pixelsPerTwip : {1.0 / 15.0, 600.0 / 1440.0})
        for (const QPointF &point : graphs::storedGraphTrace(list, request, pixelsPerTwip))
            if (!(point.y() >= graphs::aboveTop && point.y() <= graphs::belowBottom) || !(point.x() >= graphs::timeAxisStart))
                return QStringLiteral("trace point (%1, %2) off the graph").arg(point.x()).arg(point.y());
    graphs::StoredGraphScene scene;
    scene.plotted = true;
    scene.list = &list;
    scene.selection = {request.first, request.last, request.count, shared.memMin, shared.memMax,
                       shared.memTimeFirst, shared.memTimeMid, shared.memTimeLast};
    graphs::storedGraphLabels(scene);
    return {};
}

} // namespace

QString checkDataFile(QByteArrayView input)
{
    const QString fileName = scratchFile("input");
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(input.data(), input.size()) != input.size())
        return {}; // no room for the file: nothing to learn
    file.close();
    RecordListModel list;
    const recording::ReadOutcome outcome = recording::filelistu(list, fileName);
    QFile::remove(fileName);
    if (!outcome.complete || outcome.rowsAdded != list.recordCount() || input.isEmpty() != (list.recordCount() == 0))
        return QStringLiteral("%1 bytes gave %2 rows (%3 added): %4")
            .arg(input.size()).arg(list.recordCount()).arg(outcome.rowsAdded).arg(outcome.errorText);
    if (QString finding = checkRows(input, list); !finding.isEmpty() || list.recordCount() == 0)
        return finding;
    for (int row = 1; row <= list.recordCount(); ++row)
        recording::printoutLine(list.rowCells(row));
    common::SharedValues shared;
    if (recording::prepareMemoryGraph(list, shared))
        return {}; // "Only 1 Record !"
    if (QString finding = checkTrace(list, shared); !finding.isEmpty())
        return finding;
    // The range window, its boxes typed from the texts of the rows.
    const recording::RangeBoxes boxes{list.cell(2, 0), list.cell(3, 0), list.cell(2, 3), list.cell(3, 3)};
    return recording::applyMemoryRange(boxes, list, shared) ? QString() : checkTrace(list, shared);
}

} // namespace fuzz

METERLINK_FUZZ_TARGET(fuzz::checkDataFile)
