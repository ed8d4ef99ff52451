#pragma once

#include <QtGlobal>

#include <algorithm>
#include <vector>

namespace recording {

// The lowest and highest of some keys.
struct KeySpan
{
    double low = 0;
    double high = 0;
    void add(const KeySpan &other)
    {
        low = std::min(low, other.low);
        high = std::max(high, other.high);
    }
    friend bool operator==(const KeySpan &, const KeySpan &) = default;
};

// The lowest and highest key of every block of 2^k keys, for k from
// blockShift up: any span of keys is then the few whole blocks it covers
// plus fewer than 2^blockShift keys at each end, which the caller reads
// itself. Keys are appended one by one; a block is stored once complete.
// Costs about 2 doubles per 2^blockShift keys.
class MinMaxPyramid
{
public:
    static constexpr int blockShift = 5;
    static constexpr qsizetype blockSize = qsizetype(1) << blockShift;

    void append(double key);
    qsizetype size() const { return size_; }
    void clear();

    // The span of keys first..last (indices), reading the keys outside whole
    // blocks with keyOf(index).
    template <typename KeyOf>
    KeySpan span(qsizetype first, qsizetype last, KeyOf &&keyOf) const;

private:
    KeySpan blockSpan(qsizetype lowBlock, qsizetype highBlock) const;
    void pushBlock(int level, const KeySpan &block);

    std::vector<std::vector<KeySpan>> levels_; // levels_[0]: blocks of blockSize keys
    KeySpan pending_;
    qsizetype size_ = 0;
};

template <typename KeyOf>
KeySpan MinMaxPyramid::span(qsizetype first, qsizetype last, KeyOf &&keyOf) const
{
    const double k = keyOf(first);
    KeySpan result{k, k};
    const auto addKey = [&](qsizetype i) {
        const double key = keyOf(i);
        result.add({key, key});
    };
    qsizetype lo = first + 1;
    // Whole blocks stored: [0, stored) in keys.
    const qsizetype stored = levels_.empty() ? 0 : qsizetype(levels_[0].size()) * blockSize;
    while (lo <= last && (lo % blockSize != 0 || lo >= stored))
        addKey(lo++);
    qsizetype hi = std::min(last + 1, stored); // exclusive
    hi -= hi % blockSize;
    if (hi <= lo)
        hi = lo;
    for (qsizetype i = hi; i <= last; ++i)
        addKey(i);
    if (hi > lo)
        result.add(blockSpan(lo / blockSize, hi / blockSize));
    return result;
}

} // namespace recording
