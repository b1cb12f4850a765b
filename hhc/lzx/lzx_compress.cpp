#include "lzx/lzx_compress.h"

#include <algorithm>
#include <thread>

#include "lzx/interval_encoder.h"

namespace hhc::lzx {
namespace {

constexpr std::size_t kIntervalSize = kFrameSize * kResetIntervalFrames;
// Intervals are coded in groups; within a group each interval's cost model
// comes from the one before. Groups are the unit of work for the threads, so
// the output does not depend on how many threads there are.
constexpr std::size_t kIntervalsPerGroup = 16;
constexpr unsigned kMaxThreads = 16;

// Coded form of a run of consecutive reset intervals.
struct Piece {
    std::vector<std::uint8_t> data;
    std::vector<std::uint64_t> frameOffsets;  // relative to `data`
};

void EncodeIntervals(std::span<const std::uint8_t> section, std::size_t first, std::size_t last, Piece& piece) {
    IntervalEncoder encoder;
    const std::size_t begin = first * kIntervalSize;
    const std::size_t end = std::min(section.size(), last * kIntervalSize);
    piece.data.reserve((end - begin) / 2 + 1024);
    for (std::size_t offset = begin; offset < end; offset += kIntervalSize) {
        if ((offset / kIntervalSize) % kIntervalsPerGroup == 0) encoder.ForgetCostModel();
        const std::size_t size = std::min(kIntervalSize, end - offset);
        encoder.Encode(section.subspan(offset, size), piece.data, piece.frameOffsets);
    }
}

unsigned ThreadCount(std::size_t groups) {
    const unsigned hardware = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::min<std::size_t>({hardware, std::max<std::size_t>(1, groups), kMaxThreads}));
}

}  // namespace

CompressedSection CompressSection(std::span<const std::uint8_t> section) {
    const std::size_t intervals = (section.size() + kIntervalSize - 1) / kIntervalSize;
    const std::size_t groups = (intervals + kIntervalsPerGroup - 1) / kIntervalsPerGroup;
    const unsigned threads = ThreadCount(groups);

    // Reset intervals are independent, so contiguous runs of them are coded in
    // parallel and joined; the result does not depend on the thread count.
    std::vector<Piece> pieces(threads);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        const std::size_t first = std::min(intervals, groups * t / threads * kIntervalsPerGroup);
        const std::size_t last = std::min(intervals, groups * (t + 1) / threads * kIntervalsPerGroup);
        if (t + 1 == threads) EncodeIntervals(section, first, last, pieces[t]);
        else workers.emplace_back(EncodeIntervals, section, first, last, std::ref(pieces[t]));
    }
    for (std::thread& worker : workers) worker.join();

    CompressedSection result;
    std::size_t total = 0;
    for (const Piece& piece : pieces) total += piece.data.size();
    result.data.reserve(total);
    for (Piece& piece : pieces) {
        const std::uint64_t base = result.data.size();
        for (std::uint64_t offset : piece.frameOffsets) result.frameOffsets.push_back(base + offset);
        result.data.insert(result.data.end(), piece.data.begin(), piece.data.end());
        std::vector<std::uint8_t>().swap(piece.data);
    }
    return result;
}

}  // namespace hhc::lzx
