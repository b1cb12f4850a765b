#include "fts/btree_writer.h"

#include <algorithm>

#include "fts/le_put.h"

namespace hhc::fts {
namespace {

constexpr std::size_t kLeafHeader = 8;
constexpr std::size_t kIndexHeader = 2;
constexpr std::size_t kLeafCapacity = kNodeSize - kLeafHeader;
constexpr std::size_t kIndexCapacity = kNodeSize - kIndexHeader;

std::size_t SharedPrefix(std::string_view a, std::string_view b) {
    std::size_t n = std::min({a.size(), b.size(), std::size_t{255}});
    std::size_t i = 0;
    while (i < n && a[i] == b[i]) ++i;
    return i;
}

std::size_t LeafEntrySize(const LeafEntry& e, std::string_view previous) {
    std::size_t shared = SharedPrefix(previous, e.word);
    return 2 + (e.word.size() - shared) + 1 + EncIntLeSize(e.documentCount) + 4 + 2 +
           EncIntLeSize(e.locationCodes.size());
}

// Entries [first, last) of one word.
struct Group {
    std::size_t first;
    std::size_t last;
};

std::vector<Group> GroupByWord(const std::vector<LeafEntry>& entries) {
    std::vector<Group> groups;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (groups.empty() || entries[groups.back().first].word != entries[i].word) groups.push_back({i, i});
        groups.back().last = i + 1;
    }
    return groups;
}

// Readers of the chmlib family descend the tree comparing words with
// strcasecmp, which folds bytes 0x41-0x5A to 0x61-0x7A, trail bytes of
// double-byte characters included. A leaf that ends with such a character
// (trail byte 0x41-0x7A) while characters of the same lead byte follow in the
// next leaf sends them into the wrong leaf for some queries. Any other
// boundary orders the same way folded or not.
bool SafeBoundary(std::string_view last, std::string_view next) {
    if (last.size() != 2 || next.size() != 2 || last[0] != next[0]) return true;
    auto trail = static_cast<std::uint8_t>(last[1]);
    return trail < 0x41 || trail > 0x7A;
}

// Splits the groups into leaves: [start of leaf i, start of leaf i + 1).
std::vector<std::size_t> PlanLeaves(const std::vector<LeafEntry>& entries, const std::vector<Group>& groups) {
    std::vector<std::size_t> starts;  // group index where each leaf begins
    std::size_t g = 0;
    while (g < groups.size()) {
        std::size_t leafStart = g;
        starts.push_back(leafStart);
        std::size_t used = 0;
        std::string_view previous;
        for (; g < groups.size(); ++g) {
            std::size_t size = 0;
            std::string_view prev = previous;
            for (std::size_t e = groups[g].first; e < groups[g].last; ++e) {
                size += LeafEntrySize(entries[e], prev);
                prev = entries[e].word;
            }
            if (used + size > kLeafCapacity && g > leafStart) break;
            used += size;
            previous = prev;
        }
        if (g == groups.size()) break;
        // g is the first group that did not fit. Move the cut back to a safe
        // boundary when this leaf has one.
        auto wordOf = [&](std::size_t group) { return entries[groups[group].first].word; };
        std::size_t cut = g;
        while (cut > leafStart + 1 && !SafeBoundary(wordOf(cut - 1), wordOf(cut))) --cut;
        g = SafeBoundary(wordOf(cut - 1), wordOf(cut)) ? cut : g;
    }
    return starts;
}

struct ChildKey {
    std::string_view lastWord;
    std::uint32_t offset;
};

// Writes one level of index nodes over `children`; returns the next level.
std::vector<ChildKey> WriteIndexLevel(const std::vector<ChildKey>& children, std::string& file,
                                      std::uint64_t& freeBytes) {
    std::vector<ChildKey> parents;
    std::size_t i = 0;
    while (i < children.size()) {
        std::string node;
        PutU16(node, 0);
        std::string_view previous;
        std::string_view last;
        for (; i < children.size(); ++i) {
            const ChildKey& c = children[i];
            std::size_t shared = SharedPrefix(previous, c.lastWord);
            std::size_t size = 2 + (c.lastWord.size() - shared) + 4 + 2;
            if (node.size() - kIndexHeader + size > kIndexCapacity) break;
            node.push_back(static_cast<char>(c.lastWord.size() - shared + 1));
            node.push_back(static_cast<char>(shared));
            node.append(c.lastWord.substr(shared));
            PutU32(node, c.offset);
            PutU16(node, 0);
            previous = last = c.lastWord;
        }
        auto free = static_cast<std::uint16_t>(kNodeSize - node.size());
        PokeU16(node, 0, free);
        freeBytes += free;
        node.resize(kNodeSize, '\0');
        parents.push_back({last, static_cast<std::uint32_t>(file.size())});
        file += node;
    }
    return parents;
}

}  // namespace

TreeLayout WriteTree(const std::vector<LeafEntry>& entries, std::string& file) {
    TreeLayout layout;
    std::vector<Group> groups = GroupByWord(entries);
    std::vector<std::size_t> leafStarts = PlanLeaves(entries, groups);
    if (leafStarts.empty()) leafStarts.push_back(0);  // an empty index is one empty leaf

    std::vector<ChildKey> leaves;
    std::size_t previousLeafOffset = 0;
    for (std::size_t leaf = 0; leaf < leafStarts.size(); ++leaf) {
        std::size_t firstEntry = leafStarts[leaf] < groups.size() ? groups[leafStarts[leaf]].first : 0;
        std::size_t lastEntry = leaf + 1 < leafStarts.size() ? groups[leafStarts[leaf + 1]].first : entries.size();

        std::string node;
        PutU32(node, 0);
        PutU16(node, 0);
        PutU16(node, 0);
        std::string_view previous;
        for (std::size_t e = firstEntry; e < lastEntry; ++e) {
            const LeafEntry& entry = entries[e];
            std::size_t shared = SharedPrefix(previous, entry.word);
            node.push_back(static_cast<char>(entry.word.size() - shared + 1));
            node.push_back(static_cast<char>(shared));
            node.append(entry.word.substr(shared));
            node.push_back(static_cast<char>(entry.context));
            PutEncIntLe(node, entry.documentCount);
            PutU32(node, static_cast<std::uint32_t>(file.size()));
            PutU16(node, 0);
            PutEncIntLe(node, entry.locationCodes.size());
            file += entry.locationCodes;
            layout.entryWordBytes += entry.word.size();
            previous = entry.word;
        }
        auto free = static_cast<std::uint16_t>(kNodeSize - node.size());
        PokeU16(node, 6, free);
        layout.freeBytes += free;
        node.resize(kNodeSize, '\0');

        auto offset = static_cast<std::uint32_t>(file.size());
        if (leaf > 0) PokeU32(file, previousLeafOffset, offset);
        previousLeafOffset = offset;
        leaves.push_back({previous, offset});
        file += node;
    }
    layout.leafCount = static_cast<std::uint32_t>(leaves.size());

    std::vector<ChildKey> level = leaves;
    while (level.size() > 1) {
        level = WriteIndexLevel(level, file, layout.freeBytes);
        ++layout.depth;
    }
    layout.rootOffset = level.front().offset;
    return layout;
}

}  // namespace hhc::fts
