// The look of the logger window: each command button beside the value it
// reads or writes, the memory figures above, the set list below.

#include "logger/ui/logger.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace logger {

namespace {

const QString serifFamily = QStringLiteral("Liberation Serif"); // Times New Roman
const QString sansFamily = QStringLiteral("Liberation Sans");   // Arial

QFont serif(int pointSize, bool bold = false)
{
    QFont font(serifFamily, pointSize);
    font.setBold(bold);
    return font;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption = {})
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(serif(10));
    return label;
}

// A label that shows a value: sunken, so that an empty value still shows.
QLabel *makeValueLabel(QWidget *parent, const char *name)
{
    QLabel *label = makeLabel(parent, name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(110);
    return label;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(serif(10, true));
    button->setMinimumHeight(28);
    return button;
}

QLineEdit *makeBox(QWidget *parent, const char *name, const QString &family)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setFont(QFont(family, 10));
    return box;
}

} // namespace

void LOGGER::buildControls()
{
    SSCommand1 = makeButton(this, "SSCommand1", QStringLiteral("NO.S OF SET"));
    SSCommand2 = makeButton(this, "SSCommand2", QStringLiteral("TIME OF RECORDING"));
    SSCommand3 = makeButton(this, "SSCommand3", QStringLiteral("SHOW DATA"));
    SSCommand4 = makeButton(this, "SSCommand4", QStringLiteral("ID CODE"));
    SSCommand5 = makeButton(this, "SSCommand5", QStringLiteral("SAMPLING"));
    SSCommand6 = makeButton(this, "SSCommand6", QStringLiteral("TIME OF METER"));

    Label9 = makeLabel(this, "Label9", QStringLiteral("MEMORY"));
    Label10 = makeLabel(this, "Label10", QStringLiteral("NO.S OF RECORDS"));
    Label11 = makeLabel(this, "Label11", QStringLiteral("SELECT NO OF SET"));
    Label12 = makeLabel(this, "Label12", QStringLiteral("REMAINING"));

    Label1 = makeLabel(this, "Label1");
    Label1->setFont(serif(11, true));
    Label2 = makeValueLabel(this, "Label2");
    Label3 = makeValueLabel(this, "Label3");
    Label4 = makeValueLabel(this, "Label4");
    Label5 = makeValueLabel(this, "Label5");
    Label6 = makeValueLabel(this, "Label6");
    Label8 = makeLabel(this, "Label8");

    Text1 = makeBox(this, "Text1", serifFamily);
    Text2 = makeBox(this, "Text2", sansFamily);
    Text3 = makeBox(this, "Text3", sansFamily);

    Grid1 = new QTableView(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setModel(&setList_);
    Grid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->verticalHeader()->setVisible(false);
    Grid1->horizontalHeader()->setStretchLastSection(true);
    Grid1->setFont(serif(10));

    LBLFUN = makeLabel(this, "LBLFUN");
    LBLRAN = makeLabel(this, "LBLRAN");
    LBLFUN->hide();
    LBLRAN->hide();
}

void LOGGER::buildLayout()
{
    auto *figures = new QGridLayout;
    figures->addWidget(Label9, 0, 0);
    figures->addWidget(Label4, 0, 1);
    figures->addWidget(Label12, 0, 2);
    figures->addWidget(Label6, 0, 3);
    figures->addWidget(Label11, 1, 0);
    figures->addWidget(Text1, 1, 1);
    figures->addWidget(Label10, 1, 2);
    figures->addWidget(Label5, 1, 3);

    auto *commands = new QGridLayout;
    commands->addWidget(SSCommand1, 0, 0);
    commands->addWidget(Label2, 0, 1);
    commands->addWidget(SSCommand4, 0, 2);
    commands->addWidget(Text3, 0, 3);
    commands->addWidget(SSCommand2, 1, 0);
    commands->addWidget(SSCommand6, 1, 2);
    commands->addWidget(Label3, 1, 3);
    commands->addWidget(SSCommand3, 2, 0);
    commands->addWidget(SSCommand5, 2, 2);
    commands->addWidget(Text2, 2, 3);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(figures);
    layout->addLayout(commands);
    layout->addWidget(Label1);
    layout->addWidget(Label8);
    layout->addWidget(Grid1, 1);
    resize(560, 420);
}

} // namespace logger
