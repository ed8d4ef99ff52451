#include "recording/datafileitems.h"

#include <algorithm>
#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace recording {

namespace detail {

qsizetype findStop(QByteArrayView text, qsizetype pos, bool stopAtComma)
{
    const char *data = text.data();
    const qsizetype size = text.size();
#ifdef __SSE2__
    // Sixteen bytes a step: this scan is most of the time a file's open takes.
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i comma = _mm_set1_epi8(stopAtComma ? ',' : '\n');
    for (; pos + 16 <= size; pos += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + pos));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)),
                                          _mm_cmpeq_epi8(bytes, comma));
        if (const int mask = _mm_movemask_epi8(hits))
            return pos + std::countr_zero(unsigned(mask));
    }
#endif
    while (pos < size) {
        const char c = data[pos];
        if (c == '\n' || c == '\r' || (stopAtComma && c == ','))
            return pos;
        ++pos;
    }
    return pos;
}

} // namespace detail

qsizetype itemEnd(QByteArrayView text, qsizetype begin)
{
    const bool quoted = begin > 0 && text[begin - 1] == '"';
    const char *data = text.data();
    const qsizetype size = text.size();
    qsizetype pos = begin;
    while (pos < size) {
        const char c = data[pos];
        if (detail::isLineEnd(c) || (quoted ? c == '"' : c == ','))
            return pos;
        ++pos;
    }
    return pos;
}

RowCells splitCells(QByteArrayView item)
{
    RowCells cells{};
    const char *data = item.data();
    const qsizetype size = item.size();
    std::size_t column = 0;
    qsizetype cellBegin = 0;
    // Ends the cell at a tab; true once every cell is cut.
    const auto cutAt = [&](qsizetype tab) {
        cells[column++] = QLatin1StringView(data + cellBegin, tab - cellBegin);
        cellBegin = tab + 1;
        return column == cells.size();
    };
    qsizetype pos = 0;
#ifdef __SSE2__
    // A row's cells are short: one pass over its bytes beats a search per
    // cell. The last sixteen bytes are read again rather than one by one,
    // the tabs already seen shifted away.
    if (size >= 16) {
        const __m128i tab = _mm_set1_epi8('\t');
        const auto tabsAt = [&](qsizetype at) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
            return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab)));
        };
        for (; pos < size; pos += 16) {
            unsigned mask = pos + 16 <= size ? tabsAt(pos) : tabsAt(size - 16) >> (pos - (size - 16));
            for (; mask != 0; mask &= mask - 1) {
                if (cutAt(pos + std::countr_zero(mask)))
                    return cells;
            }
        }
        pos = size;
    }
#endif
    for (; pos < size; ++pos) {
        if (data[pos] == '\t' && cutAt(pos))
            return cells;
    }
    cells[column] = QLatin1StringView(data + cellBegin, size - cellBegin);
    return cells;
}

namespace {

// Cuts an item's cells at its first eight tabs, as splitCells does.
class CellCutter
{
public:
    CellCutter(const char *data, qsizetype begin, RowCells *cells)
        : data_(data), cellBegin_(begin), cells_(cells)
    {
    }
    void cutAt(qsizetype tab)
    {
        if (column_ == cellCount)
            return;
        (*cells_)[column_++] = QLatin1StringView(data_ + cellBegin_, tab - cellBegin_);
        cellBegin_ = tab + 1;
    }
    void cutTabs(qsizetype base, unsigned mask)
    {
        if (!cells_)
            return;
        for (; mask != 0; mask &= mask - 1)
            cutAt(base + std::countr_zero(mask));
    }
    LineScan endAt(qsizetype end)
    {
        if (cells_ && column_ < cellCount) {
            (*cells_)[column_] = QLatin1StringView(data_ + cellBegin_, end - cellBegin_);
            std::fill(cells_->begin() + column_ + 1, cells_->end(), QLatin1StringView());
        }
        return {end, true};
    }

private:
    const char *data_;
    qsizetype cellBegin_;
    RowCells *cells_;
    std::size_t column_ = 0;
};

} // namespace

LineScan scanPlainLine(QByteArrayView text, qsizetype begin, RowCells *cells)
{
    const char *data = text.data();
    const qsizetype size = text.size();
    if (begin < size && (data[begin] == ' ' || data[begin] == '"'))
        return {begin, false};
    CellCutter cutter(data, begin, cells);
    qsizetype pos = begin;
#ifdef __SSE2__
    // The line end, and any comma or quote that makes the line not plain,
    // found in the same sixteen bytes as the tabs.
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i tab = _mm_set1_epi8('\t');
    for (; pos + 16 <= size; pos += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + pos));
        const __m128i stops = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)),
                                           _mm_or_si128(_mm_cmpeq_epi8(bytes, comma), _mm_cmpeq_epi8(bytes, quote)));
        const unsigned stopMask = unsigned(_mm_movemask_epi8(stops));
        const unsigned tabMask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab)));
        if (stopMask == 0) {
            cutter.cutTabs(pos, tabMask);
            continue;
        }
        const int at = std::countr_zero(stopMask);
        if (!detail::isLineEnd(data[pos + at]))
            return {pos + at, false};
        cutter.cutTabs(pos, tabMask & ((1u << at) - 1));
        return cutter.endAt(pos + at);
    }
#endif
    for (; pos < size; ++pos) {
        const char c = data[pos];
        if (detail::isLineEnd(c))
            return cutter.endAt(pos);
        if (c == ',' || c == '"')
            return {pos, false};
        if (c == '\t' && cells)
            cutter.cutAt(pos);
    }
    return cutter.endAt(size);
}

qsizetype nextLineStart(QByteArrayView text, qsizetype from)
{
    const qsizetype size = text.size();
    for (qsizetype pos = from; pos < size; ++pos) {
        if (!detail::isLineEnd(text[pos]))
            continue;
        return detail::pastDelimiter(text, pos);
    }
    return size;
}

} // namespace recording
