#include "graphs/ui/recgraph.h"

#include "common/numbers.h"
#include "graphs/storedgraphprint.h"
#include "platform/timer.h"
#include "recording/recordlistmodel.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>

namespace graphs {

REC_GRAPH::REC_GRAPH(const platform::Platform &platform, common::SharedValues &shared,
                     platform::Timer &timer6, QWidget *parent)
    : QMainWindow(parent)
    , platform_(platform)
    , shared_(shared)
    , timer6_(timer6)
{
    setObjectName(QStringLiteral("REC_GRAPH"));
    scene_.design = recGraphDesign();
    scene_.design.background = palette().color(QPalette::HighlightedText);
    scene_.design.windowText = palette().color(QPalette::WindowText);
    setWindowTitle(scene_.design.caption);

    MnuPrint = menuBar()->addAction(QStringLiteral("PRINT"));
    MnuPrint->setObjectName(QStringLiteral("MnuPrint"));
    MnuLimit = menuBar()->addAction(QStringLiteral("LIMIT"));
    MnuLimit->setObjectName(QStringLiteral("MnuLimit"));
    connect(MnuPrint, &QAction::triggered, this, &REC_GRAPH::print);
    connect(MnuLimit, &QAction::triggered, this, &REC_GRAPH::limitRequested);

    // The picture sits at the top left; a larger window shows the
    // background colour around it.
    canvas_ = new QLabel(this);
    canvas_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    canvas_->setMinimumSize(clientTwips.width() / twipsPerPixel, clientTwips.height() / twipsPerPixel);
    QPalette background = canvas_->palette();
    background.setColor(QPalette::Window, scene_.design.background);
    canvas_->setPalette(background);
    canvas_->setAutoFillBackground(true);
    setCentralWidget(canvas_);
    picture_ = renderStoredGraph(scene_);
    showPicture();
}

REC_GRAPH::~REC_GRAPH() = default;

void REC_GRAPH::setList(const recording::RecordListModel *list)
{
    list_ = list;
}

void REC_GRAPH::showPicture()
{
    canvas_->setPixmap(QPixmap::fromImage(picture_));
}

void REC_GRAPH::load()
{
    loaded_ = true;
    shownSinceLoad_ = false;
    scene_.plotted = false;
    scene_.selection = {};
    scene_.list = list_;
    picture_ = renderStoredGraph(scene_);
    showPicture();
    adjustSize();
    move(0, 0);
}

void REC_GRAPH::open()
{
    if (!loaded_) {
        load();
        show(); // the first showing redraws
        return;
    }
    show();
    raise();
    redraw();
}

void REC_GRAPH::redraw()
{
    if (shared_.recCount == 1)
        return;
    const bool polling = timer6_.isEnabled();
    timer6_.setEnabled(false);
    Q_EMIT readingList();

    scene_.plotted = true;
    scene_.list = list_;
    scene_.selection = {common::roundHalfEven(shared_.recFirst),
                        common::roundHalfEven(shared_.recLast),
                        shared_.recCount,
                        shared_.recMin,
                        shared_.scaleMax,
                        shared_.recTimeFirst,
                        shared_.recTimeMid,
                        shared_.recTimeLast};
    picture_ = renderStoredGraph(scene_);
    showPicture();

    Q_EMIT redrawn();
    timer6_.setEnabled(polling);
}

QString REC_GRAPH::LblValTopText() const
{
    return scene_.plotted ? storedGraphLabels(scene_).valTop : QString();
}

void REC_GRAPH::print()
{
    const auto printer = platform_.makePrinter();
    if (!printer)
        return;
    const GraphPrintOutcome outcome = printStoredGraph(*printer, scene_);
    if (outcome.status == GraphPrintOutcome::Status::Failed)
        platform_.dialogs->message(QStringLiteral("The graph could not be printed: ") + outcome.errorText,
                                   windowTitle(), platform::MessageIcon::Critical);
}

void REC_GRAPH::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (loaded_ && !shownSinceLoad_) {
        shownSinceLoad_ = true;
        redraw();
    }
}

void REC_GRAPH::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (shownSinceLoad_ && event->oldSize().isValid() && event->oldSize() != event->size())
        redraw();
}

void REC_GRAPH::closeEvent(QCloseEvent *event)
{
    loaded_ = false;
    shownSinceLoad_ = false;
    QMainWindow::closeEvent(event);
    Q_EMIT closed();
}

} // namespace graphs
