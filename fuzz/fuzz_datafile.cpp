// The data-file reader fed any file, written out and read back as OPEN FILE
// reads it. Checked: every item becomes one row, the same rows whatever the
// chunks the parse is cut into; no cell holds a tab or a line end; the list
// SAVE reads back as the same cells (but for cells holding a quote); a
// recorded line built from the first row's texts reads back as its fields
// (unless a text holds a comma); the printout lines, GRAPH and the range
// window's apply work on any rows, every trace point on the graph's axes.

#include "fuzz/simulatedline.h"

#include "graphs/storedgraph.h"
#include "graphs/storedgraphdesign.h"
#include "graphs/storedgraphtrace.h"
#include "recording/datafileformat.h"
#include "recording/datafilereader.h"
#include "recording/datafilewriter.h"
#include "recording/listprintout.h"
#include "recording/memoryselection.h"
#include "recording/recordlistmodel.h"
#include "recording/rowindexing.h"

#include "common/numbers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace fuzz {

namespace {

QString scratchFile(const char *name)
{
    return QDir::temp().filePath(
        QStringLiteral("meterlink-fuzz-%1-%2.dat").arg(QCoreApplication::applicationPid()).arg(name));
}

bool writeFile(const QString &fileName, QByteArrayView bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(bytes.data(), bytes.size()) == bytes.size();
}

bool holdsQuote(const recording::RecordListModel::Cells &cells)
{
    for (QLatin1StringView cell : cells) {
        if (cell.contains(QLatin1Char('"')))
            return true;
    }
    return false;
}

QString checkCells(const recording::RecordListModel &list)
{
    for (int row = 1; row <= list.recordCount(); ++row) {
        for (QLatin1StringView cell : list.rowCells(row)) {
            for (char c : {'\t', '\r', '\n'}) {
                if (cell.contains(QLatin1Char(c)))
                    return QStringLiteral("row %1 has a cell with character %2").arg(row).arg(int(c));
            }
        }
    }
    return {};
}

QString checkChunks(QByteArrayView input, const recording::RecordListModel &list)
{
    for (qsizetype chunk : {1, 7, 64}) {
        recording::RowStarts starts;
        recording::RowIndexing how;
        how.chunkBytes = chunk;
        if (recording::indexRows(input, how, starts, nullptr) != list.recordCount())
            return QStringLiteral("chunks of %1 bytes give %2 rows, not %3")
                .arg(chunk).arg(starts.size()).arg(list.recordCount());
        for (qsizetype i = 0; i < starts.size(); ++i) {
            const qsizetype begin = starts[i];
            const QByteArrayView item = input.sliced(begin, recording::itemEnd(input, begin) - begin);
            if (recording::splitCells(item) != list.rowCells(i + 1))
                return QStringLiteral("chunks of %1 bytes change row %2").arg(chunk).arg(i + 1);
        }
    }
    return {};
}

QString checkSaveRoundTrip(const recording::RecordListModel &list)
{
    const QString saved = scratchFile("saved");
    QString error;
    if (!recording::replaceFile(saved, recording::listFileBytes(list), &error))
        return QStringLiteral("list SAVE failed: ") + error;
    recording::RecordListModel again;
    const recording::ReadOutcome outcome = recording::filelistu(again, saved);
    QFile::remove(saved);
    if (!outcome.complete || again.recordCount() != list.recordCount())
        return QStringLiteral("%1 rows saved, %2 read back").arg(list.recordCount()).arg(again.recordCount());
    for (int row = 1; row <= list.recordCount(); ++row) {
        const auto cells = list.rowCells(row);
        if (!holdsQuote(cells) && again.rowCells(row) != cells)
            return QStringLiteral("row %1 reads back changed after SAVE").arg(row);
    }
    return {};
}

QString checkRecordedLine(const recording::RecordListModel &list)
{
    const auto cells = list.rowCells(1);
    const recording::PanelTexts texts{QString(cells[3]), QString(cells[4]), QString(cells[5]),
                                      QString(cells[6]), QString(cells[7])};
    for (const QString *text : {&texts.value, &texts.function, &texts.range, &texts.acDc}) {
        if (text->contains(QLatin1Char(',')))
            return {};
    }
    const QDateTime when(QDate(2026, 5, 31), QTime(14, 3, 7));
    const common::DataRecord record = recording::recordedRecord(list.recordCount(), when, texts);
    const QByteArray line = recording::recordedLine(record);
    if (!line.endsWith("\r\n"))
        return QStringLiteral("recorded line without CR LF");
    recording::RecordListModel again;
    if (again.appendFileText(line) != 1)
        return QStringLiteral("recorded line reads back as %1 rows").arg(again.recordCount());
    if (again.record(1) != record)
        return QStringLiteral("recorded line reads back changed: ") + QString::fromLatin1(line);
    return {};
}

// The trace of the opened-file graph for the shared selection, as the
// graph window draws it, on the screen and on a 600 dpi printer.
QString checkTrace(const recording::RecordListModel &list, const common::SharedValues &shared)
{
    const graphs::TraceRequest request{common::roundHalfEven(shared.memFirst),
                                       common::roundHalfEven(shared.memLast),
                                       shared.memLast - shared.memFirst + 1,
                                       {shared.memMin, shared.memMax},
                                       graphs::memoryGraphDesign().rangeMatch};
    for (double pixelsPerTwip : {1.0 / 15.0, 600.0 / 1440.0}) {
        const QPolygonF trace = graphs::storedGraphTrace(list, request, pixelsPerTwip);
        for (const QPointF &point : trace) {
            if (!(point.y() >= graphs::aboveTop && point.y() <= graphs::belowBottom)
                || !(point.x() >= graphs::timeAxisStart))
                return QStringLiteral("trace point (%1, %2) off the graph").arg(point.x()).arg(point.y());
        }
    }
    graphs::StoredGraphScene scene;
    scene.plotted = true;
    scene.list = &list;
    scene.selection = {request.first, request.last, request.count, shared.memMin, shared.memMax,
                       shared.memTimeFirst, shared.memTimeMid, shared.memTimeLast};
    graphs::storedGraphLabels(scene);
    return {};
}

QString checkOpenedFileWork(const recording::RecordListModel &list)
{
    for (int row = 1; row <= list.recordCount(); ++row)
        recording::printoutLine(list.rowCells(row));
    common::SharedValues shared;
    if (recording::prepareMemoryGraph(list, shared))
        return {}; // "Only 1 Record !"
    if (QString finding = checkTrace(list, shared); !finding.isEmpty())
        return finding;
    // The range window, its boxes typed from the texts of the rows.
    const recording::RangeBoxes boxes{list.cell(2, 0), list.cell(3, 0), list.cell(2, 3), list.cell(3, 3)};
    if (recording::applyMemoryRange(boxes, list, shared))
        return {}; // refused, with a message
    return checkTrace(list, shared);
}

} // namespace

QString checkDataFile(QByteArrayView input)
{
    const QString fileName = scratchFile("input");
    if (!writeFile(fileName, input))
        return {}; // no room for the file: nothing to learn
    recording::RecordListModel list;
    const recording::ReadOutcome outcome = recording::filelistu(list, fileName);
    QFile::remove(fileName);
    if (!outcome.complete)
        return QStringLiteral("reading stopped: ") + outcome.errorText;
    if (outcome.rowsAdded != list.recordCount())
        return QStringLiteral("%1 rows added, %2 in the list").arg(outcome.rowsAdded).arg(list.recordCount());
    if (input.isEmpty() != (list.recordCount() == 0))
        return QStringLiteral("%1 bytes gave %2 rows").arg(input.size()).arg(list.recordCount());
    if (QString finding = checkCells(list); !finding.isEmpty())
        return finding;
    if (QString finding = checkChunks(input, list); !finding.isEmpty())
        return finding;
    if (list.recordCount() == 0)
        return {};
    if (QString finding = checkSaveRoundTrip(list); !finding.isEmpty())
        return finding;
    if (QString finding = checkRecordedLine(list); !finding.isEmpty())
        return finding;
    return checkOpenedFileWork(list);
}

} // namespace fuzz

METERLINK_FUZZ_TARGET(fuzz::checkDataFile)
