#include "recording/ui/openfilecontroller.h"

#include "graphs/storedgraphlevel.h"
#include "graphs/ui/memorygraph.h"
#include "link/ui/panel.h"
#include "recording/datafilereader.h"
#include "recording/memoryselection.h"
#include "recording/ui/listprint.h"
#include "recording/ui/listtools.h"
#include "recording/ui/memorylist.h"
#include "recording/ui/rangewindow.h"
#include "recording/ui/recordingcontroller.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace recording {

namespace {

void show(platform::Dialogs &dialogs, const Notice &notice)
{
    dialogs.message(notice.text, notice.title, notice.icon);
}

} // namespace

OpenFileController::OpenFileController(live::PANEL &panel, FileDialogMemory &dialog, QObject *parent)
    : QObject(parent)
    , panel_(panel)
    , dialog_(dialog)
    , list_(std::make_unique<MEMORYLIST>())
    , graph_(std::make_unique<graphs::MEMORY_GRAPH>(panel.platform(), panel.shared()))
    , range_(std::make_unique<MRANGE>())
{
    graph_->setList(&list_->list());
    // The list keeps the graph's extremes while it reads a file.
    list_->list().setRowValuer(graphs::rowValuer(graphs::memoryGraphDesign().rangeMatch));
    connect(panel.CMDOPEN, &QPushButton::clicked, this, &OpenFileController::onCmdOpen);
    connect(list_->MNUGRAPH, &QAction::triggered, this, &OpenFileController::onGraph);
    connect(list_->MnuPrint, &QAction::triggered, this, &OpenFileController::onPrint);
    connect(list_.get(), &MEMORYLIST::closed, this, &OpenFileController::onListClosed);
    connect(graph_.get(), &graphs::MEMORY_GRAPH::limitRequested, this, &OpenFileController::onLimit);
    connect(graph_.get(), &graphs::MEMORY_GRAPH::redrawn, this,
            [this] { list_->Grid1->setVisible(true); });
    connect(range_.get(), &MRANGE::applyClicked, this, &OpenFileController::onApply);
    connect(range_.get(), &MRANGE::closed, this, [this] { rangeOpen_ = false; });
    connect(&panel, &live::PANEL::closing, this, &OpenFileController::closeAll);
    new ListTools({*list_, list_->list(), *panel.platform().dialogs,
                   [this]() -> const RangeWindow * { return rangeOpen_ ? range_.get() : nullptr; }},
                  this);
}

OpenFileController::~OpenFileController()
{
    // The graph reads the list: it goes first.
    graph_.reset();
    range_.reset();
    list_.reset();
}

void OpenFileController::onCmdOpen()
{
    platform::Dialogs &dialogs = *panel_.platform().dialogs;
    const platform::Dialogs::FileChoice choice = dialogs.openFile(dialog_.lastName, dataFileFilter());
    if (choice.cancelled || choice.fullName.isEmpty())
        return;
    const QString name = choice.fullName;
    dialog_.lastName = name;
    if (!canOpenForReading(name)) {
        dialogs.message(QStringLiteral("File ") + name + QStringLiteral(" not exist !"));
        return;
    }
    ReadOptions options;
    options.copy = isFileBeingRecorded(name);
    const bool wasOpen = listOpen_;
    openList();
    const ReadOutcome outcome = filelistu(list_->list(), name, options);
    panel_.shared().listFeedOn = 0;
    if (outcome.tooLarge) {
        if (!wasOpen)
            list_->close();
        dialogs.message(QStringLiteral("File ") + name + QStringLiteral(" is too large to be shown. ")
                            + outcome.errorText,
                        {}, platform::MessageIcon::Warning);
        return;
    }
    if (!outcome.complete)
        dialogs.message(QStringLiteral("File ") + name + QStringLiteral(" could not be read to its end (")
                            + outcome.errorText + QStringLiteral("). The lines read before are listed."),
                        {}, platform::MessageIcon::Warning);
}

bool OpenFileController::isFileBeingRecorded(const QString &name) const
{
    // The recording appends under a mapped list: that file is copied.
    if (!panel_.recordingOn)
        return false;
    const QFileInfo recorded(panel_.LBLFILE->text());
    const QFileInfo opened(name);
    return recorded.exists() && opened.exists()
           && recorded.canonicalFilePath() == opened.canonicalFilePath();
}

void OpenFileController::openList()
{
    if (!listOpen_) {
        list_->create();
        listOpen_ = true;
    }
    list_->show();
    list_->raise();
}

void OpenFileController::onListClosed()
{
    listOpen_ = false;
    if (rangeOpen_)
        range_->close();
    if (graph_->isOpen())
        graph_->close();
    list_->list().clear(); // frees a big file's rows at once
}

void OpenFileController::onGraph()
{
    if (const auto warning = prepareMemoryGraph(list_->list(), panel_.shared())) {
        show(*panel_.platform().dialogs, *warning);
        return;
    }
    graph_->open();
}

void OpenFileController::onPrint()
{
    printListWindow(panel_, list_->list(), list_->windowTitle(), list_->MnuPrint);
}

void OpenFileController::onLimit()
{
    if (!rangeOpen_) {
        rangeOpen_ = true;
        range_->adjustSize();
        range_->move(graph_->frameGeometry().width(), 0);
    }
    range_->setBoxes(memoryRangeBoxes(panel_.shared()));
    range_->show();
    range_->raise();
}

void OpenFileController::onApply()
{
    graph_->close();
    if (const auto refusal = applyMemoryRange(range_->boxes(), list_->list(), panel_.shared())) {
        show(*panel_.platform().dialogs, *refusal);
        return;
    }
    graph_->open();
}

void OpenFileController::closeAll()
{
    range_->close();
    graph_->close();
    list_->close();
}

} // namespace recording
