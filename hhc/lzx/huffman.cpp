#include "lzx/huffman.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <vector>

namespace hhc::lzx {
namespace {

constexpr unsigned kMaxSymbols = 1024;
constexpr unsigned kMaxLimit = 16;

// Code lengths of an optimal (unlimited) prefix code for frequencies sorted in
// ascending order, computed in place (Moffat and Katajainen): on return
// a[i] is the length for the i-th smallest frequency.
void OptimalLengthsInPlace(std::uint32_t* a, unsigned n) {
    if (n == 1) { a[0] = 1; return; }
    // Phase 1: build the tree, leaving parent indices behind.
    a[0] += a[1];
    unsigned root = 0, leaf = 2;
    for (unsigned next = 1; next < n - 1; ++next) {
        if (leaf >= n || a[root] < a[leaf]) { a[next] = a[root]; a[root++] = next; }
        else a[next] = a[leaf++];
        if (leaf >= n || (root < next && a[root] < a[leaf])) { a[next] += a[root]; a[root++] = next; }
        else a[next] += a[leaf++];
    }
    // Phase 2: internal node depths.
    a[n - 2] = 0;
    for (int next = static_cast<int>(n) - 3; next >= 0; --next) a[next] = a[a[next]] + 1;
    // Phase 3: leaf depths.
    unsigned avail = 1, used = 0, depth = 0;
    int rootIdx = static_cast<int>(n) - 2, next = static_cast<int>(n) - 1;
    while (avail > 0) {
        while (rootIdx >= 0 && a[rootIdx] == depth) { ++used; --rootIdx; }
        while (avail > used) { a[next--] = depth; --avail; }
        avail = 2 * used; ++depth; used = 0;
    }
}

}  // namespace

void BuildCodeLengths(std::span<const std::uint32_t> freqs, unsigned maxLength,
                      std::span<std::uint8_t> lengths) {
    assert(freqs.size() == lengths.size() && freqs.size() <= kMaxSymbols && maxLength <= kMaxLimit);
    std::fill(lengths.begin(), lengths.end(), 0);

    // Used symbols sorted by frequency, ties by symbol number.
    std::array<std::uint32_t, kMaxSymbols> order;
    unsigned n = 0;
    for (unsigned s = 0; s < freqs.size(); ++s)
        if (freqs[s] != 0) order[n++] = s;
    if (n == 0) return;
    if (n == 1) {
        // Two codes of one bit each: the used symbol and a partner.
        lengths[order[0]] = 1;
        lengths[order[0] == 0 ? 1 : 0] = 1;
        return;
    }
    std::stable_sort(order.begin(), order.begin() + n,
                     [&](std::uint32_t x, std::uint32_t y) { return freqs[x] < freqs[y]; });

    std::array<std::uint32_t, kMaxSymbols> depth;
    for (unsigned i = 0; i < n; ++i) depth[i] = freqs[order[i]];
    OptimalLengthsInPlace(depth.data(), n);

    // Count codes per length, folding longer ones into maxLength, then restore
    // the Kraft equality by pushing leaves down from shorter levels.
    std::array<unsigned, kMaxLimit + 1> count{};
    unsigned overflow = 0;
    for (unsigned i = 0; i < n; ++i) {
        if (depth[i] > maxLength) { ++overflow; depth[i] = maxLength; }
        ++count[depth[i]];
    }
    if (overflow != 0) {
        // Kraft sum in units of 2^-maxLength.
        std::uint64_t kraft = 0;
        for (unsigned len = 1; len <= maxLength; ++len) kraft += std::uint64_t{count[len]} << (maxLength - len);
        const std::uint64_t full = std::uint64_t{1} << maxLength;
        while (kraft > full) {
            // Lengthen one code of the longest level below maxLength.
            unsigned len = maxLength - 1;
            while (count[len] == 0) --len;
            --count[len];
            ++count[len + 1];
            kraft -= std::uint64_t{1} << (maxLength - len - 1);
        }
        // Shorten codes while room is left (keeps the code complete).
        while (kraft < full) {
            unsigned len = 2;
            while (len <= maxLength && (count[len] == 0 || kraft + (std::uint64_t{1} << (maxLength - len)) > full)) ++len;
            assert(len <= maxLength);
            --count[len];
            ++count[len - 1];
            kraft += std::uint64_t{1} << (maxLength - len);
        }
    }
    // Longest codes go to the rarest symbols.
    unsigned i = 0;
    for (unsigned len = maxLength; len >= 1; --len)
        for (unsigned c = 0; c < count[len]; ++c) lengths[order[i++]] = static_cast<std::uint8_t>(len);
}

void AssignCanonicalCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes) {
    std::array<unsigned, kMaxLimit + 2> count{};
    for (std::uint8_t len : lengths) ++count[len];
    count[0] = 0;
    std::array<unsigned, kMaxLimit + 2> next{};
    unsigned code = 0;
    for (unsigned len = 1; len <= kMaxLimit; ++len) {
        code = (code + count[len - 1]) << 1;
        next[len] = code;
    }
    for (std::size_t s = 0; s < lengths.size(); ++s)
        codes[s] = lengths[s] ? static_cast<std::uint16_t>(next[lengths[s]]++) : 0;
}

}  // namespace hhc::lzx
