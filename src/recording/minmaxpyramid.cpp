#include "recording/minmaxpyramid.h"

namespace recording {

void MinMaxPyramid::append(double key)
{
    const KeySpan one{key, key};
    if (size_ % blockSize == 0)
        pending_ = one;
    else
        pending_.add(one);
    ++size_;
    if (size_ % blockSize == 0)
        pushBlock(0, pending_);
}

void MinMaxPyramid::pushBlock(int level, const KeySpan &block)
{
    if (int(levels_.size()) <= level)
        levels_.emplace_back();
    std::vector<KeySpan> &blocks = levels_[std::size_t(level)];
    blocks.push_back(block);
    // Two blocks complete one of the next level.
    if (blocks.size() % 2 == 0) {
        KeySpan pair = blocks[blocks.size() - 2];
        pair.add(blocks.back());
        pushBlock(level + 1, pair);
    }
}

void MinMaxPyramid::clear()
{
    levels_ = {};
    pending_ = {};
    size_ = 0;
}

KeySpan MinMaxPyramid::blockSpan(qsizetype lowBlock, qsizetype highBlock) const
{
    // Blocks [lowBlock, highBlock) of level 0, climbing while whole pairs
    // remain.
    KeySpan result = levels_[0][std::size_t(lowBlock)];
    std::size_t level = 0;
    qsizetype lo = lowBlock, hi = highBlock;
    while (lo < hi) {
        const std::vector<KeySpan> &blocks = levels_[level];
        if (lo % 2 == 1)
            result.add(blocks[std::size_t(lo++)]);
        if (hi % 2 == 1)
            result.add(blocks[std::size_t(--hi)]);
        if (lo >= hi)
            break;
        lo /= 2;
        hi /= 2;
        ++level;
        if (level >= levels_.size()) {
            // Not reached: a level holds every whole pair of the one below.
            break;
        }
    }
    return result;
}

} // namespace recording
