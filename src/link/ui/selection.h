#pragma once

#include "platform/devices.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace live {

// The start-up window "SELECTION": which serial port the meter hangs on.
// Beside each button, in a small font, the device it stands for; a
// remembered device that is gone is named there too, greyed. With no
// serial port detected at all it says so and offers the emulator.
class SELECTION : public QWidget
{
    Q_OBJECT
public:
    explicit SELECTION(QWidget *parent = nullptr);

    // What the buttons stand for now; `portsDetected` is false when the
    // system lists no serial port at all.
    void showDevices(const platform::DeviceChoice &com1, const platform::DeviceChoice &com2,
                     bool portsDetected);

    QPushButton *CMD1; // "COM1"
    QPushButton *CMD2; // "COM2"
    QPushButton *CMDDEVICES; // "Devices..."
    QPushButton *CMDEMULATOR; // offered when no port is detected
    QLabel *LBLDEVICE1, *LBLDEVICE2; // the device behind each button
    QLabel *LBLGONE1, *LBLGONE2;     // a remembered device that is not present
    QLabel *LBLNOPORT;               // "No serial port was found..."

Q_SIGNALS:
    // The user chose port 1 or 2.
    void portChosen(int portNumber);
    void devicesRequested();
    void emulatorRequested();
};

} // namespace live
