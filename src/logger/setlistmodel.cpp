#include "logger/setlistmodel.h"

namespace logger {

int SetListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int SetListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString SetListModel::cell(int row, int column) const
{
    if (row < 0 || row >= rows_.size() || column < 0 || column >= ColumnCount)
        return {};
    const QString &text = rows_.at(row);
    const qsizetype tab = text.indexOf(u'\t');
    if (tab < 0)
        return column == SetNumber ? text : QString();
    return column == SetNumber ? text.left(tab) : text.mid(tab + 1);
}

QVariant SetListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::DisplayRole)
        return cell(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && index.column() == SetNumber)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant SetListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case SetNumber:
        return QStringLiteral("SET");
    case Start:
        return QStringLiteral("START OF RECORDING");
    default:
        return {};
    }
}

void SetListModel::appendRows(const QStringList &tabTexts)
{
    if (tabTexts.isEmpty())
        return;
    const int first = int(rows_.size());
    beginInsertRows({}, first, first + int(tabTexts.size()) - 1);
    rows_ += tabTexts;
    endInsertRows();
}

void SetListModel::clear()
{
    if (rows_.isEmpty())
        return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

} // namespace logger
