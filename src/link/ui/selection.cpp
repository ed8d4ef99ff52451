#include "link/ui/selection.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace live {

namespace {
constexpr int twipsPerPixel = 15;

QString deviceTip(const QString &device)
{
    if (device == QLatin1String("emulator"))
        return QObject::tr("The built-in meter emulator");
    return QObject::tr("Serial device %1").arg(device);
}
} // namespace

SELECTION::SELECTION(const QString &com1Device, const QString &com2Device, QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("SELECTION"));
    setObjectName(QStringLiteral("SELECTION"));
    CMD1 = new QPushButton(QStringLiteral("COM1"), this);
    CMD2 = new QPushButton(QStringLiteral("COM2"), this);
    CMD1->setObjectName(QStringLiteral("CMD1"));
    CMD2->setObjectName(QStringLiteral("CMD2"));
    CMD1->setToolTip(deviceTip(com1Device));
    CMD2->setToolTip(deviceTip(com2Device));
    for (QPushButton *button : {CMD1, CMD2})
        button->setMinimumSize(110, 44);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(CMD1);
    layout->addWidget(CMD2);

    move(3700 / twipsPerPixel, 2700 / twipsPerPixel);
    connect(CMD1, &QPushButton::clicked, this, [this] { Q_EMIT portChosen(1); });
    connect(CMD2, &QPushButton::clicked, this, [this] { Q_EMIT portChosen(2); });
}

} // namespace live
