#pragma once

#include "platform/devices.h"

#include <QAbstractTableModel>

namespace live {

// The detected serial ports as a table: device, description, manufacturer,
// VID:PID and serial number.
class PortTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setPorts(const QList<platform::DetectedPort> &ports);
    const QList<platform::DetectedPort> &ports() const { return ports_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<platform::DetectedPort> ports_;
};

} // namespace live
