#pragma once
// The B-tree of "/$FIftiMain": 4096-byte leaf nodes holding the sorted words,
// each preceded in the file by the location-code blocks of its own entries,
// then the index nodes, lowest level first, the root last.
//
// Leaf node:  dword next leaf (0 in the last), word 0, word free bytes, entries
// Leaf entry: byte new bytes + 1, byte bytes shared with the previous word,
//             new bytes, byte context, ENCINT-LE document count,
//             dword block offset, word 0, ENCINT-LE block size
// Index node: word free bytes, entries
// Index entry: byte new bytes + 1, byte shared bytes, new bytes,
//             dword child offset, word 0   (the key is the child's last word)
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hhc::fts {

inline constexpr std::size_t kNodeSize = 4096;

struct LeafEntry {
    std::string_view word;
    std::uint8_t context = 0;
    std::uint32_t documentCount = 0;
    std::string_view locationCodes;  // the entry's WLC block
};

struct TreeLayout {
    std::uint32_t rootOffset = 0;
    std::uint32_t leafCount = 0;
    std::uint16_t depth = 1;
    std::uint64_t freeBytes = 0;       // free space of every node
    std::uint64_t entryWordBytes = 0;  // word length summed over all leaf entries
};

// Appends blocks and nodes to `file`, which already holds the header space.
// `entries` are sorted by word bytes, a word's body entry before its title
// entry. Leaves are never split between two entries of one word, and, where
// possible, never after a double-byte word whose trail byte is an ASCII letter
// code (see btree_writer.cpp).
TreeLayout WriteTree(const std::vector<LeafEntry>& entries, std::string& file);

}  // namespace hhc::fts
