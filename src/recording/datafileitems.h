#pragma once

#include <QByteArrayView>

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

namespace recording {

// Where one item lies in the text it was split from.
struct ItemSpan
{
    qsizetype begin = 0;
    qsizetype length = 0;
    friend bool operator==(const ItemSpan &, const ItemSpan &) = default;
};

// Appends the items of `text` to `items`, each begin shifted by `offset`
// (the position of `text` inside a larger buffer).
void splitItems(QByteArrayView text, std::vector<ItemSpan> &items, qsizetype offset = 0);

} // namespace recording
