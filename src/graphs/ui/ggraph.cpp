#include "graphs/ui/ggraph.h"

#include "graphs/livegraphlimits.h"
#include "graphs/ui/ggraphprint.h"
#include "graphs/ui/ggraphview.h"
#include "graphs/ui/graphimage.h"
#include "link/ui/panel.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>

namespace graphs {

namespace {
const QString designCaption = QStringLiteral("Recording Meter  --  Graphic Display");
} // namespace

G_GRAPH::G_GRAPH(live::PANEL &panel, QWidget *parent)
    : QWidget(parent)
    , panel_(panel)
    , view_(new GGraphView(this))
{
    setObjectName(QStringLiteral("G_GRAPH"));
    setWindowTitle(designCaption);
    setFocusPolicy(Qt::StrongFocus);

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();
    connect(Text1, &QLineEdit::textChanged, this, &G_GRAPH::onText1Change);

    buildMenus();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(view_);
    resize(view_->sizeHint() + QSize(0, menuBar->sizeHint().height()));

    chart_.setLook(look());
    view_->setPicture(&chart_.image());
    connect(view_, &GGraphView::resized, this, &G_GRAPH::fullRedraw);
    connect(view_, &GGraphView::doubleClicked, this, [this] { chart_.cycleGridColor(); });
}

G_GRAPH::~G_GRAPH() = default;

void G_GRAPH::buildMenus()
{
    menuBar = new QMenuBar(this);
    Pgraphics = menuBar->addAction(QStringLiteral("&Print"));
    Pgraphics->setObjectName(QStringLiteral("Pgraphics"));
    SaveImage = menuBar->addAction(QStringLiteral("SAVE IMAGE"));
    SaveImage->setObjectName(QStringLiteral("SaveImage"));
    SetScale = menuBar->addMenu(QStringLiteral("&Scale"));
    SetScale->setObjectName(QStringLiteral("SetScale"));
    Ymin = SetScale->addAction(QStringLiteral("Ymin"));
    Ymin->setObjectName(QStringLiteral("Ymin"));
    Ymax = SetScale->addAction(QStringLiteral("Ymax"));
    Ymax->setObjectName(QStringLiteral("Ymax"));
    connect(Pgraphics, &QAction::triggered, this, &G_GRAPH::onPgraphicsClick);
    connect(SaveImage, &QAction::triggered, this, &G_GRAPH::onSaveImageClick);
    connect(Ymin, &QAction::triggered, this, &G_GRAPH::onYminClick);
    connect(Ymax, &QAction::triggered, this, &G_GRAPH::onYmaxClick);
}

void G_GRAPH::load()
{
    moveUnderPanel();
    chart_.open();
}

void G_GRAPH::moveUnderPanel()
{
    const QRect panelFrame = panel_.frameGeometry();
    move(panelFrame.left(), panelFrame.top() + panelFrame.height());
}

void G_GRAPH::activatePanel()
{
    panel_.activateWindow();
}

QSize G_GRAPH::clientSize() const
{
    return view_->size();
}

ChartLook G_GRAPH::look() const
{
    return ChartLook{view_->font(), view_->palette().color(QPalette::Window),
                     view_->palette().color(QPalette::WindowText)};
}

PanelTexts G_GRAPH::panelTexts() const
{
    return PanelTexts{panel_.LBLVALUE->text(), panel_.LBLRAN->text(), panel_.LBLTIME->text(),
                      panel_.LBLCOMM->text()};
}

void G_GRAPH::fullRedraw()
{
    if (isMinimized())
        return;
    setWindowTitle(designCaption + QStringLiteral("   "));
    chart_.setLook(look());
    chart_.redraw(clientSize(), panel_.LBLRAN->text());
    view_->update();
    activatePanel();
}

void G_GRAPH::onText1Change()
{
    if (Text1->text().isEmpty() || panel_.LBLVALUE->text().isEmpty())
        return;
    if (chart_.rangeChanged(panel_.LBLRAN->text())) {
        chart_.releaseLimits();
        load();
        fullRedraw();
    }
    chart_.plot(panelTexts());
    view_->update();
}

void G_GRAPH::onSaveImageClick()
{
    // The chart is drawn step by step into its picture, which the window
    // and the printout both show: the file gets that picture, a window
    // pixel to a block of pixels (PNG) or to a unit of the page.
    const QImage picture = chart_.image();
    platform::Dialogs &dialogs = *panel_.platform().dialogs;
    const platform::Dialogs::FileChoice choice
        = dialogs.saveFile(QStringLiteral("g_graph.png"), imageFileFilter());
    if (choice.cancelled || choice.fullName.isEmpty())
        return;
    const ImageSaveResult result
        = saveGraphImage(choice.fullName, picture.size(), [&picture](QPainter &painter, double scale) {
              painter.scale(scale, scale);
              painter.drawImage(0, 0, picture);
          });
    if (!result.ok)
        dialogs.message(result.errorText, designCaption, platform::MessageIcon::Critical);
}

void G_GRAPH::onPgraphicsClick()
{
    // Printing and its message let events run: the window may be closed
    // and destroyed before they return, and then nothing of it is touched.
    const QPointer<G_GRAPH> self(this);
    live::PANEL &panel = panel_;
    const platform::Platform &platform = panel.platform();
    const auto printer = platform.makePrinter ? platform.makePrinter() : nullptr;
    if (printer) {
        const QImage picture = chart_.image();
        const PrintOutcome outcome
            = printChartImage(*printer, picture, designCaption, view_->logicalDpiX());
        if (!outcome.error.isEmpty())
            platform.dialogs->message(outcome.error, designCaption,
                                      platform::MessageIcon::Critical);
    }
    if (self)
        activatePanel();
    else
        panel.activateWindow();
}

void G_GRAPH::onYmaxClick()
{
    const LimitPrompt ask = yMaxPrompt(chart_.limits());
    const QPointer<G_GRAPH> self(this);
    const QString answer = panel_.platform().dialogs->input(ask.prompt, ask.title, ask.defaultAnswer);
    if (self && chart_.enterYMax(answer, panel_.LBLRAN->text()))
        fullRedraw();
}

void G_GRAPH::onYminClick()
{
    const LimitPrompt ask = yMinPrompt(chart_.limits());
    const QPointer<G_GRAPH> self(this);
    const QString answer = panel_.platform().dialogs->input(ask.prompt, ask.title, ask.defaultAnswer);
    if (self && chart_.enterYMin(answer, panel_.LBLRAN->text()))
        fullRedraw();
}

void G_GRAPH::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        activatePanel();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void G_GRAPH::closeEvent(QCloseEvent *event)
{
    panel_.shared().graphFeedOn = 0;
    event->accept();
    Q_EMIT unloaded();
}

} // namespace graphs
