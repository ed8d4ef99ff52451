#pragma once

#include <QLabel>

namespace live {

// A heading label that answers a click (the sampling-time heading).
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace live
