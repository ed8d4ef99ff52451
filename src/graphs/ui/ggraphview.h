#pragma once

#include <QImage>
#include <QWidget>

namespace graphs {

// The client area of the live graph window: shows the chart's picture and
// reports its resizes and double clicks to the window.
class GGraphView : public QWidget
{
    Q_OBJECT
public:
    explicit GGraphView(QWidget *parent = nullptr);

    // The picture to show (not owned; it must outlive the view or be reset).
    void setPicture(const QImage *picture);

    QSize sizeHint() const override;

Q_SIGNALS:
    void resized();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    const QImage *picture_ = nullptr;
};

} // namespace graphs
