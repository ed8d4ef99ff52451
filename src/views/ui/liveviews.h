#pragma once

#include "graphs/ui/ggraph.h"
#include "views/ui/analog.h"
#include "views/ui/list.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace live {
class PANEL;
}

namespace views {

// The live views of the panel: GRAPH, LIST and ANALOG open them, and the
// panel's feeds reach each one's Text1. Owns the windows while they are
// open; a closed window is destroyed, so the next opening starts afresh.
// The panel closing closes them all.
class LiveViews : public QObject
{
    Q_OBJECT
public:
    explicit LiveViews(live::PANEL &panel);
    ~LiveViews() override;

    // The buttons: each sets its feed flag, opens (or brings up) its window
    // and, for the graph and the list, starts the panel's sampling timer.
    void openGraph();
    void openList();
    void openAnalog();

    // The open windows (nullptr when closed).
    graphs::G_GRAPH *graph() const { return graph_; }
    LIST *list() const { return list_; }
    ANALOG *analog() const { return analog_; }

private:
    void closeAll();

    live::PANEL &panel_;
    QPointer<graphs::G_GRAPH> graph_;
    QPointer<LIST> list_;
    QPointer<ANALOG> analog_;
};

// Wires GRAPH, LIST and ANALOG of the panel to the live views.
std::unique_ptr<QObject> attachLiveViews(live::PANEL &panel);

} // namespace views
