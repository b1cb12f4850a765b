#include "lzx/optimal_parser.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace hhc::lzx {
namespace {

constexpr std::uint32_t kInfiniteCost = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t kPairValues = 0x10000;

std::uint16_t LoadPair(const std::uint8_t* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

std::uint32_t Load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

}  // namespace

OptimalParser::OptimalParser(OptimalParserParams params)
    : params_(params), lastPair_(kPairValues), nodes_(kFrameSize + 1) {}

// Inserts `pos` into the match finder and lists matches of strictly growing
// length: first the nearest occurrence of the next two bytes, then the hash
// chain. Returns the longest length found.
unsigned OptimalParser::CollectMatches(std::uint32_t pos, unsigned limit) {
    matchCount_ = 0;
    const std::int32_t candidate = finder_.Insert(pos);
    const std::uint8_t* here = data_ + pos;
    const unsigned pair = here[0] | (here[1] << 8);
    const std::int32_t nearest = lastPair_[pair];
    lastPair_[pair] = static_cast<std::int32_t>(pos);
    if (limit < kMinMatch) return 0;

    const std::uint32_t maxDistance = std::min(pos, kMaxMatchDistance);
    unsigned longest = kMinMatch - 1;
    if (nearest >= 0 && pos - static_cast<std::uint32_t>(nearest) <= maxDistance) {
        longest = CommonLength(here, data_ + nearest, limit);
        matches_[matchCount_++] = {longest, pos - static_cast<std::uint32_t>(nearest)};
    }
    longest = finder_.VisitLongerMatches(candidate, pos, longest, limit, params_.maxChainDepth, params_.niceLength,
                                         [&](unsigned length, std::uint32_t distance) {
                                             matches_[matchCount_++] = {length, distance};
                                         });
    return longest >= kMinMatch ? longest : 0;
}

void OptimalParser::InsertPosition(std::uint32_t pos) {
    finder_.Insert(pos);
    lastPair_[LoadPair(data_ + pos)] = static_cast<std::int32_t>(pos);
}

std::uint32_t OptimalParser::GreedyHash(std::uint32_t pos) const {
    return (Load32(data_ + pos) * 0x9E3779B1u) >> (32 - kGreedyHashBits);
}

// At each position: the match at R0 and the last position with the same four
// bytes, found in a table of its own rather than the hash chains, which
// are fed only if a fully parsed frame follows. Whichever saves more bits
// than its bytes cost as literals is taken whole, otherwise a literal.
void OptimalParser::ParseFrameGreedily(std::uint32_t frameStart, const CostModel& cost, RepeatedOffsets& repeats,
                                       std::vector<Item>& items) {
    const std::uint32_t frameEnd = frameStart + static_cast<std::uint32_t>(kFrameSize);
    auto literalBits = [&](std::uint32_t pos, unsigned length) {
        int bits = 0;
        for (unsigned k = 0; k < length; ++k) bits += cost.main[data_[pos + k]];
        return bits;
    };
    std::uint32_t pos = frameStart;
    while (pos < frameEnd) {
        std::uint32_t& slot = greedyHead_[GreedyHash(pos)];
        const std::uint32_t candidate = slot;  // position + 1, 0 = none
        slot = pos + 1;
        const std::uint8_t* here = data_ + pos;
        const unsigned limit = std::min<std::uint32_t>(kMaxMatch, frameEnd - pos);

        int bestGain = 0;
        unsigned bestLength = 0;
        unsigned bestRepeat = 0;
        std::uint32_t bestDistance = 0;
        if (limit >= kMinMatch) {
            const std::uint32_t r0 = repeats[0];
            if (r0 <= pos && LoadPair(here - r0) == LoadPair(here)) {
                const unsigned length = CommonLength(here, here - r0, limit);
                const int gain = literalBits(pos, length) - cost.MatchCost(0, length);
                if (gain > bestGain) bestGain = gain, bestLength = length, bestRepeat = 0, bestDistance = r0;
            }
            const std::uint32_t distance = pos + 1 - candidate;
            if (candidate != 0 && distance <= kMaxMatchDistance && Load32(here - distance) == Load32(here)) {
                const unsigned length = CommonLength(here, here - distance, limit);
                const unsigned slotOfDistance = PositionSlot(distance + kNumRepeatedOffsets - 1);
                const int gain = literalBits(pos, length) - cost.MatchCost(slotOfDistance, length);
                if (gain > bestGain)
                    bestGain = gain, bestLength = length, bestRepeat = kExplicitOffset, bestDistance = distance;
            }
        }
        if (bestLength == 0) {
            AppendLiteral(items, *here);
            ++pos;
            continue;
        }
        AppendMatch(items, repeats, bestRepeat, bestDistance, bestLength);
        for (const std::uint32_t end = pos + bestLength; ++pos < end;) greedyHead_[GreedyHash(pos)] = pos + 1;
    }
}

void OptimalParser::ParseFrame(std::uint32_t frameStart, RepeatedOffsets& repeats, std::vector<Item>& items) {
    const std::uint32_t n = static_cast<std::uint32_t>(kFrameSize);
    for (std::uint32_t i = 1; i <= n; ++i) nodes_[i].cost = kInfiniteCost;
    nodes_[0].cost = 0;
    for (unsigned r = 0; r < kNumRepeatedOffsets; ++r) nodes_[0].offsets[r] = static_cast<std::uint16_t>(repeats[r]);

    std::uint32_t skipUntil = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t pos = frameStart + i;
        if (i < skipUntil) {
            // Inside a long match taken as a whole: only keep the finders current.
            InsertPosition(pos);
            continue;
        }
        Node& node = nodes_[i];
        if (i != 0) {
            const Node& from = nodes_[i - node.length];
            node.offsets = from.offsets;
            if (node.length > 1) {
                if (node.repeat == kExplicitOffset) {
                    node.offsets = {node.distance, from.offsets[0], from.offsets[1]};
                } else {
                    std::swap(node.offsets[0], node.offsets[node.repeat]);
                }
            }
        }
        const std::uint32_t base = node.cost;
        const unsigned limit = std::min<std::uint32_t>(kMaxMatch, n - i);

        Relax(i + 1, base + cost_->main[data_[pos]], 1, 0, 0);

        const std::uint8_t* here = data_ + pos;
        if (limit >= kMinMatch) {
            const std::uint16_t head = LoadPair(here);
            for (unsigned r = 0; r < kNumRepeatedOffsets; ++r) {
                const std::uint32_t distance = node.offsets[r];
                if (distance > pos || LoadPair(here - distance) != head) continue;
                const unsigned length = CommonLength(here, here - distance, limit);
                for (unsigned len = kMinMatch; len <= length; ++len)
                    Relax(i + len, base + static_cast<std::uint32_t>(cost_->MatchCost(r, len)), len, r, distance);
            }
        }

        const unsigned longest = CollectMatches(pos, limit);
        unsigned len = kMinMatch;
        for (unsigned m = 0; m < matchCount_; ++m) {
            const Match& match = matches_[m];
            const unsigned slot = PositionSlot(match.distance + kNumRepeatedOffsets - 1);
            for (; len <= match.length; ++len)
                Relax(i + len, base + static_cast<std::uint32_t>(cost_->MatchCost(slot, len)), len, kExplicitOffset,
                      match.distance);
        }
        if (longest >= params_.niceLength) skipUntil = i + longest;
    }

    // Walk back from the frame end, then emit the path forwards.
    std::vector<std::uint32_t>& path = pathScratch_;
    path.clear();
    for (std::uint32_t i = n; i != 0; i -= nodes_[i].length) path.push_back(i);
    std::uint32_t at = 0;
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        const Node& step = nodes_[*it];
        if (step.length == 1) AppendLiteral(items, data_[frameStart + at]);
        else AppendMatch(items, repeats, step.repeat, step.distance, step.length);
        at = *it;
    }
}

void OptimalParser::Parse(const std::uint8_t* data, unsigned frames, const CostModel& cost, ParsedInterval& out,
                          const FrameParses& parses, const CostModel* greedyCost) {
    data_ = data;
    cost_ = &cost;
    out.items.clear();
    out.items.reserve(frames * kFrameSize);
    out.frames = frames;
    // The match finders are cleared only for an interval that needs them.
    bool findersReady = false;
    std::uint32_t fedUpTo = 0;  // positions below this are in the finders
    if (std::find(parses.begin(), parses.begin() + frames, FrameParse::kGreedy) != parses.begin() + frames) {
        // Allocated the first time it is needed: a book of text never needs it.
        greedyHead_.assign(std::size_t{1} << kGreedyHashBits, 0);
    }
    RepeatedOffsets repeats = {1, 1, 1};
    for (unsigned f = 0; f < frames; ++f) {
        out.frameBegin[f] = out.items.size();
        const std::uint32_t frameStart = f * static_cast<std::uint32_t>(kFrameSize);
        if (parses[f] == FrameParse::kGreedy) {
            ParseFrameGreedily(frameStart, greedyCost ? *greedyCost : cost, repeats, out.items);
        } else {
            if (!findersReady) {
                finder_.Reset(data);
                std::fill(lastPair_.begin(), lastPair_.end(), -1);
                findersReady = true;
            }
            // Greedily parsed frames before this one: their bytes can be matched too.
            for (; fedUpTo < frameStart; ++fedUpTo) InsertPosition(fedUpTo);
            ParseFrame(frameStart, repeats, out.items);
            fedUpTo = frameStart + static_cast<std::uint32_t>(kFrameSize);
        }
        out.offsetsAfterFrame[f] = repeats;
    }
    out.frameBegin[frames] = out.items.size();
}

}  // namespace hhc::lzx
