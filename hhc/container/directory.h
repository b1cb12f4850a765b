#pragma once
// The directory (header section 1): the ITSP header followed by 4096-byte
// listing chunks (PMGL, holding the entries) and, when there is more than one
// listing chunk, index chunks (PMGI) forming a B-tree over them.
#include <cstdint>
#include <string>
#include <vector>

namespace hhc::container {

inline constexpr std::uint32_t kDirectoryChunkSize = 0x1000;
inline constexpr std::uint32_t kItspHeaderSize = 0x54;

struct DirectoryEntry {
    std::string name;           // UTF-8, never empty
    std::uint32_t section = 0;  // content section 0 or 1
    std::uint64_t offset = 0;   // inside the (decompressed) section
    std::uint64_t length = 0;
};

struct Directory {
    std::string bytes;                 // ITSP header + every chunk
    std::uint32_t listingChunks = 0;   // PMGL chunks, numbered 0 .. listingChunks-1
    std::uint32_t chunkCount = 0;      // PMGL + PMGI
    std::uint32_t depth = 1;           // 1 + number of index levels
    std::int32_t rootIndexChunk = -1;  // -1 without index chunks
};

// `entries` must be sorted by CompareNames with no two names comparing equal.
Directory BuildDirectory(const std::vector<DirectoryEntry>& entries);

}  // namespace hhc::container
