#pragma once

#include "platform/devices.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class QTableView;

namespace live {

class PortTableModel;

// "Devices...": every serial port detected now, and the device behind COM1
// and COM2. A listed port can be assigned to either, or any path typed (a
// pseudo-terminal, "emulator"). Refresh, and each opening, list what is
// there at that moment.
class DevicesDialog : public QDialog
{
    Q_OBJECT
public:
    DevicesDialog(const platform::PortLister &lister, const QString &com1Device,
                  const QString &com2Device, QWidget *parent = nullptr);

    // The device assigned to port 1 or 2, as shown in its field.
    QString device(int comNumber) const;
    void setDevice(int comNumber, const QString &device);

    void refresh();

    QTableView *table;
    QComboBox *com1;
    QComboBox *com2;
    QPushButton *toCom1; // the selected port becomes COM1
    QPushButton *toCom2;
    QPushButton *refreshButton;

private:
    QComboBox *field(int comNumber) const { return comNumber == 2 ? com2 : com1; }
    void assignSelected(int comNumber);

    const platform::PortLister &lister_;
    PortTableModel *model_;
};

} // namespace live
