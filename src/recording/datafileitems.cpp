#include "recording/datafileitems.h"

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

void splitItems(QByteArrayView text, std::vector<ItemSpan> &items, qsizetype offset)
{
    forEachItemBegin(text, [&](qsizetype begin) {
        items.push_back({offset + begin, itemEnd(text, begin) - begin});
    });
}

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
    // A row's cells are short: one pass over its bytes beats a search per cell.
    const __m128i tab = _mm_set1_epi8('\t');
    for (; pos + 16 <= size; pos += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + pos));
        for (unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab))); mask != 0;
             mask &= mask - 1) {
            if (cutAt(pos + std::countr_zero(mask)))
                return cells;
        }
    }
#endif
    for (; pos < size; ++pos) {
        if (data[pos] == '\t' && cutAt(pos))
            return cells;
    }
    cells[column] = QLatin1StringView(data + cellBegin, size - cellBegin);
    return cells;
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
