#include "lzx/frame_probe.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "lzx/lzx_constants.h"
#include "lzx/match_finder.h"

namespace hhc::lzx {
namespace {

constexpr unsigned kProbeHashBits = 14;
constexpr unsigned kProbeMinMatch = 4;
constexpr unsigned kMissShift = 5;
// A match costs a main symbol and offset bits, and rarely less than this.
constexpr double kMatchBits = 20.0;

std::uint32_t Load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Order-0 entropy in bits per byte. Four histograms, so that runs of one
// byte value do not make each count wait for the one before.
double ByteEntropy(const std::uint8_t* data, std::size_t size) {
    std::array<std::array<std::uint32_t, 256>, 4> partial{};
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        ++partial[0][data[i]];
        ++partial[1][data[i + 1]];
        ++partial[2][data[i + 2]];
        ++partial[3][data[i + 3]];
    }
    for (; i < size; ++i) ++partial[0][data[i]];
    double bits = 0;
    const double total = static_cast<double>(size);
    for (unsigned b = 0; b < 256; ++b) {
        const std::uint32_t c = partial[0][b] + partial[1][b] + partial[2][b] + partial[3][b];
        if (c != 0) bits -= static_cast<double>(c) * std::log2(static_cast<double>(c) / total);
    }
    return bits / total;
}

}  // namespace

bool LooksIncompressible(const std::uint8_t* data, std::size_t size) {
    if (size < kProbeMinMatch) return false;
    const double entropy = ByteEntropy(data, size);
    const double budget = kGreedyParseThreshold * 8.0 * static_cast<double>(size);
    // Huffman-coded literals alone would beat the threshold.
    double estimate = entropy * static_cast<double>(size);
    if (estimate <= budget) return false;

    // Greedy matching: each position looks up the last one with the same four
    // bytes; a match is taken whole and its bytes are not looked up. Data
    // without matches is stepped through faster and faster, as LZ4 does. Every
    // match of four or more bytes lowers the estimate (the entropy here is
    // above 6.8 bits a byte), so the first time it falls within the budget
    // settles the answer.
    std::vector<std::uint32_t> table(std::size_t{1} << kProbeHashBits, 0);  // position + 1, 0 = none
    std::size_t pos = 0;
    std::size_t misses = 0;
    while (pos + kProbeMinMatch <= size) {
        const std::uint32_t key = Load32(data + pos);
        std::uint32_t& slot = table[(key * 0x9E3779B1u) >> (32 - kProbeHashBits)];
        const std::uint32_t older = slot;
        slot = static_cast<std::uint32_t>(pos + 1);
        if (older != 0 && Load32(data + older - 1) == key) {
            const auto limit = static_cast<unsigned>(std::min<std::size_t>(size - pos, kMaxMatch));
            const unsigned length = CommonLength(data + pos, data + older - 1, limit);
            estimate -= entropy * length - kMatchBits;
            if (estimate <= budget) return false;
            pos += length;
            misses = 0;
        } else {
            pos += 1 + (++misses >> kMissShift);
        }
    }
    return true;
}

}  // namespace hhc::lzx
