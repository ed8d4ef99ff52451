#include "link/ui/porttablemodel.h"

namespace live {

namespace {
enum Column { Device, Description, Manufacturer, VidPid, Serial, ColumnCount };
}

void PortTableModel::setPorts(const QList<platform::DetectedPort> &ports)
{
    beginResetModel();
    ports_ = ports;
    endResetModel();
}

int PortTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(ports_.size());
}

int PortTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PortTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= ports_.size())
        return {};
    const platform::DetectedPort &port = ports_.at(index.row());
    switch (index.column()) {
    case Device: return port.device;
    case Description: return port.description;
    case Manufacturer: return port.manufacturer;
    case VidPid: return port.vidPid;
    case Serial: return port.serialNumber;
    default: return {};
    }
}

QVariant PortTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    switch (section) {
    case Device: return tr("Device");
    case Description: return tr("Description");
    case Manufacturer: return tr("Manufacturer");
    case VidPid: return tr("VID:PID");
    case Serial: return tr("Serial number");
    default: return {};
    }
}

} // namespace live
