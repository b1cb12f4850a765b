#include "lzx/tree_writer.h"

#include <array>

#include "lzx/huffman.h"
#include "lzx/lzx_constants.h"

namespace hhc::lzx {
namespace {

// Pretree symbols: 0..16 a single delta, 17/18 a run of zeros, 19 a short
// run of one repeated length followed by that length's delta symbol.
constexpr std::uint8_t kShortZeroRun = 17;   // 4..19 zeros, 4 extra bits
constexpr std::uint8_t kLongZeroRun = 18;    // 20..51 zeros, 5 extra bits
constexpr std::uint8_t kSameRun = 19;        // 4..5 equal lengths, 1 extra bit
constexpr unsigned kShortZeroMin = 4, kShortZeroMax = 19;
constexpr unsigned kLongZeroMin = 20, kLongZeroMax = 51;
constexpr unsigned kSameMin = 4, kSameMax = 5;

struct PretreeOp {
    std::uint8_t symbol;
    std::uint8_t extraBits;
    std::uint8_t extra;
};

std::uint8_t Delta(std::uint8_t previous, std::uint8_t next) {
    return static_cast<std::uint8_t>((previous + 17 - next) % 17);
}

void BuildOps(std::span<const std::uint8_t> previous, std::span<const std::uint8_t> next,
              std::vector<PretreeOp>& ops) {
    ops.clear();
    const std::size_t n = next.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        while (i + run < n && next[i + run] == next[i]) ++run;
        if (next[i] == 0) {
            while (run >= kLongZeroMin) {
                const unsigned take = static_cast<unsigned>(std::min<std::size_t>(run, kLongZeroMax));
                ops.push_back({kLongZeroRun, 5, static_cast<std::uint8_t>(take - kLongZeroMin)});
                i += take;
                run -= take;
            }
            if (run >= kShortZeroMin) {
                ops.push_back({kShortZeroRun, 4, static_cast<std::uint8_t>(run - kShortZeroMin)});
                i += run;
                run = 0;
            }
        } else {
            while (run >= kSameMin) {
                const unsigned take = static_cast<unsigned>(std::min<std::size_t>(run, kSameMax));
                ops.push_back({kSameRun, 1, static_cast<std::uint8_t>(take - kSameMin)});
                ops.push_back({Delta(previous[i], next[i]), 0, 0});
                i += take;
                run -= take;
            }
        }
        for (; run > 0; --run, ++i) ops.push_back({Delta(previous[i], next[i]), 0, 0});
    }
}

struct Pretree {
    std::array<std::uint8_t, kPretreeSymbols> lengths{};
    std::array<std::uint16_t, kPretreeSymbols> codes{};
};

void BuildPretree(const std::vector<PretreeOp>& ops, Pretree& tree) {
    std::array<std::uint32_t, kPretreeSymbols> freqs{};
    for (const PretreeOp& op : ops) ++freqs[op.symbol];
    BuildCodeLengths(freqs, kMaxPretreeCodeLength, tree.lengths);
    AssignCanonicalCodes(tree.lengths, tree.codes);
}

constexpr unsigned kPretreeLengthBits = 4;

}  // namespace

std::uint64_t TreeSectionCost(std::span<const std::uint8_t> previous, std::span<const std::uint8_t> next) {
    thread_local std::vector<PretreeOp> ops;
    BuildOps(previous, next, ops);
    Pretree tree;
    BuildPretree(ops, tree);
    std::uint64_t bits = kPretreeSymbols * kPretreeLengthBits;
    for (const PretreeOp& op : ops) bits += tree.lengths[op.symbol] + op.extraBits;
    return bits;
}

void WriteTreeSection(WordBitWriter& bits, std::span<const std::uint8_t> previous, std::span<const std::uint8_t> next) {
    thread_local std::vector<PretreeOp> ops;
    BuildOps(previous, next, ops);
    Pretree tree;
    BuildPretree(ops, tree);
    for (std::uint8_t len : tree.lengths) bits.Write(len, kPretreeLengthBits);
    for (const PretreeOp& op : ops) {
        bits.Write(tree.codes[op.symbol], tree.lengths[op.symbol]);
        bits.Write(op.extra, op.extraBits);
    }
}

}  // namespace hhc::lzx
