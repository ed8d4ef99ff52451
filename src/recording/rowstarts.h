#pragma once

#include <QtGlobal>

#include <algorithm>
#include <utility>
#include <vector>

namespace recording {

// Where each row of a text begins, four bytes a row: rows sit in runs, each
// with a 64-bit base and the rows' 32-bit distances from it. A list of ten
// million rows keeps 40 MB here instead of the 160 MB of a begin and a
// length as two 64-bit numbers. Rows found on several threads are joined by
// moving whole runs (nothing copied per row); a row is found among the few
// runs (one per piece of a file read on its own) by a binary search.
class RowStarts
{
public:
    static constexpr qint64 limit = qint64(1) << 40; // first offset not held (1 TiB)

    qsizetype size() const { return size_; }
    bool empty() const { return size_ == 0; }

    void push(qint64 offset)
    {
        if (runs_.empty() || quint64(offset - runs_.back().base) > maxDistance) {
            runs_.push_back({offset, size_, {}});
            runs_.back().distances.reserve(std::exchange(room_, 0));
        }
        Run &run = runs_.back();
        run.distances.push_back(quint32(offset - run.base));
        ++size_;
    }

    qint64 operator[](qsizetype row) const
    {
        const auto after = std::upper_bound(runs_.begin(), runs_.end(), row,
                                            [](qsizetype r, const Run &run) { return r < run.firstRow; });
        const Run &run = *(after - 1);
        return run.base + qint64(run.distances[std::size_t(row - run.firstRow)]);
    }

    // Moves the rows of `other` after these; `other` is left empty.
    void append(RowStarts &&other)
    {
        for (Run &run : other.runs_) {
            if (run.distances.empty())
                continue;
            run.firstRow = size_;
            size_ += qsizetype(run.distances.size());
            runs_.push_back(std::move(run));
        }
        other = {};
    }

    // Room for about `rows` more rows, taken when the next run begins: an
    // estimate that is close spares the copies of growing by doubling.
    void reserve(qsizetype rows) { room_ = std::size_t(std::max<qsizetype>(rows, 0)); }

    // Gives back the room kept for rows to come when it is more than an
    // eighth of what is held (a copy: not worth it for a close estimate).
    void squeeze()
    {
        for (Run &run : runs_) {
            if (run.distances.capacity() - run.distances.size() > run.distances.size() / 8)
                run.distances.shrink_to_fit();
        }
    }

    // Keeps the first `count` rows.
    void truncate(qsizetype count)
    {
        while (!runs_.empty() && runs_.back().firstRow >= count)
            runs_.pop_back();
        if (!runs_.empty() && count < size_)
            runs_.back().distances.resize(std::size_t(count - runs_.back().firstRow));
        size_ = std::min(size_, count);
    }

private:
    static constexpr quint64 maxDistance = 0xffffffffu;

    struct Run
    {
        qint64 base = 0;
        qsizetype firstRow = 0;
        std::vector<quint32> distances;
    };

    std::vector<Run> runs_;
    qsizetype size_ = 0;
    std::size_t room_ = 0; // reserved by the next run
};

} // namespace recording
