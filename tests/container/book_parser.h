#pragma once
// A strict reader of the container's structure, written for the tests: it
// decodes the directory chunks and records what breaks the rules readers
// depend on but may not check themselves (exact free space, entry counts,
// quickref words, index entries naming the first entry of their child, LZX
// control data and a reset table every reader can use). Header fields, links,
// name order and finding names are left to the CHM readers' lookups.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace container_test {

struct ParsedEntry {
    std::string name;
    std::uint64_t section = 0;
    std::uint64_t offset = 0;  // in an index chunk: the child chunk's number
    std::uint64_t length = 0;
};

struct ParsedBook {
    std::uint64_t contentOffset = 0;
    std::uint32_t chunkCount = 0;
    std::uint32_t listingChunks = 0;
    std::uint32_t depth = 0;
    std::vector<ParsedEntry> entries;  // in listing order
    std::vector<std::string> problems;

    const ParsedEntry* Find(std::string_view name) const;
    // Bytes of a section-0 file ("" if absent or not in section 0).
    std::string Section0File(std::string_view book, std::string_view name) const;
};

ParsedBook ParseBook(std::string_view book);

std::uint64_t ReadLe(std::string_view bytes, std::size_t pos, std::size_t size);

}  // namespace container_test
