#include "views/ui/liveviews.h"

#include "graphs/ui/ggraph.h"
#include "link/ui/panel.h"
#include "views/ui/analog.h"
#include "views/ui/list.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace views {

LiveViews::LiveViews(live::PANEL &panel)
    : panel_(panel)
{
    connect(panel.CMDGRAPH, &QPushButton::clicked, this, &LiveViews::openGraph);
    connect(panel.CMDLIST, &QPushButton::clicked, this, &LiveViews::openList);
    connect(panel.CMDANALOG, &QPushButton::clicked, this, &LiveViews::openAnalog);

    connect(&panel, &live::PANEL::graphFeed, this, [this](const QString &text) {
        if (graph_)
            graph_->Text1->setText(text);
    });
    connect(&panel, &live::PANEL::listFeed, this, [this](const QString &text) {
        if (list_)
            list_->Text1->setText(text);
    });
    connect(&panel, &live::PANEL::analogFeed, this, [this](const QString &text) {
        if (analog_)
            analog_->Text1->setText(text);
    });
    // STOP RECORDING ends the list's feed; the list stays open.
    connect(panel.CMDSTOP, &QPushButton::clicked, this, [this] { panel_.shared().listFeedOn = 0; });
    connect(&panel, &live::PANEL::closing, this, &LiveViews::closeAll);
}

LiveViews::~LiveViews()
{
    delete graph_.data();
    delete list_.data();
    delete analog_.data();
}

void LiveViews::openGraph()
{
    panel_.shared().graphFeedOn = 1;
    if (!graph_) {
        graph_ = new graphs::G_GRAPH(panel_);
        graph_->setAttribute(Qt::WA_DeleteOnClose);
        connect(graph_, &graphs::G_GRAPH::unloaded, this, [this] { graph_.clear(); });
        graph_->load();
    }
    graph_->show();
    graph_->raise();
    panel_.Timer3->setEnabled(true);
}

void LiveViews::openList()
{
    panel_.shared().listFeedOn = 1;
    if (!list_) {
        list_ = new LIST(panel_);
        list_->setAttribute(Qt::WA_DeleteOnClose);
        connect(list_, &LIST::unloaded, this, [this] { list_.clear(); });
        list_->load();
    }
    list_->show();
    list_->raise();
    panel_.Timer3->setEnabled(true);
}

void LiveViews::openAnalog()
{
    common::SharedValues &shared = panel_.shared();
    shared.analogOn = -1;
    if (!analog_) {
        analog_ = new ANALOG(panel_);
        analog_->setAttribute(Qt::WA_DeleteOnClose);
        connect(analog_, &ANALOG::unloaded, this, [this] { analog_.clear(); });
        const QRect listFrame = list_ ? list_->frameGeometry() : QRect();
        analog_->load(shared.listFeedOn == 1 && list_ ? &listFrame : nullptr);
    } else {
        analog_->show();
        analog_->raise();
    }
    analog_->setLabel2(panel_.LBLRAN->text());
    analog_->Text1->setText(panel_.LBLVALUE->text());
}

void LiveViews::closeAll()
{
    for (QWidget *window : {static_cast<QWidget *>(graph_.data()),
                            static_cast<QWidget *>(list_.data()),
                            static_cast<QWidget *>(analog_.data())}) {
        if (window)
            window->close();
    }
}

std::unique_ptr<QObject> attachLiveViews(live::PANEL &panel)
{
    return std::make_unique<LiveViews>(panel);
}

} // namespace views
