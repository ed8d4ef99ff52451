#include "views/ui/analog.h"

#include "link/ui/panel.h"
#include "views/placement.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace views {

namespace {
constexpr QSize designClient(320, 180);
const QString noComText = QStringLiteral(" NO COM ");
constexpr int labelMargin = 8;
} // namespace

ANALOG::ANALOG(live::PANEL &panel, QWidget *parent)
    : QWidget(parent)
    , panel_(panel)
{
    setObjectName(QStringLiteral("ANALOG"));
    setWindowTitle(QStringLiteral("Recording Meter  --  Analog display"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    QPalette face = palette();
    face.setColor(QPalette::Window, dialFaceColor());
    setPalette(face);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(labelMargin, 4);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(designClient.width() - labelMargin, 4);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();
    connect(Text1, &QLineEdit::textChanged, this, &ANALOG::onText1Change);
    connect(&panel_, &live::PANEL::frameShown, this, &ANALOG::onFrameShown);
    resize(designClient);
}

ANALOG::~ANALOG() = default;

void ANALOG::load(const QRect *listFrame)
{
    redrawing_ = false;
    move(analogPosition(panel_.frameGeometry(), listFrame));
    show();
    setLabel1(panel_.LBLFUN->text());
    setLabel2(panel_.LBLRAN->text());
}

bool ANALOG::setCaption(QLabel *label, const QString &text)
{
    if (label->text() == text)
        return false;
    label->setText(text);
    label->adjustSize();
    return true;
}

void ANALOG::setLabel1(const QString &text)
{
    if (setCaption(Label1, text) && !redrawing_)
        redraw();
}

void ANALOG::setLabel2(const QString &text)
{
    if (setCaption(Label2, text) && !redrawing_)
        redraw();
}

void ANALOG::copyPanelLabels()
{
    setLabel1(panel_.LBLFUN->text());
    setLabel2(panel_.LBLRAN->text());
}

DialLook ANALOG::look() const
{
    return DialLook{font(), palette().color(QPalette::WindowText)};
}

void ANALOG::placeLabel2()
{
    // The right margin mirrors Label1's left margin.
    Label2->move(width() - Label1->x() - Label2->width(), Label2->y());
}

void ANALOG::redraw()
{
    if (isMinimized() || panel_.LBLCOMM->text() == noComText) {
        redrawDue_ = true;
        return;
    }
    redrawDue_ = false;
    redrawing_ = true;
    copyPanelLabels();
    placeLabel2();
    picture_.redraw(size(), Label2->text(), look());
    needle();
    update();
    if (panel_.isVisible())
        panel_.activateWindow();
    redrawing_ = false;
}

void ANALOG::onFrameShown()
{
    // A resize during a link loss, with the same function and range once
    // the meter is back, would otherwise leave the old small dial in the
    // corner of the larger window.
    if (redrawDue_)
        redraw();
}

void ANALOG::onText1Change()
{
    needle();
}

void ANALOG::needle()
{
    if (Text1->text().isEmpty() || isMinimized())
        return;
    // The labels are brought up to date before they are judged: a dial
    // opened before the first reading would otherwise never get its
    // function and range, and so never a needle.
    copyPanelLabels();
    if (Label1->text().isEmpty() || Label2->text().isEmpty())
        return;
    picture_.drawNeedle(needleAngle(Text1->text(), panel_.LBLRAN->text()));
    update();
}

void ANALOG::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), dialFaceColor());
    painter.drawImage(QPoint(0, 0), picture_.image());
}

void ANALOG::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    redraw();
}

void ANALOG::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        panel_.activateWindow();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ANALOG::closeEvent(QCloseEvent *event)
{
    hide();
    panel_.shared().analogOn = 0;
    event->accept();
    Q_EMIT unloaded();
}

} // namespace views
