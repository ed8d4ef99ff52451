#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace graphs {
class MEMORY_GRAPH;
}
namespace live {
class PANEL;
}

namespace recording {

class MEMORYLIST;
class MRANGE;
struct FileDialogMemory;

// OPEN FILE and the windows it leads to: the opened-file list MEMORYLIST
// (PRINT, GRAPH), its graph MEMORY_GRAPH (LIMIT) and the range window
// MRANGE (apply). It owns the three windows; a closed window is hidden and
// comes back as new when opened again.
class OpenFileController : public QObject
{
    Q_OBJECT
public:
    OpenFileController(live::PANEL &panel, FileDialogMemory &dialog, QObject *parent = nullptr);
    ~OpenFileController() override;

    // OPEN FILE: choose a file, check it can be read ("File " + name +
    // " not exist !" when not), show the list and append the file's rows.
    // A file that fails part way keeps the rows read so far, and says so.
    void onCmdOpen();
    // MEMORYLIST's GRAPH: the whole list in the graph, or the warning.
    void onGraph();
    // MEMORYLIST's PRINT.
    void onPrint();
    // MEMORY_GRAPH's LIMIT: the range window with the current selection.
    void onLimit();
    // MRANGE's apply: closes the graph, checks the new selection and shows
    // the graph again, or tells what is wrong.
    void onApply();

    MEMORYLIST &memoryList() { return *list_; }
    graphs::MEMORY_GRAPH &memoryGraph() { return *graph_; }
    MRANGE &memoryRange() { return *range_; }
    bool listIsOpen() const { return listOpen_; }
    bool rangeIsOpen() const { return rangeOpen_; }

private:
    bool isFileBeingRecorded(const QString &name) const;
    void openList();
    void onListClosed();
    void closeAll();

    live::PANEL &panel_;
    FileDialogMemory &dialog_;
    std::unique_ptr<MEMORYLIST> list_;
    std::unique_ptr<graphs::MEMORY_GRAPH> graph_;
    std::unique_ptr<MRANGE> range_;
    bool listOpen_ = false;
    bool rangeOpen_ = false;
};

} // namespace recording
