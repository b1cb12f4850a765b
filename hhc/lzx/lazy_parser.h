#pragma once
// Lazy, cost-guided LZ77 parse of one reset interval into LZX items: quick,
// used to learn symbol statistics where no earlier interval supplies them.
#include <cstdint>
#include <vector>

#include "lzx/lzx_tokens.h"
#include "lzx/match_finder.h"

namespace hhc::lzx {

struct LazyParserParams {
    unsigned maxChainDepth = 24;  // chain entries examined per position
    unsigned niceLength = 48;     // a match this long is taken at once
};

class LazyParser {
public:
    explicit LazyParser(LazyParserParams params = {}) : params_(params) {}

    // `data` holds frames * kFrameSize bytes followed by at least 8 readable
    // bytes. No match crosses a frame end or reaches before `data`.
    void Parse(const std::uint8_t* data, unsigned frames, const CostModel& cost, ParsedInterval& out);

private:
    struct Choice {
        int gain = 0;            // bits saved against coding the bytes as literals
        unsigned length = 0;     // 0: no worthwhile match
        unsigned repeat = 0;     // repeated offset index, or kExplicitOffset
        std::uint32_t distance = 0;
    };

    Choice FindBest(std::uint32_t pos, std::uint32_t frameEnd);
    void InsertUpTo(std::uint32_t pos);
    void EmitLiteral(std::uint32_t pos);
    void EmitMatch(const Choice& choice);
    int LiteralCost(std::uint32_t pos, unsigned length) const { return litPrefix_[pos + length] - litPrefix_[pos]; }

    LazyParserParams params_;
    HashChainMatchFinder finder_;
    const std::uint8_t* data_ = nullptr;
    const CostModel* cost_ = nullptr;
    std::vector<int> litPrefix_;
    std::uint32_t nextInsert_ = 0;
    RepeatedOffsets repeats_{};
    std::vector<Item>* items_ = nullptr;
};

}  // namespace hhc::lzx
