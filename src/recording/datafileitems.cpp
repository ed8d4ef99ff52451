#include "recording/datafileitems.h"

namespace recording {

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Moves past the comma or line end at `pos` (CR LF counts as one).
qsizetype pastDelimiter(QByteArrayView text, qsizetype pos)
{
    if (pos >= text.size())
        return pos;
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')
        return pos + 2;
    return pos + 1;
}

qsizetype findStop(QByteArrayView text, qsizetype pos, bool stopAtComma)
{
    while (pos < text.size() && !isLineEnd(text[pos]) && !(stopAtComma && text[pos] == ','))
        ++pos;
    return pos;
}

} // namespace

void splitItems(QByteArrayView text, std::vector<ItemSpan> &items, qsizetype offset)
{
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        while (pos < size && text[pos] == ' ')
            ++pos;
        if (pos < size && text[pos] == '"') {
            const qsizetype begin = pos + 1;
            const qsizetype lineStop = findStop(text, begin, false);
            const qsizetype closing = text.first(lineStop).indexOf('"', begin);
            const qsizetype end = closing < 0 ? lineStop : closing;
            items.push_back({offset + begin, end - begin});
            pos = findStop(text, closing < 0 ? lineStop : closing + 1, true);
        } else {
            const qsizetype begin = pos;
            pos = findStop(text, pos, true);
            items.push_back({offset + begin, pos - begin});
        }
        pos = pastDelimiter(text, pos);
    }
}

} // namespace recording
