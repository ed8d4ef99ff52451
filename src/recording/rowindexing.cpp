#include "recording/rowindexing.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <limits>
#include <vector>

namespace recording {

namespace {

struct Chunk
{
    qsizetype begin = 0;
    qsizetype end = 0;
};

// The reduction is handed each chunk's rows as const; it moves them out
// rather than copying millions of offsets.
struct ChunkRows
{
    mutable RowStarts starts;
    mutable std::vector<double> keys;
};

std::vector<Chunk> cutAtLineEnds(QByteArrayView text, qsizetype chunkBytes)
{
    std::vector<Chunk> chunks;
    qsizetype begin = 0;
    while (begin < text.size()) {
        const qsizetype end = text.size() - begin <= chunkBytes
                                  ? text.size()
                                  : nextLineStart(text, begin + chunkBytes);
        chunks.push_back({begin, end});
        begin = end;
    }
    return chunks;
}

ChunkRows indexChunk(QByteArrayView text, Chunk chunk, RowValuer valuer)
{
    ChunkRows rows;
    const QByteArrayView piece = text.sliced(chunk.begin, chunk.end - chunk.begin);
    // The lines of a file are much alike: the first one's length sizes the room.
    const qsizetype firstLine = std::max<qsizetype>(nextLineStart(piece, 0), 8);
    rows.starts.reserve(piece.size() / firstLine * 9 / 8 + 16);
    if (valuer)
        rows.keys.reserve(std::size_t(piece.size() / firstLine * 9 / 8 + 16));
    RowCells cells;
    qsizetype pos = 0;
    while (pos < piece.size()) {
        const LineScan line = scanPlainLine(piece, pos, valuer ? &cells : nullptr);
        if (line.plain) {
            rows.starts.push(chunk.begin + pos);
            if (valuer)
                rows.keys.push_back(valuer(cells));
            pos = detail::pastDelimiter(piece, line.end);
            continue;
        }
        // Several items or quoted ones: the line goes through the full rules.
        const qsizetype lineStart = pos;
        pos = nextLineStart(piece, pos);
        const QByteArrayView items = piece.sliced(lineStart, pos - lineStart);
        forEachItem(items, [&](qsizetype begin, qsizetype end) {
            rows.starts.push(chunk.begin + lineStart + begin);
            if (valuer)
                rows.keys.push_back(valuer(splitCells(items.sliced(begin, end - begin))));
        });
    }
    rows.starts.squeeze(); // kept as long as the list: a third less room
    return rows;
}

} // namespace

qsizetype indexRows(QByteArrayView text, const RowIndexing &how, RowStarts &starts,
                    MinMaxPyramid *keys)
{
    const qsizetype before = starts.size();
    const RowValuer valuer = keys ? how.valuer : nullptr;
    const qsizetype limit = how.rowLimit > 0 ? how.rowLimit : std::numeric_limits<qsizetype>::max();
    const auto take = [&](const ChunkRows &rows) {
        const qsizetype room = limit - (starts.size() - before);
        const qsizetype count = std::min(rows.starts.size(), room);
        if (count <= 0)
            return;
        rows.starts.truncate(count);
        starts.append(std::move(rows.starts));
        if (valuer) {
            for (qsizetype i = 0; i < count; ++i)
                keys->append(rows.keys[std::size_t(i)]);
        }
        rows.keys = {};
    };
    const std::vector<Chunk> chunks = cutAtLineEnds(text, std::max<qsizetype>(how.chunkBytes, 1));
    if (chunks.size() <= 1) {
        for (const Chunk &chunk : chunks)
            take(indexChunk(text, chunk, valuer));
    } else {
        // Chunks are joined in the text's order, one at a time.
        QtConcurrent::blockingMappedReduced<int>(
            chunks, [&](const Chunk &chunk) { return indexChunk(text, chunk, valuer); },
            [&](int &, const ChunkRows &rows) { take(rows); },
            QtConcurrent::OrderedReduce);
    }
    return starts.size() - before;
}

} // namespace recording
