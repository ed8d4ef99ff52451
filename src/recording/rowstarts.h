#pragma once

#include <QtGlobal>

#include <cstring>
#include <vector>

namespace recording {

// Where each row of a text begins, five bytes a row: offsets below 1 TiB,
// read back in constant time. A list of ten million rows keeps 50 MB here
// instead of the 160 MB of a begin and a length as two 64-bit numbers. The
// rows sit in pages of a fixed count, so growing never moves what is held
// (and never needs twice the room for a moment).
class RowStarts
{
public:
    static constexpr int bytesPerRow = 5;
    static constexpr qint64 limit = qint64(1) << (8 * bytesPerRow); // first offset not held

    qsizetype size() const { return size_; }
    bool empty() const { return size_ == 0; }

    void push(qint64 offset)
    {
        const qsizetype inPage = size_ & pageMask;
        if (inPage == 0)
            pages_.emplace_back(pageBytes);
        const quint64 value = quint64(offset);
        std::memcpy(pages_.back().data() + inPage * bytesPerRow, &value, bytesPerRow); // little-endian
        ++size_;
    }

    qint64 operator[](qsizetype row) const
    {
        quint64 value = 0;
        std::memcpy(&value, pages_[std::size_t(row >> pageShift)].data() + (row & pageMask) * bytesPerRow,
                    bytesPerRow);
        return qint64(value);
    }

    void append(const RowStarts &other)
    {
        for (qsizetype i = 0; i < other.size(); ++i)
            push(other[i]);
    }

private:
    static constexpr int pageShift = 16;
    static constexpr qsizetype pageMask = (qsizetype(1) << pageShift) - 1;
    static constexpr std::size_t pageBytes = (std::size_t(1) << pageShift) * bytesPerRow;

    std::vector<std::vector<unsigned char>> pages_;
    qsizetype size_ = 0;
};

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "RowStarts packs offsets little-endian");

} // namespace recording
