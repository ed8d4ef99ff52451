// The look of the main window: a display that reads like the meter's own
// (a large, high-contrast value with function, range and indicators around
// it) beside the buttons, grouped by what they do.

#include "link/ui/clickablelabel.h"
#include "link/ui/panel.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace live {

namespace {

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text = {})
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setMinimumHeight(30);
    return button;
}

QFont displayFont(int pointSize, bool bold = false)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

QWidget *captioned(const QString &caption, QLabel *value, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *heading = new QLabel(caption, box);
    heading->setProperty("role", QStringLiteral("heading"));
    layout->addWidget(heading);
    layout->addWidget(value);
    layout->addStretch(1); // keeps the heading on its value
    return box;
}

} // namespace

void PANEL::buildControls()
{
    LBLFUN = makeLabel(this, "LBLFUN");
    LBLRAN = makeLabel(this, "LBLRAN");
    LBLVALUE = makeLabel(this, "LBLVALUE");
    LBLAD = makeLabel(this, "LBLAD");
    // Empty until the meter says otherwise: a caption here would claim a
    // low battery before any frame came.
    LBLAUTO = makeLabel(this, "LBLAUTO");
    LBLBAT = makeLabel(this, "LBLBAT");
    LABELMIN = makeLabel(this, "LABELMIN", QStringLiteral("MIN"));
    LABELMAX = makeLabel(this, "LABELMAX", QStringLiteral("MAX"));
    Label2 = makeLabel(this, "Label2", QStringLiteral("REL"));
    LBLMAX = makeLabel(this, "LBLMAX");
    LBLMIN = makeLabel(this, "LBLMIN");
    LBLTIME = makeLabel(this, "LBLTIME");
    LBLSAMPLE = makeLabel(this, "LBLSAMPLE");
    LBLCOMM = makeLabel(this, "LBLCOMM", QStringLiteral("NO COM"));
    LBLFILE = makeLabel(this, "LBLFILE");
    Label5 = makeLabel(this, "Label5", QStringLiteral("RECORDING"));
    Label1 = makeLabel(this, "Label1", QStringLiteral("0"));
    Label8 = new ClickableLabel(QStringLiteral("SAMPLINGTIME"), this);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setCursor(Qt::PointingHandCursor);
    Label8->setToolTip(tr("Click to set the sampling time"));

    for (QLabel *indicator : {LABELMIN, LABELMAX, Label2, Label5, Label1})
        indicator->setVisible(false);

    CMDUPDATE = makeButton(this, "CMDUPDATE", QStringLiteral("UPDATE"));
    CMDSYSTEM = makeButton(this, "CMDSYSTEM", QStringLiteral("SYSTEM TIME SET"));
    CMDMEMORY = makeButton(this, "CMDMEMORY", QStringLiteral("MEMORY"));
    CMDSTART = makeButton(this, "CMDSTART", QStringLiteral("START RECORDING"));
    CMDSTOP = makeButton(this, "CMDSTOP", QStringLiteral("STOP RECORDING"));
    CMDPC = makeButton(this, "CMDPC", QStringLiteral("PC SAMPLING"));
    CMDSAVE = makeButton(this, "CMDSAVE", QStringLiteral("SAVE AS"));
    CMDOPEN = makeButton(this, "CMDOPEN", QStringLiteral("OPEN FILE"));
    CMDANALOG = makeButton(this, "CMDANALOG", QStringLiteral("ANALOG"));
    CMDLIST = makeButton(this, "CMDLIST", QStringLiteral("LIST"));
    CMDGRAPH = makeButton(this, "CMDGRAPH", QStringLiteral("GRAPH"));
    CMDRESET = makeButton(this, "CMDRESET", QStringLiteral("<--RESET-->"));
    CMDTEST = makeButton(this, "CMDTEST", QStringLiteral("TEST"));

    CMDSTOP->setEnabled(false);
    CMDPC->setEnabled(false);
    CMDPC->setVisible(false);
}

void PANEL::buildLayout()
{
    auto *display = new QWidget(this);
    display->setObjectName(QStringLiteral("display"));
    display->setAttribute(Qt::WA_StyledBackground);
    display->setStyleSheet(QStringLiteral(
        "#display { background: #0d1b14; border-radius: 8px; }"
        "#display QLabel { color: #7dffb0; }"
        "#display QLabel[role=\"heading\"] { color: #5f9f7a; font-size: 8pt; }"
        "#display QLabel#LBLVALUE { color: #d6ffe6; }"
        "#display QLabel#LBLBAT, #display QLabel#Label2 { color: #ffb347; }"));

    LBLVALUE->setFont(displayFont(44, true));
    LBLVALUE->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LBLVALUE->setMinimumWidth(300);
    LBLFUN->setFont(displayFont(20, true));
    for (QLabel *label : {LBLRAN, LBLAD, LBLAUTO, LBLBAT, LABELMIN, LABELMAX, Label2})
        label->setFont(displayFont(12, true));
    for (QLabel *label : {LBLMAX, LBLMIN, LBLTIME, LBLSAMPLE, LBLCOMM})
        label->setFont(displayFont(13));

    auto *grid = new QGridLayout(display);
    grid->setContentsMargins(14, 10, 14, 10);
    grid->addWidget(LBLAD, 0, 0);
    grid->addWidget(LBLAUTO, 0, 1);
    grid->addWidget(LABELMIN, 0, 2);
    grid->addWidget(LABELMAX, 0, 3);
    grid->addWidget(Label2, 0, 4);
    grid->addWidget(LBLBAT, 0, 5, Qt::AlignRight);
    grid->addWidget(captioned(QStringLiteral("VALUE"), LBLVALUE, display), 1, 0, 1, 5);
    grid->addWidget(captioned(QStringLiteral("FUNCTION"), LBLFUN, display), 1, 5);
    grid->addWidget(captioned(QStringLiteral("RANGE"), LBLRAN, display), 2, 5);
    grid->addWidget(captioned(QStringLiteral("MAX"), LBLMAX, display), 2, 0, 1, 2);
    grid->addWidget(captioned(QStringLiteral("MIN"), LBLMIN, display), 2, 2, 1, 2);
    grid->addWidget(captioned(QStringLiteral("TIME"), LBLTIME, display), 3, 0, 1, 2);
    auto *sampling = new QWidget(display);
    auto *samplingLayout = new QVBoxLayout(sampling);
    samplingLayout->setContentsMargins(0, 0, 0, 0);
    samplingLayout->setSpacing(0);
    Label8->setProperty("role", QStringLiteral("heading"));
    samplingLayout->addWidget(Label8);
    samplingLayout->addWidget(LBLSAMPLE);
    samplingLayout->addStretch(1);
    grid->addWidget(sampling, 3, 2, 1, 2);
    grid->addWidget(LBLCOMM, 3, 5, Qt::AlignRight | Qt::AlignBottom);

    auto *status = new QHBoxLayout;
    status->addWidget(new QLabel(QStringLiteral("FILE NAME"), this));
    status->addWidget(LBLFILE, 1);
    status->addWidget(Label5);
    status->addWidget(Label1);

    // Filled by whoever watches the link (what to check when nothing comes).
    QLabel *hint = makeLabel(this, "LBLHINT");
    hint->setWordWrap(true);
    hint->setVisible(false);

    auto *left = new QVBoxLayout;
    left->addWidget(display, 1);
    left->addWidget(hint);
    left->addWidget(CMDRESET);
    left->addLayout(status);

    const auto group = [this](const QString &title, std::initializer_list<QPushButton *> buttons) {
        auto *box = new QGroupBox(title, this);
        auto *layout = new QVBoxLayout(box);
        for (QPushButton *button : buttons)
            layout->addWidget(button);
        return box;
    };
    auto *right = new QVBoxLayout;
    right->addWidget(group(tr("Live views"), {CMDANALOG, CMDLIST, CMDGRAPH}));
    right->addWidget(group(tr("Recording"), {CMDSTART, CMDSTOP, CMDSAVE, CMDPC, CMDOPEN}));
    right->addWidget(group(tr("Meter"), {CMDMEMORY, CMDSYSTEM, CMDUPDATE, CMDTEST}));
    right->addStretch(1);

    auto *top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(right);
}

} // namespace live
