#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace logger {

// The logger window's set list (Grid1): one row per recorded set, the set
// number and the start of the set. Rows are appended as tab-separated
// texts, the way the list is filled; the caption row is the header.
class SetListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { SetNumber, Start, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Appends rows after those already listed.
    void appendRows(const QStringList &tabTexts);
    void clear();

    // The text of a cell; empty outside the list.
    QString cell(int row, int column) const;

private:
    QStringList rows_;
};

} // namespace logger
