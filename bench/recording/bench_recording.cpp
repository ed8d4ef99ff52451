// Times OPEN FILE on a big recorded file (until the list is painted), the
// redraw of MEMORY_GRAPH over all its records and over a span, a cell of
// any row, and opening a second, small file into the open list; EXPORT and
// STATISTICS of every row of a big file.

#include "common/sharedvalues.h"
#include "graphs/storedgraphdesign.h"
#include "graphs/storedgraphlevel.h"
#include "graphs/ui/memorygraph.h"
#include "platform/platform.h"
#include "recording/datafileformat.h"
#include "recording/datafilereader.h"
#include "recording/listexport.h"
#include "recording/readingstatistics.h"
#include "recording/memoryselection.h"
#include "recording/rangecheck.h"
#include "recording/ui/memorylist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTableView>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <vector>

namespace {

int generate(const QString &fileName, int lines)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(fileName));
        return 1;
    }
    const QDateTime start(QDate(2024, 1, 15), QTime(0, 0));
    QByteArray chunk;
    for (int i = 1; i <= lines; ++i) {
        const double v = 400 * std::sin(i / 5000.0) + (i * 7919 % 100) / 10.0;
        const QString value = i % 50000 == 0 ? QStringLiteral("OL") : QString::number(v, 'f', 2);
        const recording::PanelTexts texts{value, QStringLiteral("mV"), QStringLiteral("500 mV"),
                                          QStringLiteral("DC"), QString()};
        chunk += recording::recordedLine(recording::recordedRecord(i, start.addSecs(i), texts));
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
    std::printf("wrote %d lines, %lld bytes\n", lines, static_cast<long long>(file.size()));
    return 0;
}

double milliseconds(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double medianOf(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Redraws as a resize would do them: the median of 11.
double redrawMedian(graphs::MEMORY_GRAPH &graph)
{
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < 11; ++i) {
        timer.restart();
        graph.redraw();
        times.push_back(milliseconds(timer));
    }
    return medianOf(times);
}

QString linesText(qint64 lines)
{
    return QLocale::c().toString(lines).replace(QLatin1Char(','), QLatin1Char(' '));
}

// OPEN FILE is pressed in a program already showing its main window: the
// style, fonts and platform are loaded once, before any timing starts.
void showMainWindow(QWidget &window)
{
    new QTableView(&window);
    window.show();
    QCoreApplication::processEvents();
}

int open(const QString &fileName, const QString &secondFile, double openTarget, double redrawTarget)
{
    QWidget mainWindow;
    showMainWindow(mainWindow);
    // The list and graph windows are built with the main window, as the
    // program does; OPEN FILE creates and shows the list.
    common::SharedValues shared;
    const platform::Platform platform;
    recording::MEMORYLIST list;
    graphs::MEMORY_GRAPH graph(platform, shared);
    graph.setList(&list.list());
    list.list().setRowValuer(graphs::rowValuer(graphs::memoryGraphDesign().rangeMatch));
    // OPEN FILE: check, show the list, read the rows, paint.
    QElapsedTimer timer;
    timer.start();
    if (!recording::canOpenForReading(fileName)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(fileName));
        return 1;
    }
    list.create();
    list.show();
    const recording::ReadOutcome outcome = recording::filelistu(list.list(), fileName);
    list.Grid1->viewport()->repaint();
    QCoreApplication::processEvents();
    const double openMs = milliseconds(timer);
    const qint64 fileBytes = QFileInfo(fileName).size();
    const double fileMb = static_cast<double>(fileBytes) / 1e6;
    const QString lines = linesText(outcome.rowsAdded);
    std::printf("| recording: OPEN FILE of %s lines (%.1f MB) to the list shown | %.0f ms | <= %.0f ms |\n",
                qPrintable(lines), fileMb, openMs, openTarget);

    // GRAPH over all records, then over a span as MRANGE sets one.
    if (recording::prepareMemoryGraph(list.list(), shared)) {
        std::fprintf(stderr, "fewer than 2 records\n");
        return 1;
    }
    // The rows' graph values are worked out when a graph first needs them.
    timer.restart();
    graph.open();
    QCoreApplication::processEvents();
    std::printf("| recording: MEMORY_GRAPH first shown over %s records, values worked out | %.0f ms | |\n",
                qPrintable(lines), milliseconds(timer));
    std::printf("| recording: MEMORY_GRAPH redraw over %s records, median of 11 | %.1f ms | <= %.0f ms |\n",
                qPrintable(lines), redrawMedian(graph), redrawTarget);
    const qint64 total = list.list().recordCount();
    shared.memFirst = double(total / 7);
    shared.memLast = double(total - total / 5);
    std::printf("| recording: MEMORY_GRAPH redraw of records %lld to %lld, median of 11 | %.1f ms | <= %.0f ms |\n",
                static_cast<long long>(shared.memFirst), static_cast<long long>(shared.memLast),
                redrawMedian(graph), redrawTarget);

    // The list scrolled anywhere: cells of random rows.
    QRandomGenerator random(7);
    timer.restart();
    constexpr int reads = 100000;
    qsizetype length = 0;
    for (int i = 0; i < reads; ++i) {
        const QModelIndex index = list.list().index(int(random.bounded(quint32(total))), 3);
        length += list.list().data(index).toString().size();
    }
    std::printf("| recording: a VALUE cell of a random row of %s, mean | %.2f us | constant |\n",
                qPrintable(lines), milliseconds(timer) * 1000.0 / reads);
    std::fprintf(stderr, "%lld characters read\n", static_cast<long long>(length));

    if (!secondFile.isEmpty()) {
        timer.restart();
        const recording::ReadOutcome second = recording::filelistu(list.list(), secondFile);
        list.Grid1->viewport()->repaint();
        QCoreApplication::processEvents();
        std::printf("| recording: a second file of %s lines opened into that list | %.1f ms | what that file alone costs |\n",
                    qPrintable(linesText(second.rowsAdded)), milliseconds(timer));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("| recording: peak memory with the %s-line file open | %.0f MB | <= %.0f MB (file + 150) |\n",
                qPrintable(lines), static_cast<double>(usage.ru_maxrss) / 1024.0, fileMb + 150);
    return 0;
}

// A small file opened alone, for the cost a second file should have.
int openSmall(const QString &fileName)
{
    QWidget mainWindow;
    showMainWindow(mainWindow);
    recording::MEMORYLIST list;
    list.list().setRowValuer(graphs::rowValuer(graphs::memoryGraphDesign().rangeMatch));
    QElapsedTimer timer;
    timer.start();
    list.create();
    list.show();
    const recording::ReadOutcome outcome = recording::filelistu(list.list(), fileName);
    list.Grid1->viewport()->repaint();
    QCoreApplication::processEvents();
    std::printf("| recording: the file of %s lines opened alone | %.1f ms | |\n",
                qPrintable(linesText(outcome.rowsAdded)), milliseconds(timer));
    return 0;
}

// The CPU time of this thread: beside the wall time on a shared machine.
// CPU of the whole process: the export formats on every core.
double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// EXPORT and STATISTICS over every row of a file: each the median of 5,
// with the median CPU time.
int exportAndStatistics(const QString &fileName, double exportTarget, double statsTarget)
{
    recording::RecordListModel list;
    const recording::ReadOutcome outcome = recording::filelistu(list, fileName);
    QTemporaryDir dir;
    if (!outcome.complete || !dir.isValid()) {
        std::fprintf(stderr, "cannot read %s or make a folder\n", qPrintable(fileName));
        return 1;
    }
    const QString lines = linesText(outcome.rowsAdded);
    for (const char *suffix : {"csv", "jsonl"}) {
        const QString out = dir.filePath(QStringLiteral("rows.") + QLatin1String(suffix));
        std::vector<double> times;
        std::vector<double> cpu;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer timer;
            timer.start();
            const double cpuStart = processCpuMs();
            const recording::ExportResult result = recording::exportList(list, {}, out);
            times.push_back(milliseconds(timer));
            cpu.push_back(processCpuMs() - cpuStart);
            if (!result.ok) {
                std::fprintf(stderr, "%s\n", qPrintable(result.errorText));
                return 1;
            }
        }
        std::printf("| recording: EXPORT of %s rows to %s (%.1f MB) on disk, synced, median of 5 | %.0f ms (CPU %.0f ms) | <= %.0f ms |\n",
                    qPrintable(lines), suffix, double(QFileInfo(out).size()) / 1e6, medianOf(times),
                    medianOf(cpu), exportTarget);
    }
    std::vector<double> times;
    std::vector<double> cpu;
    qint64 counted = 0;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = processCpuMs();
        counted += recording::listStatistics(list).count;
        times.push_back(milliseconds(timer));
        cpu.push_back(processCpuMs() - cpuStart);
    }
    std::printf("| recording: STATISTICS of %s rows, median of 5 | %.0f ms (CPU %.0f ms) | <= %.0f ms |\n",
                qPrintable(lines), medianOf(times), medianOf(cpu), statsTarget);
    std::fprintf(stderr, "%lld readings counted\n", static_cast<long long>(counted));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("generate"))
        return generate(args[2], args.size() >= 4 ? args[3].toInt() : 1'000'000);
    if (args.size() >= 3 && args[1] == QLatin1String("open"))
        return open(args[2], args.value(5), args.value(3, QStringLiteral("1000")).toDouble(),
                    args.value(4, QStringLiteral("50")).toDouble());
    if (args.size() >= 3 && args[1] == QLatin1String("open-small"))
        return openSmall(args[2]);
    if (args.size() >= 3 && args[1] == QLatin1String("export"))
        return exportAndStatistics(args[2], 1000, 200);
    std::fprintf(stderr, "usage: bench_recording generate FILE [LINES] | open FILE [OPEN_MS REDRAW_MS [SECOND_FILE]]"
                         " | open-small FILE | export FILE\n");
    return 2;
}
