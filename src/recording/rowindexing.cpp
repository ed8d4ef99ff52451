#include "recording/rowindexing.h"

#include <QScopeGuard>
#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <memory>
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

// The chunks of one text, each claimed once, by one of the pool's threads
// or by the calling thread. The calling thread joins the chunks in the
// text's order as each is done; while the next in order is still being read
// it reads one itself, so it never depends on a pool busy with other work.
class ChunkWork
{
public:
    ChunkWork(QByteArrayView text, std::vector<Chunk> chunks, RowValuer valuer)
        : text_(text)
        , chunks_(std::move(chunks))
        , valuer_(valuer)
        , rows_(chunks_.size())
        , failures_(chunks_.size())
        , done_(std::make_unique<QSemaphore[]>(chunks_.size()))
    {
    }

    std::size_t size() const { return chunks_.size(); }

    // Reads the next chunk nobody has claimed; false when none is left.
    bool readNext()
    {
        const std::size_t i = next_.fetch_add(1);
        if (i >= chunks_.size())
            return false;
        try {
            rows_[i] = indexChunk(text_, chunks_[i], valuer_);
        } catch (...) {
            failures_[i] = std::current_exception();
        }
        done_[i].release();
        return true;
    }

    // The rows of chunk `i`, once read; every chunk before it was awaited.
    ChunkRows &await(std::size_t i)
    {
        while (!done_[i].tryAcquire()) {
            if (!readNext()) {
                done_[i].acquire();
                break;
            }
        }
        awaited_ = i + 1;
        if (failures_[i])
            std::rethrow_exception(failures_[i]);
        return rows_[i];
    }

    // No chunk is started any more; the ones being read are waited for, as
    // the text must outlive every reading of it.
    void finish()
    {
        const std::size_t claimed = std::min(next_.exchange(chunks_.size()), chunks_.size());
        for (std::size_t i = awaited_; i < claimed; ++i)
            done_[i].acquire();
        awaited_ = claimed;
    }

private:
    const QByteArrayView text_;
    const std::vector<Chunk> chunks_;
    const RowValuer valuer_;
    std::vector<ChunkRows> rows_;
    std::vector<std::exception_ptr> failures_;
    std::unique_ptr<QSemaphore[]> done_;
    std::atomic<std::size_t> next_{0};
    std::size_t awaited_ = 0; // the calling thread's own
};

} // namespace

qsizetype indexRows(QByteArrayView text, const RowIndexing &how, RowStarts &starts,
                    MinMaxPyramid *keys)
{
    const qsizetype before = starts.size();
    const RowValuer valuer = keys ? how.valuer : nullptr;
    const qsizetype limit = how.rowLimit > 0 ? how.rowLimit : std::numeric_limits<qsizetype>::max();
    // Joins a chunk's rows; false once the limit is reached.
    const auto take = [&](ChunkRows &rows) {
        const qsizetype room = limit - (starts.size() - before);
        const qsizetype count = std::min(rows.starts.size(), room);
        if (count > 0) {
            rows.starts.truncate(count);
            starts.append(std::move(rows.starts));
            if (valuer) {
                for (qsizetype i = 0; i < count; ++i)
                    keys->append(rows.keys[std::size_t(i)]);
            }
            rows.keys = {};
            if (how.joined)
                how.joined(count);
        }
        return count < room;
    };
    std::vector<Chunk> chunks = cutAtLineEnds(text, std::max<qsizetype>(how.chunkBytes, 1));
    if (chunks.size() <= 1) {
        for (const Chunk &chunk : chunks) {
            ChunkRows rows = indexChunk(text, chunk, valuer);
            take(rows);
        }
        return starts.size() - before;
    }
    const auto work = std::make_shared<ChunkWork>(text, std::move(chunks), valuer);
    QThreadPool *pool = QThreadPool::globalInstance();
    const qsizetype helpers = std::min<qsizetype>(qsizetype(work->size()) - 1, pool->maxThreadCount());
    for (qsizetype i = 0; i < helpers; ++i)
        pool->start([work] {
            while (work->readNext()) {
            }
        });
    // However this ends (the limit, a failed allocation), no helper reads on.
    const auto finish = qScopeGuard([&work] { work->finish(); });
    for (std::size_t i = 0; i < work->size(); ++i) {
        if (!take(work->await(i)))
            break;
    }
    return starts.size() - before;
}

} // namespace recording
