// Times OPEN FILE on a big recorded file (until the list is painted) and the
// redraw of MEMORY_GRAPH over all its records.

#include "common/sharedvalues.h"
#include "graphs/ui/memorygraph.h"
#include "platform/platform.h"
#include "recording/datafileformat.h"
#include "recording/datafilereader.h"
#include "recording/memoryselection.h"
#include "recording/ui/memorylist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTableView>

#include <algorithm>
#include <cmath>
#include <cstdio>
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

int open(const QString &fileName)
{
    // OPEN FILE: check, show the list, read the rows, paint.
    QElapsedTimer timer;
    timer.start();
    if (!recording::canOpenForReading(fileName)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(fileName));
        return 1;
    }
    recording::MEMORYLIST list;
    list.create();
    list.show();
    const recording::ReadOutcome outcome = recording::filelistu(list.list(), fileName);
    list.Grid1->viewport()->repaint();
    QCoreApplication::processEvents();
    const double openMs = milliseconds(timer);
    const double fileMb = static_cast<double>(QFileInfo(fileName).size()) / 1e6;
    std::printf("| recording: OPEN FILE of %lld lines (%.1f MB) to the list shown | %.0f ms | <= 1000 ms |\n",
                static_cast<long long>(outcome.rowsAdded), fileMb, openMs);

    // GRAPH over all records, then redraws as a resize would do them.
    common::SharedValues shared;
    if (recording::prepareMemoryGraph(list.list(), shared)) {
        std::fprintf(stderr, "fewer than 2 records\n");
        return 1;
    }
    const platform::Platform platform;
    graphs::MEMORY_GRAPH graph(platform, shared);
    graph.setList(&list.list());
    graph.open();
    std::vector<double> redraws;
    for (int i = 0; i < 10; ++i) {
        timer.restart();
        graph.redraw();
        redraws.push_back(milliseconds(timer));
    }
    std::sort(redraws.begin(), redraws.end());
    std::printf("| recording: MEMORY_GRAPH redraw over %lld records, median (best %.0f, worst %.0f) | %.0f ms | <= 100 ms |\n",
                static_cast<long long>(list.list().recordCount()), redraws.front(), redraws.back(),
                redraws[redraws.size() / 2]);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("| recording: peak memory with the file open | %.0f MB | <= %.0f MB (3 x file + 60) |\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0, 3 * fileMb + 60);
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
        return open(args[2]);
    std::fprintf(stderr, "usage: bench_recording generate FILE [LINES] | open FILE\n");
    return 2;
}
