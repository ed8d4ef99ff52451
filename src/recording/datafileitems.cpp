#include "recording/datafileitems.h"

#include <cstring>

namespace recording {

namespace detail {

qsizetype findStop(QByteArrayView text, qsizetype pos, bool stopAtComma)
{
    const char *data = text.data();
    const qsizetype size = text.size();
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
    const char *begin = item.data();
    const char *const end = begin + item.size();
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
