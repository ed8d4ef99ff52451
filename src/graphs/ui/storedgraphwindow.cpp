#include "graphs/ui/storedgraphwindow.h"

#include "graphs/storedgraphprint.h"
#include "graphs/ui/graphimage.h"
#include "recording/recordlistmodel.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>

namespace graphs {

// Shows the picture at the top left corner; the rest of a larger window
// keeps the background colour.
class StoredGraphWindow::Canvas : public QWidget
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

StoredGraphWindow::StoredGraphWindow(const StoredGraphDesign &design,
                                     const platform::Platform &platform, QWidget *parent)
    : QMainWindow(parent)
    , platform_(platform)
{
    scene_.design = design;
    scene_.design.background = palette().color(QPalette::HighlightedText);
    scene_.design.windowText = palette().color(QPalette::WindowText);
    setObjectName(design.caption);
    setWindowTitle(design.caption);

    MnuPrint = menuBar()->addAction(QStringLiteral("PRINT"));
    MnuPrint->setObjectName(QStringLiteral("MnuPrint"));
    MnuLimit = menuBar()->addAction(QStringLiteral("LIMIT"));
    MnuLimit->setObjectName(QStringLiteral("MnuLimit"));
    connect(MnuPrint, &QAction::triggered, this, &StoredGraphWindow::print);
    MnuSaveImage = menuBar()->addAction(QStringLiteral("SAVE IMAGE"));
    MnuSaveImage->setObjectName(QStringLiteral("MnuSaveImage"));
    connect(MnuLimit, &QAction::triggered, this, &StoredGraphWindow::limitRequested);
    connect(MnuSaveImage, &QAction::triggered, this, &StoredGraphWindow::saveImage);

    picture_ = renderStoredGraph(scene_);
    canvas_ = new Canvas(picture_, scene_.design.background, this);
    setCentralWidget(canvas_);
}

StoredGraphWindow::~StoredGraphWindow() = default;

void StoredGraphWindow::setList(const recording::RecordListModel *list)
{
    list_ = list;
}

void StoredGraphWindow::load()
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

void StoredGraphWindow::open()
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

void StoredGraphWindow::redraw()
{
    const std::optional<StoredGraphSelection> selection = selectionForRedraw();
    if (!selection)
        return;
    beforeDrawing();
    scene_.plotted = true;
    scene_.list = list_;
    scene_.selection = *selection;
    picture_ = renderStoredGraph(scene_);
    canvas_->update();
    Q_EMIT redrawn();
    afterDrawing();
}

void StoredGraphWindow::print()
{
    const auto printer = platform_.makePrinter ? platform_.makePrinter() : nullptr;
    if (!printer)
        return;
    const GraphPrintOutcome outcome = printStoredGraph(*printer, scene_);
    if (outcome.status == GraphPrintOutcome::Status::Failed)
        platform_.dialogs->message(QStringLiteral("The graph could not be printed: ") + outcome.errorText,
                                   windowTitle(), platform::MessageIcon::Critical);
}

void StoredGraphWindow::saveImage()
{
    platform::Dialogs &dialogs = *platform_.dialogs;
    const platform::Dialogs::FileChoice choice
        = dialogs.saveFile(imageName_.isEmpty() ? windowTitle().toLower() + QStringLiteral(".png") : imageName_,
                           imageFileFilter());
    if (choice.cancelled || choice.fullName.isEmpty())
        return;
    imageName_ = choice.fullName;
    const StoredGraphScene scene = scene_;
    const ImageSaveResult result
        = saveGraphImage(choice.fullName, picture_.size(), [&scene](QPainter &painter, double scale) {
              paintStoredGraph(painter, scene, scale / twipsPerPixel);
          });
    if (!result.ok)
        dialogs.message(result.errorText, windowTitle(), platform::MessageIcon::Critical);
}

void StoredGraphWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (loaded_ && !shownSinceLoad_) {
        shownSinceLoad_ = true;
        redraw();
    }
}

void StoredGraphWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // A window being shown gets its size first; the showing redraws then.
    if (shownSinceLoad_ && event->oldSize().isValid() && event->oldSize() != event->size())
        redraw();
}

void StoredGraphWindow::closeEvent(QCloseEvent *event)
{
    loaded_ = false;
    shownSinceLoad_ = false;
    QMainWindow::closeEvent(event);
    Q_EMIT closed();
}

} // namespace graphs
