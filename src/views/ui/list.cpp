#include "views/ui/list.h"

#include "common/numbers.h"
#include "link/feeds.h"
#include "link/ui/panel.h"
#include "views/placement.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>

namespace views {

namespace {
constexpr int designWidth = 520;
constexpr int designRows = 16;
} // namespace

LIST::LIST(live::PANEL &panel, QWidget *parent)
    : QWidget(parent)
    , panel_(panel)
{
    setObjectName(QStringLiteral("LIST"));
    setWindowTitle(QStringLiteral("LIST"));

    ListLabel = new QLabel(
        QStringLiteral("Date              Time           Unit        Range              Value"), this);
    ListLabel->setObjectName(QStringLiteral("ListLabel"));
    Label1 = new QLabel(
        QStringLiteral("00/00/00  12:00:00     DCV      400mV           120.0"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ListLabel->setGeometry(0, 0, designWidth, rowHeight());
    Label1->setGeometry(0, rowHeight(), designWidth, rowHeight());

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();
    connect(Text1, &QLineEdit::textChanged, this, &LIST::onText1Change);

    Lbl.push_back(makeRow());
    resize(designWidth, designRows * rowHeight());
}

LIST::~LIST() = default;

int LIST::rowHeight() const
{
    return fontMetrics().height() + 2;
}

QLabel *LIST::makeRow()
{
    auto *row = new QLabel(this);
    row->setObjectName(QStringLiteral("Lbl%1").arg(Lbl.size()));
    row->setGeometry(0, (2 + static_cast<int>(Lbl.size())) * rowHeight(), width(), rowHeight());
    row->show();
    return row;
}

void LIST::load()
{
    move(listPosition(panel_.frameGeometry(), panel_.shared().graphFeedOn == 1));
    showRows();
}

void LIST::onResize()
{
    rows_.resize(height(), rowHeight());
    while (static_cast<int>(Lbl.size()) < rows_.rowCount())
        Lbl.push_back(makeRow());
    for (QLabel *row : Lbl)
        row->resize(width(), rowHeight());
    showRows();
    panel_.activateWindow();
}

void LIST::showRows()
{
    for (int i = 0; i < static_cast<int>(Lbl.size()); ++i) {
        QLabel *row = Lbl[static_cast<std::size_t>(i)];
        row->setText(rows_.caption(i));
        row->setFrameStyle(i == rows_.framedRow() ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
        row->setVisible(true);
    }
}

void LIST::onText1Change()
{
    const QString text = Text1->text();
    if (text.isEmpty())
        return;
    const QDate date = live::listFeedDate(text, panel_.platform().clock->now());
    rows_.addLine(text, date, common::systemDateSeparator());
    showRows();
}

void LIST::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    onResize();
}

void LIST::closeEvent(QCloseEvent *event)
{
    panel_.shared().listFeedOn = 0;
    event->accept();
    Q_EMIT unloaded();
}

} // namespace views
