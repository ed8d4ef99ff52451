#include "reclist/ui/recordlistcontroller.h"

#include "graphs/ui/recgraph.h"
#include "link/ui/panel.h"
#include "logger/ui/logger.h"
#include "recording/ui/listprint.h"
#include "recording/ui/listtools.h"
#include "reclist/listsave.h"
#include "reclist/recselection.h"
#include "reclist/ui/rangeform.h"
#include "reclist/ui/reclistwindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QTableView>

namespace reclist {

namespace {

void show(platform::Dialogs &dialogs, const recording::Notice &notice)
{
    dialogs.message(notice.text, notice.title, notice.icon);
}

} // namespace

RecordListController::RecordListController(live::PANEL &panel, logger::LOGGER &logger,
                                           QObject *parent)
    : QObject(parent)
    , panel_(panel)
    , logger_(logger)
    , list_(std::make_unique<REC_LIST>())
    , graph_(std::make_unique<graphs::REC_GRAPH>(panel.platform(), panel.shared(), *panel.Timer6))
    , range_(std::make_unique<RANGEFORM>())
{
    graph_->setList(&list_->list());
    connect(list_->MNUSAVE, &QAction::triggered, this, &RecordListController::onSave);
    connect(list_->MnuPrint, &QAction::triggered, this, &RecordListController::onPrint);
    connect(list_->MNUGRAPH, &QAction::triggered, this, &RecordListController::onGraph);
    connect(list_.get(), &REC_LIST::closed, this, &RecordListController::onListClosed);
    connect(graph_.get(), &graphs::REC_GRAPH::limitRequested, this, &RecordListController::onLimit);
    connect(graph_.get(), &graphs::REC_GRAPH::readingList, this,
            [this] { list_->Grid1->setVisible(false); });
    connect(graph_.get(), &graphs::REC_GRAPH::redrawn, this,
            [this] { list_->Grid1->setVisible(true); });
    connect(range_.get(), &RANGEFORM::applyClicked, this, &RecordListController::onApply);
    connect(range_.get(), &RANGEFORM::closed, this, [this] { rangeOpen_ = false; });
    connect(&panel, &live::PANEL::closing, this, &RecordListController::closeAll);
    new recording::ListTools(
        {*list_, list_->list(), *panel.platform().dialogs,
         [this]() -> const recording::RangeWindow * { return rangeOpen_ ? range_.get() : nullptr; }},
        this);
}

RecordListController::~RecordListController()
{
    // The graph reads the list: it goes first.
    graph_.reset();
    range_.reset();
    list_.reset();
}

void RecordListController::createList()
{
    list_->create();
    list_->Grid1->setVisible(false);
}

void RecordListController::showList()
{
    list_->Grid1->setVisible(true);
    listOpen_ = true;
    list_->show();
    list_->raise();
}

void RecordListController::closeList()
{
    if (listOpen_)
        list_->close();
}

void RecordListController::onListClosed()
{
    listOpen_ = false;
    if (rangeOpen_)
        range_->close();
    if (graph_->isOpen())
        graph_->close();
    list_->list().clear(); // the records are gone with the window
    if (logger_.isVisible()) {
        logger_.activateWindow();
        logger_.Grid1->setFocus();
    }
}

void RecordListController::onSave()
{
    const SaveOutcome outcome = saveRecordList(
        *panel_.platform().dialogs, list_->list(), panel_.shared(), [](bool busy) {
            if (busy)
                QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            else
                QGuiApplication::restoreOverrideCursor();
        });
    if (outcome.notice)
        show(*panel_.platform().dialogs, *outcome.notice);
}

void RecordListController::onPrint()
{
    recording::printListWindow(panel_, list_->list(), list_->windowTitle(), list_->MnuPrint);
}

void RecordListController::onGraph()
{
    if (const auto warning = prepareRecGraph(list_->list(), panel_.shared())) {
        show(*panel_.platform().dialogs, *warning);
        return;
    }
    graph_->open();
}

void RecordListController::onLimit()
{
    if (!rangeOpen_) {
        rangeOpen_ = true;
        range_->setBoxes(recRangeBoxes(panel_.shared()));
        range_->adjustSize();
        range_->move(graph_->frameGeometry().width(), 0);
    }
    range_->setBoxes(limitBoxes(range_->boxes(), panel_.shared(), graph_->LblValTopText()));
    range_->show();
    range_->raise();
}

void RecordListController::onApply()
{
    graph_->close();
    if (const auto refusal = applyRecRange(range_->boxes(), list_->list(), panel_.shared())) {
        show(*panel_.platform().dialogs, *refusal);
        return;
    }
    graph_->open();
}

void RecordListController::closeAll()
{
    range_->close();
    graph_->close();
    list_->close();
}

} // namespace reclist
