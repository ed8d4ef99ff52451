#include "link/ui/selection.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace live {

namespace {
constexpr int twipsPerPixel = 15;

QString deviceTip(const QString &device)
{
    if (device == platform::emulatorDeviceName)
        return QObject::tr("The built-in meter emulator");
    return QObject::tr("Serial device %1").arg(device);
}

QLabel *smallLabel(QWidget *parent, const char *name, bool greyed)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    if (greyed)
        label->setEnabled(false); // drawn in the style's disabled colour
    return label;
}

void showDevice(QPushButton *button, QLabel *device, QLabel *gone,
                const platform::DeviceChoice &choice)
{
    button->setToolTip(deviceTip(choice.device));
    device->setText(platform::deviceCaption(choice.device, choice.description));
    gone->setText(QObject::tr("%1 (not present)").arg(choice.missingRemembered));
    gone->setVisible(!choice.missingRemembered.isEmpty());
}
} // namespace

SELECTION::SELECTION(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("SELECTION"));
    setObjectName(QStringLiteral("SELECTION"));
    CMD1 = new QPushButton(QStringLiteral("COM1"), this);
    CMD2 = new QPushButton(QStringLiteral("COM2"), this);
    CMD1->setObjectName(QStringLiteral("CMD1"));
    CMD2->setObjectName(QStringLiteral("CMD2"));
    for (QPushButton *button : {CMD1, CMD2})
        button->setMinimumSize(110, 44);
    CMDDEVICES = new QPushButton(tr("Devices..."), this);
    CMDDEVICES->setObjectName(QStringLiteral("CMDDEVICES"));
    CMDEMULATOR = new QPushButton(tr("Use the emulator"), this);
    CMDEMULATOR->setObjectName(QStringLiteral("CMDEMULATOR"));
    LBLDEVICE1 = smallLabel(this, "LBLDEVICE1", false);
    LBLDEVICE2 = smallLabel(this, "LBLDEVICE2", false);
    LBLGONE1 = smallLabel(this, "LBLGONE1", true);
    LBLGONE2 = smallLabel(this, "LBLGONE2", true);
    LBLNOPORT = smallLabel(this, "LBLNOPORT", false);
    LBLNOPORT->setText(tr("No serial port was found. Connect the meter's cable and use "
                          "Devices..., or try the program with the built-in emulator."));
    LBLNOPORT->setWordWrap(true);

    auto *layout = new QGridLayout(this);
    layout->addWidget(CMD1, 0, 0, 2, 1);
    layout->addWidget(LBLDEVICE1, 0, 1);
    layout->addWidget(LBLGONE1, 1, 1);
    layout->addWidget(CMD2, 2, 0, 2, 1);
    layout->addWidget(LBLDEVICE2, 2, 1);
    layout->addWidget(LBLGONE2, 3, 1);
    layout->addWidget(LBLNOPORT, 4, 0, 1, 2);
    layout->addWidget(CMDEMULATOR, 5, 0);
    layout->addWidget(CMDDEVICES, 5, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);

    showDevices({QStringLiteral("/dev/ttyS0"), {}, {}}, {QStringLiteral("/dev/ttyS1"), {}, {}}, true);
    move(3700 / twipsPerPixel, 2700 / twipsPerPixel);
    connect(CMD1, &QPushButton::clicked, this, [this] { Q_EMIT portChosen(1); });
    connect(CMD2, &QPushButton::clicked, this, [this] { Q_EMIT portChosen(2); });
    connect(CMDDEVICES, &QPushButton::clicked, this, &SELECTION::devicesRequested);
    connect(CMDEMULATOR, &QPushButton::clicked, this, &SELECTION::emulatorRequested);
}

void SELECTION::showDevices(const platform::DeviceChoice &com1, const platform::DeviceChoice &com2,
                            bool portsDetected)
{
    showDevice(CMD1, LBLDEVICE1, LBLGONE1, com1);
    showDevice(CMD2, LBLDEVICE2, LBLGONE2, com2);
    LBLNOPORT->setVisible(!portsDetected);
    CMDEMULATOR->setVisible(!portsDetected);
}

} // namespace live
