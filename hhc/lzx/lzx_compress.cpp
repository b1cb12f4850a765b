#include "lzx/lzx_compress.h"

#include <algorithm>
#include <thread>

#include "lzx/interval_encoder.h"

namespace hhc::lzx {
namespace {

constexpr std::size_t kIntervalSize = kFrameSize * kResetIntervalFrames;
// Below this many intervals per extra thread, starting threads costs more than it saves.
constexpr std::size_t kMinIntervalsPerThread = 8;
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
        const std::size_t size = std::min(kIntervalSize, end - offset);
        encoder.Encode(section.subspan(offset, size), piece.data, piece.frameOffsets);
    }
}

unsigned ThreadCount(std::size_t intervals) {
    const unsigned hardware = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t useful = std::max<std::size_t>(1, intervals / kMinIntervalsPerThread);
    return static_cast<unsigned>(std::min<std::size_t>({hardware, useful, kMaxThreads}));
}

}  // namespace

CompressedSection CompressSection(std::span<const std::uint8_t> section) {
    const std::size_t intervals = (section.size() + kIntervalSize - 1) / kIntervalSize;
    const unsigned threads = ThreadCount(intervals);

    // Reset intervals are independent, so contiguous runs of them are coded in
    // parallel and joined; the result does not depend on the thread count.
    std::vector<Piece> pieces(threads);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        const std::size_t first = intervals * t / threads;
        const std::size_t last = intervals * (t + 1) / threads;
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
