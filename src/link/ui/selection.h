#pragma once

#include <QWidget>

class QPushButton;

namespace live {

// The start-up window "SELECTION": which serial port the meter hangs on.
// Each button's tooltip names the device it stands for.
class SELECTION : public QWidget
{
    Q_OBJECT
public:
    SELECTION(const QString &com1Device, const QString &com2Device, QWidget *parent = nullptr);

    QPushButton *CMD1; // "COM1"
    QPushButton *CMD2; // "COM2"

Q_SIGNALS:
    // The user chose port 1 or 2.
    void portChosen(int portNumber);
};

} // namespace live
