#pragma once

#include <QObject>

#include <memory>

namespace graphs {
class REC_GRAPH;
}
namespace live {
class PANEL;
}
namespace logger {
class LOGGER;
}

namespace reclist {

class REC_LIST;
class RANGEFORM;

// The downloaded-record list REC_LIST (SAVE, PRINT, GRAPH), its graph
// REC_GRAPH (LIMIT) and the range window RANGEFORM (apply). It owns the
// three windows; a closed window is hidden and comes back as new when it
// is made again. Closing the list closes the other two and gives the
// focus to the logger window's set list when that window is visible.
class RecordListController : public QObject
{
    Q_OBJECT
public:
    RecordListController(live::PANEL &panel, logger::LOGGER &logger, QObject *parent = nullptr);
    ~RecordListController() override;

    // The download's part: a fresh list, not shown, its grid hidden while
    // it fills; then shown with the grid back.
    void createList();
    void showList();
    // Closes the list when it is shown (and with it the other two).
    void closeList();

    // Menu handlers.
    void onSave();   // REC_LIST SAVE
    void onPrint();  // REC_LIST PRINT
    void onGraph();  // REC_LIST GRAPH
    void onLimit();  // REC_GRAPH LIMIT
    void onApply();  // RANGEFORM SSCommand1

    REC_LIST &recordList() { return *list_; }
    graphs::REC_GRAPH &recGraph() { return *graph_; }
    RANGEFORM &rangeForm() { return *range_; }
    bool listIsOpen() const { return listOpen_; }
    bool rangeIsOpen() const { return rangeOpen_; }

private:
    void onListClosed();
    void closeAll();

    live::PANEL &panel_;
    logger::LOGGER &logger_;
    std::unique_ptr<REC_LIST> list_;
    std::unique_ptr<graphs::REC_GRAPH> graph_;
    std::unique_ptr<RANGEFORM> range_;
    bool listOpen_ = false;
    bool rangeOpen_ = false;
};

} // namespace reclist
