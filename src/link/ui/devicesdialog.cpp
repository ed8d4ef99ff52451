#include "link/ui/devicesdialog.h"

#include "link/ui/porttablemodel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace live {

namespace {
QComboBox *deviceField(QWidget *parent, const char *name)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(24);
    return box;
}
} // namespace

DevicesDialog::DevicesDialog(const platform::PortLister &lister, const QString &com1Device,
                             const QString &com2Device, QWidget *parent)
    : QDialog(parent)
    , lister_(lister)
    , model_(new PortTableModel(this))
{
    setWindowTitle(tr("Devices"));
    setObjectName(QStringLiteral("DEVICES"));
    table = new QTableView(this);
    table->setModel(model_);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    com1 = deviceField(this, "com1");
    com2 = deviceField(this, "com2");
    toCom1 = new QPushButton(tr("Use for COM1"), this);
    toCom2 = new QPushButton(tr("Use for COM2"), this);
    refreshButton = new QPushButton(tr("Refresh"), this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *assign = new QHBoxLayout;
    assign->addWidget(toCom1);
    assign->addWidget(toCom2);
    assign->addStretch(1);
    assign->addWidget(refreshButton);
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("COM1"), com1);
    fields->addRow(QStringLiteral("COM2"), com2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table, 1);
    layout->addLayout(assign);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    resize(620, 340);

    connect(toCom1, &QPushButton::clicked, this, [this] { assignSelected(1); });
    connect(toCom2, &QPushButton::clicked, this, [this] { assignSelected(2); });
    connect(refreshButton, &QPushButton::clicked, this, &DevicesDialog::refresh);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    refresh();
    setDevice(1, com1Device);
    setDevice(2, com2Device);
}

QString DevicesDialog::device(int comNumber) const
{
    return field(comNumber)->currentText().trimmed();
}

void DevicesDialog::setDevice(int comNumber, const QString &device)
{
    field(comNumber)->setCurrentText(device);
}

void DevicesDialog::refresh()
{
    model_->setPorts(lister_.ports());
    QStringList choices;
    for (const platform::DetectedPort &port : model_->ports())
        choices.append(port.device);
    choices.append(platform::emulatorDeviceName);
    for (QComboBox *box : {com1, com2}) {
        const QString typed = box->currentText();
        box->clear();
        box->addItems(choices);
        box->setCurrentText(typed);
    }
    const bool any = !model_->ports().isEmpty();
    toCom1->setEnabled(any);
    toCom2->setEnabled(any);
    if (any)
        table->selectRow(0);
}

void DevicesDialog::assignSelected(int comNumber)
{
    const QModelIndex current = table->currentIndex();
    if (current.isValid())
        setDevice(comNumber, model_->ports().at(current.row()).device);
}

} // namespace live
