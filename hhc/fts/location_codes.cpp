#include "fts/location_codes.h"

#include "fts/wlc_coder.h"
#include "fts/workers.h"

namespace hhc::fts {
namespace {

inline void Prefetch(const void* address) {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

// Splits the keys into `parts` runs [first, next first) of about equal
// numbers of positions.
std::vector<std::size_t> SplitEvenly(const std::vector<std::uint64_t>& occurrences, std::size_t parts) {
    std::uint64_t total = 0;
    for (std::uint64_t n : occurrences) total += n;
    std::vector<std::size_t> firsts{0};
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < occurrences.size() && firsts.size() < parts; ++i) {
        sum += occurrences[i];
        if (sum * parts >= total * firsts.size()) firsts.push_back(i + 1);
    }
    firsts.push_back(occurrences.size());
    return firsts;
}

}  // namespace

void AppendDocumentCodes(std::uint32_t documentDelta, const std::uint32_t* positions, std::size_t count,
                         const LocationRoots& roots, std::string& out) {
    BitWriter bits(out);
    PutScaleRoot(bits, documentDelta, roots.document);
    PutScaleRoot(bits, static_cast<std::uint32_t>(count), roots.count);
    std::uint32_t previous = 0;
    for (std::size_t i = 0; i < count; ++i) {
        PutScaleRoot(bits, positions[i] - previous, roots.location);
        previous = positions[i];
    }
}

// Each task builds the blocks of one run of keys, going through every page
// in order and taking that run's keys: the pages are read in the order they
// were made, and every block is written by one thread only.
std::vector<std::string> BuildBlocks(const std::vector<PageWords>& pages, const std::vector<std::uint32_t>& keys,
                                     const std::vector<std::uint64_t>& occurrences, std::size_t keyLimit,
                                     const LocationRoots& roots, unsigned threads) {
    constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    std::vector<std::uint32_t> blockOf(keyLimit, kNone);
    for (std::size_t i = 0; i < keys.size(); ++i) blockOf[keys[i]] = static_cast<std::uint32_t>(i);
    std::vector<std::string> blocks(keys.size());
    std::vector<std::uint32_t> lastDocuments(keys.size(), 0);
    std::vector<std::size_t> firsts = SplitEvenly(occurrences, threads);
    RunTasks(firsts.size() - 1, threads, [&](unsigned) {
        return [&](std::size_t task) {
            const std::size_t first = firsts[task];
            const std::size_t end = firsts[task + 1];
            for (const PageWords& page : pages) {
                const std::size_t groups = page.keys.size();
                for (std::size_t i = 0; i < groups; ++i) {
                    // Blocks are appended to in no useful order: ask for the
                    // memory of the groups just ahead before it is needed.
                    if (i + 16 < groups) Prefetch(&blockOf[page.keys[i + 16]]);
                    if (i + 8 < groups) {
                        std::uint32_t ahead = blockOf[page.keys[i + 8]];
                        if (ahead >= first && ahead < end) Prefetch(&blocks[ahead]);
                    }
                    if (i + 4 < groups) {
                        std::uint32_t ahead = blockOf[page.keys[i + 4]];
                        if (ahead >= first && ahead < end) Prefetch(blocks[ahead].data() + blocks[ahead].size());
                    }
                    std::uint32_t b = blockOf[page.keys[i]];
                    if (b < first || b >= end) continue;  // kNone is never in range
                    std::string& block = blocks[b];
                    std::uint32_t delta = page.document - (block.empty() ? 0 : lastDocuments[b]);
                    lastDocuments[b] = page.document;
                    std::size_t begin = page.begin(i);
                    AppendDocumentCodes(delta, page.positions.data() + begin, page.ends[i] - begin, roots, block);
                }
            }
        };
    });
    return blocks;
}

}  // namespace hhc::fts
