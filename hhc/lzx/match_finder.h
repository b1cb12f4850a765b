#pragma once
// Hash-chain match finder over one reset interval, keyed by the next four
// bytes (two characters of double-byte text). Positions are relative to
// the start of the interval, so nothing before the last reset is ever found.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "lzx/lzx_constants.h"

namespace hhc::lzx {

// Length of the common prefix of `a` and `b`, at most `limit`. Both must be
// readable for limit + 7 bytes.
inline unsigned CommonLength(const std::uint8_t* a, const std::uint8_t* b, unsigned limit) {
    unsigned len = 0;
    while (len < limit) {
        std::uint64_t x, y;
        std::memcpy(&x, a + len, 8);
        std::memcpy(&y, b + len, 8);
        const std::uint64_t diff = x ^ y;
        if (diff != 0) {
            // Little-endian load: the first differing byte is the lowest set byte.
            len += static_cast<unsigned>(std::countr_zero(diff)) / 8;
            return std::min(len, limit);
        }
        len += 8;
    }
    return limit;
}

class HashChainMatchFinder {
public:
    static constexpr unsigned kHashBits = 16;
    static constexpr std::int32_t kNone = -1;

    HashChainMatchFinder() : head_(std::size_t{1} << kHashBits), prev_(kMaxPositions) {}

    void Reset(const std::uint8_t* data) {
        data_ = data;
        std::fill(head_.begin(), head_.end(), kNone);
    }

    // Links `pos` into its chain and returns the previous head (nearest older
    // position with the same hash), or kNone.
    std::int32_t Insert(std::uint32_t pos) {
        const std::uint32_t h = Hash(pos);
        const std::int32_t older = head_[h];
        prev_[pos] = older;
        head_[h] = static_cast<std::int32_t>(pos);
        return older;
    }

    std::int32_t Previous(std::int32_t pos) const { return prev_[static_cast<std::uint32_t>(pos)]; }

    // Walks the chain from `candidate` (what Insert(pos) returned), nearest
    // first, through at most `maxDepth` entries within the window, and calls
    // visit(length, distance) for every match longer than all before it,
    // starting above `longest`. Lengths are capped at `limit` (both positions
    // must be readable for limit + 7 bytes). Stops after a match of
    // `niceLength` or `limit`. Returns the longest length seen.
    template <class Visit>
    unsigned VisitLongerMatches(std::int32_t candidate, std::uint32_t pos, unsigned longest, unsigned limit,
                                unsigned maxDepth, unsigned niceLength, Visit&& visit) const {
        const std::uint8_t* here = data_ + pos;
        const std::uint32_t maxDistance = std::min(pos, kMaxMatchDistance);
        for (unsigned depth = maxDepth; candidate != kNone && depth != 0 && longest < limit;
             --depth, candidate = Previous(candidate)) {
            const std::uint32_t distance = pos - static_cast<std::uint32_t>(candidate);
            if (distance > maxDistance) break;
            const std::uint8_t* there = data_ + candidate;
            if (there[longest] != here[longest]) continue;  // cannot be longer
            const unsigned length = CommonLength(here, there, limit);
            if (length <= longest) continue;
            longest = length;
            visit(length, distance);
            if (length >= niceLength) break;
        }
        return longest;
    }

private:
    static constexpr std::size_t kMaxPositions = 0x10000;

    std::uint32_t Hash(std::uint32_t pos) const {
        std::uint32_t v;
        std::memcpy(&v, data_ + pos, 4);
        return (v * 0x9E3779B1u) >> (32 - kHashBits);
    }

    const std::uint8_t* data_ = nullptr;
    std::vector<std::int32_t> head_;
    std::vector<std::int32_t> prev_;
};

}  // namespace hhc::lzx
