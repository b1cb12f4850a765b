#include "lzx/lazy_parser.h"

#include <algorithm>

namespace hhc::lzx {

void LazyParser::InsertUpTo(std::uint32_t pos) {
    for (; nextInsert_ < pos; ++nextInsert_) finder_.Insert(nextInsert_);
}

LazyParser::Choice LazyParser::FindBest(std::uint32_t pos, std::uint32_t frameEnd) {
    InsertUpTo(pos);
    const std::int32_t candidate = finder_.Insert(pos);
    nextInsert_ = pos + 1;

    Choice best;
    const unsigned limit = std::min<std::uint32_t>(kMaxMatch, frameEnd - pos);
    if (limit < kMinMatch) return best;
    const std::uint8_t* here = data_ + pos;

    // Repeated offsets: cheap to code, worth taking even when short.
    for (unsigned r = 0; r < kNumRepeatedOffsets; ++r) {
        const std::uint32_t distance = repeats_[r];
        if (distance > pos) continue;
        const unsigned length = CommonLength(here, here - distance, limit);
        if (length < kMinMatch) continue;
        const int gain = LiteralCost(pos, length) - cost_->MatchCost(r, length);
        if (gain > best.gain) best = {gain, length, r, distance};
    }

    // Explicit distances from the hash chain, nearest first; only matches
    // longer than every one seen so far are considered.
    finder_.VisitLongerMatches(candidate, pos, kMinMatch, limit, params_.maxChainDepth, params_.niceLength,
                               [&](unsigned length, std::uint32_t distance) {
                                   const unsigned slot = PositionSlot(distance + kNumRepeatedOffsets - 1);
                                   const int gain = LiteralCost(pos, length) - cost_->MatchCost(slot, length);
                                   if (gain > best.gain) best = {gain, length, kExplicitOffset, distance};
                               });
    return best;
}

void LazyParser::EmitLiteral(std::uint32_t pos) { AppendLiteral(*items_, data_[pos]); }

void LazyParser::EmitMatch(const Choice& choice) {
    AppendMatch(*items_, repeats_, choice.repeat, choice.distance, choice.length);
}

void LazyParser::Parse(const std::uint8_t* data, unsigned frames, const CostModel& cost, ParsedInterval& out) {
    data_ = data;
    cost_ = &cost;
    items_ = &out.items;
    out.items.clear();
    out.frames = frames;
    finder_.Reset(data);
    nextInsert_ = 0;
    repeats_ = {1, 1, 1};

    const std::uint32_t size = frames * static_cast<std::uint32_t>(kFrameSize);
    litPrefix_.resize(size + 1);
    litPrefix_[0] = 0;
    for (std::uint32_t i = 0; i < size; ++i) litPrefix_[i + 1] = litPrefix_[i] + cost.main[data[i]];

    for (unsigned f = 0; f < frames; ++f) {
        out.frameBegin[f] = out.items.size();
        const std::uint32_t frameEnd = (f + 1) * static_cast<std::uint32_t>(kFrameSize);
        std::uint32_t pos = f * static_cast<std::uint32_t>(kFrameSize);
        Choice current = FindBest(pos, frameEnd);
        while (pos < frameEnd) {
            if (current.length == 0) {
                EmitLiteral(pos++);
                if (pos < frameEnd) current = FindBest(pos, frameEnd);
                continue;
            }
            if (current.length < params_.niceLength && pos + 1 < frameEnd) {
                // One step of lookahead: a better match one byte later wins.
                const Choice next = FindBest(pos + 1, frameEnd);
                if (next.gain > current.gain) {
                    EmitLiteral(pos++);
                    current = next;
                    continue;
                }
            }
            EmitMatch(current);
            pos += current.length;
            if (pos < frameEnd) current = FindBest(pos, frameEnd);
        }
        out.offsetsAfterFrame[f] = repeats_;
    }
    out.frameBegin[frames] = out.items.size();
}

}  // namespace hhc::lzx
