#pragma once

#include "common/datarecord.h"
#include "recording/datafileitems.h"
#include "recording/minmaxpyramid.h"
#include "recording/rowindexing.h"
#include "recording/rowstarts.h"
#include "recording/rowtext.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QLatin1StringView>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace recording {

// The rows of a record list: the opened-file list and the downloaded-record
// list. Eight text columns under a caption row.
//
// Rows are kept as the bytes they were read from (a data file stays mapped,
// not copied) and, per row, only where it begins: its end and its cells are
// found when the row is asked for, so any row answers at once (a binary
// search among the few pieces a file was read in) and a list of ten million
// lines costs little more than 4 bytes a row.
//
// Row numbers follow the lists' grid: row 0 is the caption row and rows 1 to
// recordCount() are the records, so a record number is a row number. The Qt
// model shows the records only (model row r is record r + 1) under the
// captions as its horizontal header.
//
// For the graphs the list also keeps, per block of rows, the lowest and
// highest key of a RowValuer (see keySpan): a graph then finds the extremes
// of any span of rows without reading every row.
class RecordListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int ColumnCount = cellCount;
    using Cells = RowCells;

    explicit RecordListModel(QObject *parent = nullptr);
    ~RecordListModel() override;

    // " REC ", "  DATE", "  TIME", " VALUE", " UNIT ", "  RANGE ", "A/D", " BAT ".
    static const std::array<QString, ColumnCount> &captions();

    int recordCount() const { return static_cast<int>(records_); }

    // The text of a cell; row 0 gives the caption, a row or column that does
    // not exist the empty text.
    QString cell(qint64 row, int column) const;
    // The same without copying; valid until the list next changes.
    QLatin1StringView cellView(qint64 row, int column) const;
    Cells rowCells(qint64 row) const;
    common::DataRecord record(qint64 row) const;
    // Calls visit(row, cells) for rows first..last (clamped to the records)
    // in order: the text is asked for once per file, not once a row, which
    // is what a walk over millions of rows (an export) needs.
    void forEachRow(qint64 first, qint64 last,
                    const std::function<void(qint64 row, const Cells &cells)> &visit) const;

    // Appends the items of a data file's text as records (forEachItem's rules).
    // Returns how many were added.
    qsizetype appendFileText(const QByteArray &text);
    // The same for text the list keeps a hold of (a mapped file), split on
    // every core as `how` says (its valuer is this list's).
    qsizetype appendFileText(std::shared_ptr<const RowText> text, RowIndexing how = {});
    // Appends one record from its cells (a tab inside a cell splits it, as
    // a grid's row append does).
    void appendRow(const QStringList &cells);
    // Appends records from their tab-separated texts, in one insertion.
    void appendRows(const QStringList &rowTexts);
    // The same for texts laid end to end in `text`: row i runs from
    // starts[i] (ascending from 0) to the next row's start or the end.
    void appendJoinedRows(QByteArrayView text, const std::vector<qsizetype> &starts);
    // Removes every record.
    void clear();
    // Changes at every clear(): work that spans events (a printout) checks it
    // to notice that the list it was reading is gone.
    quint64 generation() const { return generation_; }

    // The key the list's graph orders rows by. Keys are worked out at the
    // first keySpan (on every core); from then on rows read get their keys
    // while they are read.
    void setRowValuer(RowValuer valuer) { valuer_ = valuer; }
    RowValuer rowValuer() const { return valuer_; }
    // The key of a row (0, the caption row, included).
    double rowKey(qint64 row, RowValuer valuer) const
    {
        return valuer(cellsAt(row, RowText::SizeCheck::Recent));
    }
    // The lowest and highest key of rows first..last (0 <= first <= last <=
    // recordCount()). Keys of another valuer than the list's are worked out
    // at the first call.
    KeySpan keySpan(qint64 first, qint64 last, RowValuer valuer) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // Rows cut from one text. Items of a file end where the item rules say;
    // rows appended one by one follow each other, each ending where the
    // next begins.
    struct Segment
    {
        std::shared_ptr<const RowText> text;
        RowStarts starts;
        qint64 firstRecord = 0; // grid row of its first row
        bool contiguous = false;
    };
    const Segment *segmentOf(qint64 row) const;
    static Cells cellsIn(const Segment &segment, QByteArrayView text, qsizetype at);
    Cells cellsAt(qint64 row, RowText::SizeCheck check) const;
    void checkSizes(RowText::SizeCheck check) const;
    void ensureKeys(RowValuer valuer) const;
    void appendKeys(const Segment &segment, qsizetype from, RowValuer valuer) const;
    MinMaxPyramid *keysToExtend();

    std::vector<Segment> segments_; // rows are never added from a view's slot: no reallocation under a join
    std::shared_ptr<HeldRowText> appended_; // the text of the last segment, when contiguous
    qint64 records_ = 0;
    quint64 generation_ = 0;
    RowValuer valuer_ = nullptr;
    mutable MinMaxPyramid keys_; // one key per grid row, from row 0
    mutable RowValuer keysValuer_ = nullptr;
};

} // namespace recording
