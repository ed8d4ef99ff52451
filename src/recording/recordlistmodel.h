#pragma once

#include "common/datarecord.h"
#include "recording/datafileitems.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QLatin1StringView>
#include <QStringList>

#include <array>
#include <vector>

namespace recording {

// The rows of a record list: the opened-file list and the downloaded-record
// list. Eight text columns under a caption row.
//
// Rows are stored compactly: every row text lives in one Latin-1 byte
// buffer, and a row is a span of it whose tab-separated pieces are its cells
// (pieces beyond the eighth are ignored, missing ones are empty). A file
// read in is kept as its own bytes, so a list of a million lines costs
// little more than the file.
//
// Row numbers follow the lists' grid: row 0 is the caption row and rows 1 to
// recordCount() are the records, so a record number is a row number. The Qt
// model shows the records only (model row r is record r + 1) under the
// captions as its horizontal header.
class RecordListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int ColumnCount = 8;
    using Cells = std::array<QLatin1StringView, ColumnCount>;

    explicit RecordListModel(QObject *parent = nullptr);
    ~RecordListModel() override;

    // " REC ", "  DATE", "  TIME", " VALUE", " UNIT ", "  RANGE ", "A/D", " BAT ".
    static const std::array<QString, ColumnCount> &captions();

    int recordCount() const { return static_cast<int>(rows_.size()); }

    // The text of a cell; row 0 gives the caption, a row or column that does
    // not exist the empty text.
    QString cell(qint64 row, int column) const;
    // The same without copying; valid until the list next changes.
    QLatin1StringView cellView(qint64 row, int column) const;
    Cells rowCells(qint64 row) const;
    common::DataRecord record(qint64 row) const;

    // Appends the items of a data file's text as records (splitItems rules).
    // Returns how many were added.
    qsizetype appendFileText(const QByteArray &text);
    // Appends one record from its cells (a tab inside a cell splits it, as
    // a grid's row append does).
    void appendRow(const QStringList &cells);
    void appendRecord(const common::DataRecord &record);
    // Removes every record.
    void clear();
    // Changes at every clear(): work that spans events (a printout) checks it
    // to notice that the list it was reading is gone.
    quint64 generation() const { return generation_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QByteArray text_;
    std::vector<ItemSpan> rows_;
    quint64 generation_ = 0;
};

} // namespace recording
