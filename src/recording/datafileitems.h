#pragma once

#include <QByteArrayView>
#include <QLatin1StringView>

#include <array>
#include <vector>

// Splitting the text of a data file into items, one list row each.
//
//   text   := line*            a line ends with CR LF, LF alone or CR alone;
//                              the last line end may be missing
//   line   := item ( "," item )*
//   item   := blank* quoted | blank* plain
//   quoted := '"' chars '"' rest   the item is chars (quotes dropped); rest,
//                                  up to the next comma or line end, is skipped.
//                                  Without a closing quote the item ends at
//                                  the line end.
//   plain  := chars                up to the next comma or line end
//   blank  := ' '
//
// An empty line gives an empty item; so does a comma followed by a line end.
// Text after the last line end forms a last item only if it is not empty.
//
// No item reaches over a line end, so a text cut just after line ends splits
// into the same items, piece by piece, as it does whole. And an item's end
// follows from its begin alone: a quoted item is the only one whose begin
// comes right after a double quote.

namespace recording {

// Calls found(begin, end) for every item of `text`, in order.
template <typename Found>
void forEachItem(QByteArrayView text, Found &&found);

// Calls found(begin) for every item of `text`, in order.
template <typename Found>
void forEachItemBegin(QByteArrayView text, Found &&found)
{
    forEachItem(text, [&](qsizetype begin, qsizetype) { found(begin); });
}

// The end of the item that begins at `begin` (one of forEachItemBegin's).
qsizetype itemEnd(QByteArrayView text, qsizetype begin);

// The cells of an item: its tab-separated pieces from column 0; pieces
// beyond the eighth are ignored, missing ones are empty.
constexpr int cellCount = 8;
using RowCells = std::array<QLatin1StringView, cellCount>;
RowCells splitCells(QByteArrayView item);

// Most lines of a data file are one plain item: they neither begin with a
// blank or a quote nor hold a comma or a quote. scanPlainLine looks at the
// line that begins at `begin` once: for such a line it gives where the line
// (and so the item) ends and, when `cells` is given, the item's cells as
// splitCells cuts them; for any other line plain is false and the line is
// left to forEachItem.
struct LineScan
{
    qsizetype end = 0;
    bool plain = false;
};
LineScan scanPlainLine(QByteArrayView text, qsizetype begin, RowCells *cells);

// The first place at or after `from` that follows a whole line end (CR LF
// kept together), or the text's size when there is none.
qsizetype nextLineStart(QByteArrayView text, qsizetype from);

// ---------------------------------------------------------------------------

namespace detail {

inline bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// The first comma (when asked) or line end at or after `pos`, or the size.
qsizetype findStop(QByteArrayView text, qsizetype pos, bool stopAtComma);

// Moves past the comma or line end at `pos` (CR LF counts as one).
inline qsizetype pastDelimiter(QByteArrayView text, qsizetype pos)
{
    if (pos >= text.size())
        return pos;
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')
        return pos + 2;
    return pos + 1;
}

} // namespace detail

template <typename Found>
void forEachItem(QByteArrayView text, Found &&found)
{
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        while (pos < size && text[pos] == ' ')
            ++pos;
        if (pos < size && text[pos] == '"') {
            const qsizetype begin = pos + 1;
            // The item ends at its closing quote, if the line has one; the
            // rest of it up to a comma or the line end is skipped.
            const qsizetype end = detail::findStop(text, begin, false);
            qsizetype closing = begin;
            while (closing < end && text[closing] != '"')
                ++closing;
            found(begin, closing);
            pos = detail::findStop(text, closing < end ? closing + 1 : end, true);
        } else {
            const qsizetype begin = pos;
            pos = detail::findStop(text, pos, true);
            found(begin, pos);
        }
        pos = detail::pastDelimiter(text, pos);
    }
}

} // namespace recording
