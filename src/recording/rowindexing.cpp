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

struct ChunkRows
{
    RowStarts starts;
    std::vector<double> keys;
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
    forEachItemBegin(piece, [&](qsizetype begin) {
        rows.starts.push(chunk.begin + begin);
        if (valuer) {
            const qsizetype end = itemEnd(piece, begin);
            rows.keys.push_back(valuer(splitCells(piece.sliced(begin, end - begin))));
        }
    });
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
        for (qsizetype i = 0; i < count; ++i)
            starts.push(rows.starts[i]);
        if (valuer) {
            for (qsizetype i = 0; i < count; ++i)
                keys->append(rows.keys[std::size_t(i)]);
        }
    };
    const std::vector<Chunk> chunks = cutAtLineEnds(text, std::max<qsizetype>(how.chunkBytes, 1));
    if (chunks.size() <= 1) {
        for (const Chunk &chunk : chunks)
            take(indexChunk(text, chunk, valuer));
    } else {
        // Chunks are joined in the text's order, one at a time.
        QtConcurrent::blockingMappedReduced<int>(
            chunks, [&](const Chunk &chunk) { return indexChunk(text, chunk, valuer); },
            [&](int &, const ChunkRows &rows) { take(rows); }, QtConcurrent::OrderedReduce);
    }
    return starts.size() - before;
}

} // namespace recording
