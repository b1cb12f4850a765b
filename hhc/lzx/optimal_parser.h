#pragma once
// Near-optimal parse of one reset interval: for every frame, the cheapest
// path through literals and the matches on offer under a given cost model,
// with the repeated offsets followed along each path.
#include <array>
#include <cstdint>
#include <vector>

#include "lzx/lzx_tokens.h"
#include "lzx/match_finder.h"

namespace hhc::lzx {

struct OptimalParserParams {
    unsigned maxChainDepth = 24;  // chain entries examined per position
    unsigned niceLength = 64;     // a match this long is taken without weighing what it covers
};

// How a frame is parsed: the full search, or one greedy probe per position
// for data where matches are rare and short.
enum class FrameParse : std::uint8_t { kOptimal, kGreedy };
using FrameParses = std::array<FrameParse, kResetIntervalFrames>;

class OptimalParser {
public:
    explicit OptimalParser(OptimalParserParams params = {});

    // Same contract as LazyParser::Parse. Frames marked kGreedy are parsed
    // greedily and priced with `greedyCost`; their bytes still feed the match
    // finder, so later frames find matches in them.
    void Parse(const std::uint8_t* data, unsigned frames, const CostModel& cost, ParsedInterval& out,
               const FrameParses& parses = {}, const CostModel* greedyCost = nullptr);

private:
    struct Match {
        std::uint32_t length;
        std::uint32_t distance;
    };
    // Cheapest known way to reach a position of the frame.
    // Distances fit 16 bits with a 64 KiB window; keeping nodes small keeps
    // the frame's nodes in cache.
    struct Node {
        std::uint32_t cost;
        std::uint16_t length;    // of the last step; 1 = literal
        std::uint16_t distance;
        std::array<std::uint16_t, kNumRepeatedOffsets> offsets;  // after the last step, set on expansion
        std::uint8_t repeat;     // repeated offset index or kExplicitOffset
    };

    unsigned CollectMatches(std::uint32_t pos, unsigned limit);
    void ParseFrame(std::uint32_t frameStart, RepeatedOffsets& repeats, std::vector<Item>& items);
    void ParseFrameGreedily(std::uint32_t frameStart, const CostModel& cost, RepeatedOffsets& repeats,
                            std::vector<Item>& items);
    void InsertPosition(std::uint32_t pos);
    std::uint32_t GreedyHash(std::uint32_t pos) const;

    static constexpr unsigned kGreedyHashBits = 16;
    void Relax(std::size_t target, std::uint32_t cost, unsigned length, unsigned repeat, std::uint32_t distance) {
        Node& node = nodes_[target];
        if (cost < node.cost) {
            node.cost = cost;
            node.length = static_cast<std::uint16_t>(length);
            node.distance = static_cast<std::uint16_t>(distance);
            node.repeat = static_cast<std::uint8_t>(repeat);
        }
    }

    OptimalParserParams params_;
    HashChainMatchFinder finder_;
    std::vector<std::int32_t> lastPair_;  // newest position of each two-byte value
    std::vector<std::uint32_t> greedyHead_;  // greedy frames: newest position + 1 of each hash of four bytes
    const std::uint8_t* data_ = nullptr;
    const CostModel* cost_ = nullptr;
    std::array<Match, kMaxMatch + 1> matches_;  // lengths grow strictly, so never more than this
    unsigned matchCount_ = 0;
    std::vector<Node> nodes_;
    std::vector<std::uint32_t> pathScratch_;
};

}  // namespace hhc::lzx
