#include "recording/recordlistmodel.h"

#include <QScopeGuard>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <limits>
#include <utility>

namespace recording {

namespace {

const std::array<QByteArray, RecordListModel::ColumnCount> captionBytes = {
    QByteArrayLiteral(" REC "),   QByteArrayLiteral("  DATE"), QByteArrayLiteral("  TIME"),
    QByteArrayLiteral(" VALUE"),  QByteArrayLiteral(" UNIT "), QByteArrayLiteral("  RANGE "),
    QByteArrayLiteral("A/D"),     QByteArrayLiteral(" BAT "),
};

constexpr qsizetype rowLimit = std::numeric_limits<int>::max() - 1;

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

const RecordListModel::Segment *RecordListModel::segmentOf(qint64 row) const
{
    // A list holds one segment per file opened into it: few.
    const auto after = std::upper_bound(segments_.begin(), segments_.end(), row,
                                        [](qint64 r, const Segment &s) { return r < s.firstRecord; });
    return after == segments_.begin() ? nullptr : &*(after - 1);
}

RecordListModel::Cells RecordListModel::rowCells(qint64 row) const
{
    return cellsAt(row, RowText::SizeCheck::Now);
}

RecordListModel::Cells RecordListModel::cellsAt(qint64 row, RowText::SizeCheck check) const
{
    if (row == 0) {
        Cells cells;
        for (std::size_t i = 0; i < cells.size(); ++i)
            cells[i] = QLatin1StringView(captionBytes[i]);
        return cells;
    }
    if (row < 0 || row > records_)
        return Cells{};
    const Segment *segment = segmentOf(row);
    return cellsIn(*segment, segment->text->bytes(check), row - segment->firstRecord);
}

RecordListModel::Cells RecordListModel::cellsIn(const Segment &segment, QByteArrayView text, qsizetype at)
{
    const qint64 begin = segment.starts[at];
    if (begin > text.size())
        return Cells{}; // the file was cut short under the list
    qint64 end = 0;
    if (!segment.contiguous) {
        Cells cells;
        if (scanPlainLine(text, begin, &cells).plain)
            return cells; // the usual row: a whole line, found in one pass
        end = itemEnd(text, begin);
    } else {
        end = at + 1 < segment.starts.size() ? segment.starts[at + 1] : text.size();
    }
    return splitCells(text.sliced(begin, std::min<qint64>(end, text.size()) - begin));
}

void RecordListModel::forEachRow(qint64 first, qint64 last,
                                 const std::function<void(qint64, const Cells &)> &visit) const
{
    qint64 row = std::max<qint64>(first, 1);
    last = std::min(last, records_);
    while (row <= last) {
        const Segment *segment = segmentOf(row);
        const QByteArrayView text = segment->text->bytes();
        const qint64 segmentLast = std::min(last, segment->firstRecord + segment->starts.size() - 1);
        if (segmentLast < row)
            return; // rows counted but not held: nothing more to visit
        for (; row <= segmentLast; ++row)
            visit(row, cellsIn(*segment, text, row - segment->firstRecord));
    }
}

void RecordListModel::checkSizes(RowText::SizeCheck check) const
{
    for (const Segment &segment : segments_)
        segment.text->bytes(check);
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
    return appendFileText(std::make_shared<HeldRowText>(text));
}

MinMaxPyramid *RecordListModel::keysToExtend()
{
    // Keys nobody has asked for yet wait for their first use (most lists
    // opened are only looked at); once a graph uses them, rows read later
    // get theirs in the same pass that finds them.
    const bool inUse = valuer_ && keysValuer_ == valuer_ && keys_.size() == records_ + 1;
    return inUse ? &keys_ : nullptr;
}

qsizetype RecordListModel::appendFileText(std::shared_ptr<const RowText> text, RowIndexing how)
{
    how.rowLimit = rowLimit - records_;
    MinMaxPyramid *keys = keysToExtend();
    how.valuer = keys ? valuer_ : nullptr;
    if (how.rowLimit <= 0)
        return 0;
    // Each chunk's rows are shown as soon as they are joined: the views'
    // work on them overlaps the reading of the chunks after.
    how.joined = [this](qsizetype rows) {
        beginInsertRows({}, int(records_), int(records_ + rows - 1));
        records_ += rows;
        endInsertRows();
    };
    Segment &segment = segments_.emplace_back();
    segment.text = std::move(text);
    segment.firstRecord = records_ + 1;
    appended_.reset();
    // However the reading ends, a segment that got no rows goes.
    const auto dropIfEmpty = qScopeGuard([this] {
        if (segments_.back().starts.empty())
            segments_.pop_back();
    });
    return indexRows(segment.text->bytes(), how, segment.starts, keys);
}

void RecordListModel::appendRow(const QStringList &cells)
{
    appendRows({cells.join(QLatin1Char('\t'))});
}

void RecordListModel::appendRows(const QStringList &rowTexts)
{
    QByteArray text;
    std::vector<qsizetype> starts;
    starts.reserve(std::size_t(rowTexts.size()));
    for (const QString &row : rowTexts) {
        starts.push_back(text.size());
        text.append(row.toLatin1());
    }
    appendJoinedRows(text, starts);
}

void RecordListModel::appendJoinedRows(QByteArrayView text, const std::vector<qsizetype> &starts)
{
    const qsizetype count = std::min<qsizetype>(qsizetype(starts.size()), rowLimit - records_);
    if (count <= 0)
        return;
    if (!appended_) {
        appended_ = std::make_shared<HeldRowText>();
        Segment segment;
        segment.text = appended_;
        segment.firstRecord = records_ + 1;
        segment.contiguous = true;
        segments_.push_back(std::move(segment));
    }
    beginInsertRows({}, recordCount(), int(records_ + count - 1));
    QByteArray &held = appended_->text();
    const qsizetype base = held.size();
    const qsizetype end = count < qsizetype(starts.size()) ? starts[std::size_t(count)] : text.size();
    for (qsizetype i = 0; i < count; ++i)
        segments_.back().starts.push(base + starts[std::size_t(i)]);
    held.append(text.first(end));
    records_ += count;
    endInsertRows();
}

void RecordListModel::clear()
{
    beginResetModel();
    segments_ = {};
    appended_.reset();
    records_ = 0;
    keys_.clear();
    keysValuer_ = nullptr;
    ++generation_;
    endResetModel();
}

void RecordListModel::ensureKeys(RowValuer valuer) const
{
    if (keysValuer_ != valuer) {
        keys_.clear();
        keysValuer_ = valuer;
    }
    if (keys_.size() > records_)
        return;
    checkSizes(RowText::SizeCheck::Recent);
    if (keys_.size() == 0)
        keys_.append(valuer(cellsAt(0, RowText::SizeCheck::Last)));
    for (const Segment &segment : segments_) {
        const qsizetype from = keys_.size() - segment.firstRecord;
        if (from >= 0 && from < segment.starts.size())
            appendKeys(segment, from, valuer);
    }
    for (qint64 row = keys_.size(); row <= records_; ++row) // rows counted but not held
        keys_.append(valuer(cellsAt(row, RowText::SizeCheck::Last)));
}

void RecordListModel::appendKeys(const Segment &segment, qsizetype from, RowValuer valuer) const
{
    // Millions of rows are valued on every core, in pieces joined in order.
    constexpr qsizetype pieceRows = 64 * 1024;
    const QByteArrayView text = segment.text->bytes(RowText::SizeCheck::Last);
    std::vector<std::pair<qsizetype, qsizetype>> pieces;
    for (qsizetype at = from; at < segment.starts.size(); at += pieceRows)
        pieces.emplace_back(at, std::min(at + pieceRows, segment.starts.size()));
    const auto valuePiece = [&](const std::pair<qsizetype, qsizetype> &piece) {
        std::vector<double> keys;
        keys.reserve(std::size_t(piece.second - piece.first));
        for (qsizetype at = piece.first; at < piece.second; ++at)
            keys.push_back(valuer(cellsIn(segment, text, at)));
        return keys;
    };
    const auto join = [&](int &, const std::vector<double> &keys) {
        for (const double key : keys)
            keys_.append(key);
    };
    if (pieces.size() == 1) {
        int unused = 0;
        join(unused, valuePiece(pieces.front()));
        return;
    }
    QtConcurrent::blockingMappedReduced<int>(pieces, valuePiece, join, QtConcurrent::OrderedReduce);
}

KeySpan RecordListModel::keySpan(qint64 first, qint64 last, RowValuer valuer) const
{
    ensureKeys(valuer);
    checkSizes(RowText::SizeCheck::Recent);
    return keys_.span(first, last,
                      [&](qsizetype row) { return valuer(cellsAt(row, RowText::SizeCheck::Last)); });
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
    // A paint asks for a few hundred cells at once: the file's size is asked
    // once for them.
    return QString(cellsAt(index.row() + 1, RowText::SizeCheck::Recent)[std::size_t(index.column())]);
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
