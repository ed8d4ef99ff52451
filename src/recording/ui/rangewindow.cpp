#include "recording/ui/rangewindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace recording {

namespace {

QLabel *makeLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLineEdit *makeBox(const char *name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

RangeWindow::RangeWindow(const QString &caption, QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(caption);
    Label5 = makeLabel("Label5", QStringLiteral("NO OF RECORDS"), this);
    Label1 = makeLabel("Label1", QStringLiteral("FROM"), this);
    Label2 = makeLabel("Label2", QString(), this);
    Label6 = makeLabel("Label6", QStringLiteral("RANGE"), this);
    Label3 = makeLabel("Label3", QStringLiteral("MIN"), this);
    Label4 = makeLabel("Label4", QStringLiteral("MAX"), this);
    TXTT1 = makeBox("TXTT1", this);
    TXTT2 = makeBox("TXTT2", this);
    TXTR1 = makeBox("TXTR1", this);
    TXTR2 = makeBox("TXTR2", this);
    SSCommand1 = new QPushButton(QStringLiteral("OK"), this);
    SSCommand1->setObjectName(QStringLiteral("SSCommand1"));
    SSCommand1->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label5, 0, 0, 1, 4);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(TXTT1, 1, 1);
    grid->addWidget(Label2, 1, 2);
    grid->addWidget(TXTT2, 1, 3);
    grid->addWidget(Label6, 2, 0, 1, 4);
    grid->addWidget(Label3, 3, 0);
    grid->addWidget(TXTR1, 3, 1);
    grid->addWidget(Label4, 3, 2);
    grid->addWidget(TXTR2, 3, 3);
    grid->addWidget(SSCommand1, 4, 0, 1, 4);

    connect(SSCommand1, &QPushButton::clicked, this, &RangeWindow::applyClicked);
}

RangeBoxes RangeWindow::boxes() const
{
    return {TXTT1->text(), TXTT2->text(), TXTR1->text(), TXTR2->text()};
}

void RangeWindow::setBoxes(const RangeBoxes &boxes)
{
    TXTT1->setText(boxes.first);
    TXTT2->setText(boxes.last);
    TXTR1->setText(boxes.minimum);
    TXTR2->setText(boxes.maximum);
}

void RangeWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    Q_EMIT closed();
}

MRANGE::MRANGE(QWidget *parent) : RangeWindow(QStringLiteral("MEMORY_RANGE"), parent)
{
    setObjectName(QStringLiteral("MRANGE"));
}

} // namespace recording
