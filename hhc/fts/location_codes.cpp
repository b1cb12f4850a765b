#include "fts/location_codes.h"

#include <algorithm>

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

std::size_t DocumentCodeBytes(std::uint32_t documentDelta, const std::uint32_t* positions, std::size_t count,
                              const LocationRoots& roots) {
    std::size_t bits = ScaleRootBits(documentDelta, roots.document) +
                       ScaleRootBits(static_cast<std::uint32_t>(count), roots.count);
    std::uint32_t previous = 0;
    for (std::size_t i = 0; i < count; ++i) {
        bits += ScaleRootBits(positions[i] - previous, roots.location);
        previous = positions[i];
    }
    return (bits + 7) / 8;
}

char* WriteDocumentCodes(std::uint32_t documentDelta, const std::uint32_t* positions, std::size_t count,
                         const LocationRoots& roots, char* out) {
    ByteBitWriter bits(out);
    PutScaleRoot(bits, documentDelta, roots.document);
    PutScaleRoot(bits, static_cast<std::uint32_t>(count), roots.count);
    std::uint32_t previous = 0;
    for (std::size_t i = 0; i < count; ++i) {
        PutScaleRoot(bits, positions[i] - previous, roots.location);
        previous = positions[i];
    }
    return bits.Finish();
}

namespace {

// Gives every group of the pages the number of its key's block in place of
// the key.
void NumberBlocks(std::vector<PageWords>& pages, const std::vector<std::uint32_t>& keys, std::size_t keyLimit,
                  unsigned threads) {
    std::vector<std::uint32_t> blockOf(keyLimit, 0);
    for (std::size_t i = 0; i < keys.size(); ++i) blockOf[keys[i]] = static_cast<std::uint32_t>(i);
    RunTasks(pages.size(), threads, [&](unsigned) {
        return [&](std::size_t p) {
            std::vector<std::uint32_t>& groups = pages[p].keys;
            for (std::size_t i = 0; i < groups.size(); ++i) {
                if (i + 16 < groups.size()) Prefetch(&blockOf[groups[i + 16]]);
                groups[i] = blockOf[groups[i]];
            }
        };
    });
}

// Calls visit(block, documentDelta, positions, count) for every group of the
// pages that belongs to a block in [first, end), pages in order, and
// ahead(block) a few groups earlier. A page's sorted groups hold ascending
// block numbers, so the run's part of them is found by binary search.
template <class Visit, class Ahead>
void ForEachGroup(const std::vector<PageWords>& pages, std::uint32_t first, std::uint32_t end,
                  std::vector<std::uint32_t>& lastDocuments, Visit&& visit, Ahead&& ahead) {
    constexpr std::uint32_t kNoDocument = 0xFFFFFFFFu;
    constexpr std::size_t kAhead = 8;
    std::fill(lastDocuments.begin() + first, lastDocuments.begin() + end, kNoDocument);
    auto take = [&](const PageWords& page, std::size_t i) {
        std::uint32_t b = page.keys[i];
        std::uint32_t& last = lastDocuments[b];
        std::uint32_t delta = page.document - (last == kNoDocument ? 0 : last);
        last = page.document;
        std::size_t begin = page.begin(i);
        visit(b, delta, page.positions.data() + begin, page.ends[i] - begin);
    };
    for (const PageWords& page : pages) {
        const std::vector<std::uint32_t>& groups = page.keys;
        const auto sortedEnd = groups.begin() + static_cast<std::ptrdiff_t>(page.sortedGroups);
        auto from = static_cast<std::size_t>(std::lower_bound(groups.begin(), sortedEnd, first) - groups.begin());
        auto to = static_cast<std::size_t>(std::lower_bound(groups.begin() + static_cast<std::ptrdiff_t>(from), sortedEnd, end) - groups.begin());
        for (std::size_t i = from; i < to; ++i) {
            if (i + kAhead < to) ahead(groups[i + kAhead]);
            take(page, i);
        }
        for (std::size_t i = page.sortedGroups; i < groups.size(); ++i) {
            if (groups[i] >= first && groups[i] < end) take(page, i);
        }
    }
}

}  // namespace

// The blocks' sizes are counted first, so that every group's codes go
// straight to their place: each task takes one run of blocks, going through
// every page in order for the groups of its run, so every byte is written by
// one thread only.
Blocks BuildBlocks(std::vector<PageWords>& pages, const std::vector<std::uint32_t>& keys,
                   const std::vector<std::uint64_t>& occurrences, std::size_t keyLimit, const LocationRoots& roots,
                   unsigned threads) {
    NumberBlocks(pages, keys, keyLimit, threads);
    std::vector<std::size_t> firsts = SplitEvenly(occurrences, threads);
    const std::size_t tasks = firsts.size() - 1;
    std::vector<std::uint32_t> lastDocuments(keys.size());
    Blocks blocks;
    blocks.ends.assign(keys.size(), 0);
    RunTasks(tasks, threads, [&](unsigned) {
        return [&](std::size_t task) {
            ForEachGroup(pages, static_cast<std::uint32_t>(firsts[task]), static_cast<std::uint32_t>(firsts[task + 1]),
                         lastDocuments,
                         [&](std::uint32_t b, std::uint32_t delta, const std::uint32_t* positions, std::size_t count) {
                             blocks.ends[b] += DocumentCodeBytes(delta, positions, count, roots);
                         },
                         [](std::uint32_t) {});
        };
    });
    // ends[] holds sizes; each block's write position starts at its beginning.
    std::vector<std::size_t> next(keys.size());
    std::size_t total = 0;
    for (std::size_t b = 0; b < keys.size(); ++b) {
        next[b] = total;
        total += blocks.ends[b];
        blocks.ends[b] = total;
    }
    blocks.bytes.resize(total);
    RunTasks(tasks, threads, [&](unsigned) {
        return [&](std::size_t task) {
            ForEachGroup(pages, static_cast<std::uint32_t>(firsts[task]), static_cast<std::uint32_t>(firsts[task + 1]),
                         lastDocuments,
                         [&](std::uint32_t b, std::uint32_t delta, const std::uint32_t* positions, std::size_t count) {
                             char* out = blocks.bytes.data() + next[b];
                             next[b] = static_cast<std::size_t>(WriteDocumentCodes(delta, positions, count, roots, out) -
                                                                blocks.bytes.data());
                         },
                         // Each group's codes land far from the last ones.
                         [&](std::uint32_t b) { Prefetch(blocks.bytes.data() + next[b]); });
        };
    });
    return blocks;
}

}  // namespace hhc::fts
