#include "recording/recordlistmodel.h"

#include <cstring>
#include <limits>

namespace recording {

namespace {

const std::array<QByteArray, RecordListModel::ColumnCount> captionBytes = {
    QByteArrayLiteral(" REC "),   QByteArrayLiteral("  DATE"), QByteArrayLiteral("  TIME"),
    QByteArrayLiteral(" VALUE"),  QByteArrayLiteral(" UNIT "), QByteArrayLiteral("  RANGE "),
    QByteArrayLiteral("A/D"),     QByteArrayLiteral(" BAT "),
};

constexpr qsizetype rowLimit = std::numeric_limits<int>::max() - 1;

RecordListModel::Cells splitCells(const char *row, qsizetype length)
{
    RecordListModel::Cells cells{};
    const char *const end = row + length;
    const char *begin = row;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        const auto *tab = static_cast<const char *>(std::memchr(begin, '\t', std::size_t(end - begin)));
        const char *cellEnd = tab ? tab : end;
        cells[column] = QLatin1StringView(begin, cellEnd - begin);
        if (!tab)
            break;
        begin = tab + 1;
    }
    return cells;
}

} // namespace

RecordListModel::RecordListModel(QObject *parent) : QAbstractTableModel(parent) {}

RecordListModel::~RecordListModel() = default;

const std::array<QString, RecordListModel::ColumnCount> &RecordListModel::captions()
{
    static const std::array<QString, ColumnCount> texts = [] {
        std::array<QString, ColumnCount> result;
        for (std::size_t i = 0; i < result.size(); ++i)
            result[i] = QString::fromLatin1(captionBytes[i]);
        return result;
    }();
    return texts;
}

RecordListModel::Cells RecordListModel::rowCells(qint64 row) const
{
    if (row == 0) {
        Cells cells;
        for (std::size_t i = 0; i < cells.size(); ++i)
            cells[i] = QLatin1StringView(captionBytes[i]);
        return cells;
    }
    if (row < 0 || row > recordCount())
        return Cells{};
    const ItemSpan &span = rows_[static_cast<std::size_t>(row - 1)];
    return splitCells(text_.constData() + span.begin, span.length);
}

QLatin1StringView RecordListModel::cellView(qint64 row, int column) const
{
    if (column < 0 || column >= ColumnCount)
        return {};
    return rowCells(row)[static_cast<std::size_t>(column)];
}

QString RecordListModel::cell(qint64 row, int column) const
{
    return QString(cellView(row, column));
}

common::DataRecord RecordListModel::record(qint64 row) const
{
    const Cells cells = rowCells(row);
    common::DataRecord result;
    for (int column = 0; column < ColumnCount; ++column)
        result[column] = QString(cells[static_cast<std::size_t>(column)]);
    return result;
}

qsizetype RecordListModel::appendFileText(const QByteArray &text)
{
    const qsizetype before = recordCount();
    const qsizetype offset = text_.size();
    std::vector<ItemSpan> items;
    splitItems(text, items, offset);
    if (items.empty())
        return 0;
    const qsizetype room = rowLimit - before;
    if (qsizetype(items.size()) > room)
        items.resize(static_cast<std::size_t>(room));
    if (text_.isEmpty())
        text_ = text; // shares the bytes: no copy of a big file
    else
        text_.append(text);
    beginInsertRows({}, int(before), int(before + qsizetype(items.size()) - 1));
    if (rows_.empty())
        rows_ = std::move(items);
    else
        rows_.insert(rows_.end(), items.begin(), items.end());
    endInsertRows();
    return recordCount() - before;
}

void RecordListModel::appendRow(const QStringList &cells)
{
    if (recordCount() >= rowLimit)
        return;
    const QByteArray row = cells.join(QLatin1Char('\t')).toLatin1();
    const int at = recordCount();
    beginInsertRows({}, at, at);
    rows_.push_back({text_.size(), row.size()});
    text_.append(row);
    endInsertRows();
}

void RecordListModel::appendRecord(const common::DataRecord &record)
{
    appendRow(QStringList(record.fields.begin(), record.fields.end()));
}

void RecordListModel::clear()
{
    beginResetModel();
    text_ = QByteArray();
    rows_ = {};
    ++generation_;
    endResetModel();
}

int RecordListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : recordCount();
}

int RecordListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RecordListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || role != Qt::DisplayRole)
        return {};
    if (index.row() >= recordCount() || index.column() >= ColumnCount)
        return {};
    return cell(index.row() + 1, index.column());
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < ColumnCount ? captions()[std::size_t(section)] : QVariant();
    return section + 1;
}

} // namespace recording
