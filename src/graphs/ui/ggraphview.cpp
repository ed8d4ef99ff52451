#include "graphs/ui/ggraphview.h"

#include <QMouseEvent>
#include <QPainter>

namespace graphs {

namespace {
// The client area as designed: 5250 x 2760 twips at 15 twips a pixel.
constexpr QSize designClient(350, 184);
} // namespace

GGraphView::GGraphView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GGraphView::setPicture(const QImage *picture)
{
    picture_ = picture;
    update();
}

QSize GGraphView::sizeHint() const
{
    return designClient;
}

void GGraphView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (picture_ && !picture_->isNull())
        painter.drawImage(QPoint(0, 0), *picture_);
}

void GGraphView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Q_EMIT resized();
}

void GGraphView::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT doubleClicked();
}

} // namespace graphs
