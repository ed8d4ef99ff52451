#include "graphs/ui/memorygraph.h"

#include "common/numbers.h"
#include "graphs/storedgraphprint.h"
#include "recording/recordlistmodel.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>

namespace graphs {

// Shows the picture at the top left corner; the rest of a larger window
// keeps the background colour.
class MEMORY_GRAPH::Canvas : public QWidget
{
public:
    Canvas(const QImage &picture, const QColor &background, QWidget *parent)
        : QWidget(parent)
        , picture_(picture)
        , background_(background)
    {
        setMinimumSize(clientTwips.width() / twipsPerPixel, clientTwips.height() / twipsPerPixel);
    }

    QSize sizeHint() const override { return minimumSize(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), background_);
        painter.drawImage(0, 0, picture_);
    }

private:
    const QImage &picture_;
    QColor background_;
};

MEMORY_GRAPH::MEMORY_GRAPH(const platform::Platform &platform, common::SharedValues &shared,
                           QWidget *parent)
    : QMainWindow(parent)
    , platform_(platform)
    , shared_(shared)
{
    setObjectName(QStringLiteral("MEMORY_GRAPH"));
    scene_.design = memoryGraphDesign();
    scene_.design.background = palette().color(QPalette::HighlightedText);
    scene_.design.windowText = palette().color(QPalette::WindowText);
    setWindowTitle(scene_.design.caption);

    MnuPrint = menuBar()->addAction(QStringLiteral("PRINT"));
    MnuPrint->setObjectName(QStringLiteral("MnuPrint"));
    MnuLimit = menuBar()->addAction(QStringLiteral("LIMIT"));
    MnuLimit->setObjectName(QStringLiteral("MnuLimit"));
    connect(MnuPrint, &QAction::triggered, this, &MEMORY_GRAPH::print);
    connect(MnuLimit, &QAction::triggered, this, &MEMORY_GRAPH::limitRequested);

    picture_ = renderStoredGraph(scene_);
    canvas_ = new Canvas(picture_, scene_.design.background, this);
    setCentralWidget(canvas_);
}

MEMORY_GRAPH::~MEMORY_GRAPH() = default;

void MEMORY_GRAPH::setList(const recording::RecordListModel *list)
{
    list_ = list;
}

void MEMORY_GRAPH::load()
{
    loaded_ = true;
    shownSinceLoad_ = false;
    scene_.plotted = false;
    scene_.selection = {};
    scene_.list = list_;
    picture_ = renderStoredGraph(scene_);
    adjustSize();
    move(0, 0);
}

void MEMORY_GRAPH::open()
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

void MEMORY_GRAPH::redraw()
{
    if (shared_.memCount == 1)
        return;
    const double count = shared_.memLast - shared_.memFirst + 1;
    shared_.memCount = count;
    scene_.plotted = true;
    scene_.list = list_;
    scene_.selection = {common::roundHalfEven(shared_.memFirst),
                        common::roundHalfEven(shared_.memLast),
                        count,
                        shared_.memMin,
                        shared_.memMax,
                        shared_.memTimeFirst,
                        shared_.memTimeMid,
                        shared_.memTimeLast};
    picture_ = renderStoredGraph(scene_);
    canvas_->update();
    Q_EMIT redrawn();
}

void MEMORY_GRAPH::print()
{
    const auto printer = platform_.makePrinter();
    if (!printer)
        return;
    const GraphPrintOutcome outcome = printStoredGraph(*printer, scene_);
    if (outcome.status == GraphPrintOutcome::Status::Failed)
        platform_.dialogs->message(QStringLiteral("The graph could not be printed: ") + outcome.errorText,
                                   windowTitle(), platform::MessageIcon::Critical);
}

void MEMORY_GRAPH::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (loaded_ && !shownSinceLoad_) {
        shownSinceLoad_ = true;
        redraw();
    }
}

void MEMORY_GRAPH::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // A window being shown gets its size first; the showing redraws then.
    if (shownSinceLoad_ && event->oldSize().isValid() && event->oldSize() != event->size())
        redraw();
}

void MEMORY_GRAPH::closeEvent(QCloseEvent *event)
{
    loaded_ = false;
    shownSinceLoad_ = false;
    QMainWindow::closeEvent(event);
    Q_EMIT closed();
}

} // namespace graphs
