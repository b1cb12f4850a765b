#include "lzx/lzx_compress.h"

#include <algorithm>
#include <memory>
#include <thread>

#include "common/run_tasks.h"
#include "lzx/interval_encoder.h"

namespace hhc::lzx {
namespace {

constexpr std::size_t kIntervalSize = kFrameSize * kResetIntervalFrames;
// Intervals are coded in groups; within a group each interval's cost model
// comes from the one before. Groups are the unit of work for the threads, so
// the output does not depend on how many threads there are.
constexpr std::size_t kIntervalsPerGroup = 16;
constexpr unsigned kMaxThreads = 16;

// Coded form of one group of consecutive reset intervals.
struct Piece {
    std::vector<std::uint8_t> data;
    std::vector<std::uint64_t> frameOffsets;  // relative to `data`
};

void EncodeGroup(std::span<const std::uint8_t> section, std::size_t group, IntervalEncoder& encoder, Piece& piece) {
    const std::size_t begin = group * kIntervalsPerGroup * kIntervalSize;
    const std::size_t end = std::min(section.size(), begin + kIntervalsPerGroup * kIntervalSize);
    piece.data.reserve((end - begin) / 2);
    encoder.ForgetCostModel();
    for (std::size_t offset = begin; offset < end; offset += kIntervalSize)
        encoder.Encode(section.subspan(offset, std::min(kIntervalSize, end - offset)), piece.data, piece.frameOffsets);
    // The pieces all live until they are joined, next to the joined stream:
    // drop the growth slack so a big book is not held at up to twice its size.
    piece.data.shrink_to_fit();
}

unsigned ThreadCount(std::size_t groups) {
    const unsigned hardware = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::min<std::size_t>({hardware, std::max<std::size_t>(1, groups), kMaxThreads}));
}

std::vector<Piece> EncodePieces(std::span<const std::uint8_t> section) {
    const std::size_t intervals = (section.size() + kIntervalSize - 1) / kIntervalSize;
    const std::size_t groups = (intervals + kIntervalsPerGroup - 1) / kIntervalsPerGroup;

    // Each thread takes the next group not yet taken, with an encoder of its
    // own. The first failure (out of memory) stops the others and is passed
    // on to the caller.
    std::vector<Piece> pieces(groups);
    RunTasks(groups, ThreadCount(groups), [&](unsigned) {
        return [&, encoder = std::make_unique<IntervalEncoder>()](std::size_t g) {
            EncodeGroup(section, g, *encoder, pieces[g]);
        };
    });
    return pieces;
}

// Joins the pieces, releasing each once copied so the stream is not held twice.
CompressedSection JoinPieces(std::vector<Piece> pieces) {
    CompressedSection result;
    std::size_t total = 0;
    std::size_t frames = 0;
    for (const Piece& piece : pieces) {
        total += piece.data.size();
        frames += piece.frameOffsets.size();
    }
    result.data.reserve(total);
    result.frameOffsets.reserve(frames);
    for (Piece& piece : pieces) {
        const std::uint64_t base = result.data.size();
        for (std::uint64_t offset : piece.frameOffsets) result.frameOffsets.push_back(base + offset);
        result.data.insert(result.data.end(), piece.data.begin(), piece.data.end());
        piece = Piece{};
    }
    return result;
}

}  // namespace

CompressedSection CompressSection(std::span<const std::uint8_t> section) {
    return JoinPieces(EncodePieces(section));
}

CompressedSection CompressSection(std::vector<std::uint8_t>&& section) {
    std::vector<Piece> pieces = EncodePieces(section);
    std::vector<std::uint8_t>().swap(section);  // not needed for the join
    return JoinPieces(std::move(pieces));
}

}  // namespace hhc::lzx
