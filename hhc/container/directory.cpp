#include "container/directory.h"

#include <stdexcept>
#include <string_view>

#include "container/encint.h"
#include "common/le_bytes.h"

namespace hhc::container {

namespace {

constexpr std::size_t kListingChunkHeaderSize = 0x14;  // "PMGL", free space, 0, prev, next
constexpr std::size_t kIndexChunkHeaderSize = 0x08;    // "PMGI", free space
// A quickref word for every (1 + 2^density)th entry: entries 5, 10, 15, ...
constexpr std::uint32_t kQuickrefDensity = 2;
constexpr std::size_t kQuickrefSpacing = 1 + (1u << kQuickrefDensity);

// {5D02926A-212E-11D0-9DF9-00A0C922E6EC}, in stored byte order.
constexpr std::uint8_t kDirectoryGuid[16] = {0x6A, 0x92, 0x02, 0x5D, 0x2E, 0x21, 0xD0, 0x11,
                                             0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
constexpr std::uint32_t kDirectoryLanguage = 0x0409;

// The entries of one chunk, before the chunk header and tail are added.
struct ChunkBody {
    std::string entries;
    std::vector<std::uint16_t> quickrefs;  // offset of entry 5k, k = 1, 2, ...
    std::uint16_t count = 0;
    std::string firstName;
};

// Space the fixed parts of a chunk take: header, quickref words and the
// entry-count WORD, for a chunk holding `count` entries.
std::size_t OverheadFor(std::size_t headerSize, std::size_t count) {
    const std::size_t quickrefs = count == 0 ? 0 : (count - 1) / kQuickrefSpacing;
    return headerSize + 2 * quickrefs + 2;
}

// Cuts a sequence of encoded entries into chunk bodies, filling each chunk as
// far as it goes; an entry never spans two chunks.
class ChunkPacker {
public:
    explicit ChunkPacker(std::size_t headerSize) : headerSize_(headerSize) {}

    void Add(std::string_view name, std::string_view encoded) {
        if (!Fits(encoded.size())) {
            if (current_.count == 0) throw std::logic_error("directory entry larger than a chunk");
            Close();
        }
        if (current_.count == 0) current_.firstName.assign(name);
        if (current_.count > 0 && current_.count % kQuickrefSpacing == 0)
            current_.quickrefs.push_back(static_cast<std::uint16_t>(current_.entries.size()));
        current_.entries.append(encoded);
        ++current_.count;
    }

    std::vector<ChunkBody> Finish() {
        if (current_.count > 0) Close();
        return std::move(bodies_);
    }

private:
    bool Fits(std::size_t entryBytes) const {
        return OverheadFor(headerSize_, current_.count + 1u) + current_.entries.size() + entryBytes <=
               kDirectoryChunkSize;
    }

    void Close() {
        bodies_.push_back(std::move(current_));
        current_ = ChunkBody{};
    }

    std::size_t headerSize_;
    ChunkBody current_;
    std::vector<ChunkBody> bodies_;
};

// Appends the entries, the zero gap, the quickref words (stored backwards
// from the end) and the entry count: everything after the chunk header.
void AppendChunkBody(std::string& out, const ChunkBody& body, std::size_t headerSize) {
    const std::size_t tail = 2 * body.quickrefs.size() + 2;
    out.append(body.entries);
    out.append(kDirectoryChunkSize - headerSize - body.entries.size() - tail, '\0');
    for (std::size_t k = body.quickrefs.size(); k-- > 0;) PutU16(out, body.quickrefs[k]);
    PutU16(out, body.count);
}

std::uint32_t FreeSpace(const ChunkBody& body, std::size_t headerSize) {
    return static_cast<std::uint32_t>(kDirectoryChunkSize - headerSize - body.entries.size());
}

void AppendListingChunk(std::string& out, const ChunkBody& body, std::int32_t prev, std::int32_t next) {
    out.append("PMGL", 4);
    PutU32(out, FreeSpace(body, kListingChunkHeaderSize));
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(prev));
    PutU32(out, static_cast<std::uint32_t>(next));
    AppendChunkBody(out, body, kListingChunkHeaderSize);
}

void AppendIndexChunk(std::string& out, const ChunkBody& body) {
    out.append("PMGI", 4);
    PutU32(out, FreeSpace(body, kIndexChunkHeaderSize));
    AppendChunkBody(out, body, kIndexChunkHeaderSize);
}

std::vector<ChunkBody> PackListing(const std::vector<DirectoryEntry>& entries) {
    ChunkPacker packer(kListingChunkHeaderSize);
    std::string encoded;
    for (const DirectoryEntry& e : entries) {
        encoded.clear();
        AppendEncint(encoded, e.name.size());
        encoded.append(e.name);
        AppendEncint(encoded, e.section);
        AppendEncint(encoded, e.offset);
        AppendEncint(encoded, e.length);
        packer.Add(e.name, encoded);
    }
    return packer.Finish();
}

// One index level over `children` (numbered from `firstChildNumber`): one
// entry per child naming its first entry.
std::vector<ChunkBody> PackIndexLevel(const std::vector<ChunkBody>& children, std::uint32_t firstChildNumber) {
    ChunkPacker packer(kIndexChunkHeaderSize);
    std::string encoded;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const std::string& name = children[i].firstName;
        encoded.clear();
        AppendEncint(encoded, name.size());
        encoded.append(name);
        AppendEncint(encoded, firstChildNumber + i);
        packer.Add(name, encoded);
    }
    return packer.Finish();
}

void AppendItspHeader(std::string& out, const Directory& d, std::uint32_t lastListingChunk) {
    out.append("ITSP", 4);
    PutU32(out, 1);  // version
    PutU32(out, kItspHeaderSize);
    PutU32(out, 0x0A);
    PutU32(out, kDirectoryChunkSize);
    PutU32(out, kQuickrefDensity);
    PutU32(out, d.depth);
    PutU32(out, static_cast<std::uint32_t>(d.rootIndexChunk));
    PutU32(out, 0);  // first listing chunk
    PutU32(out, lastListingChunk);
    PutU32(out, 0xFFFFFFFF);
    PutU32(out, d.chunkCount);
    PutU32(out, kDirectoryLanguage);
    PutBytes(out, kDirectoryGuid, sizeof kDirectoryGuid);
    PutU32(out, kItspHeaderSize);
    PutU32(out, 0xFFFFFFFF);
    PutU32(out, 0xFFFFFFFF);
    PutU32(out, 0xFFFFFFFF);
}

}  // namespace

Directory BuildDirectory(const std::vector<DirectoryEntry>& entries) {
    if (entries.empty()) throw std::invalid_argument("a directory needs at least one entry");
    const std::vector<ChunkBody> listing = PackListing(entries);

    Directory d;
    d.listingChunks = static_cast<std::uint32_t>(listing.size());
    std::vector<std::vector<ChunkBody>> indexLevels;
    std::uint32_t nextNumber = d.listingChunks;
    const std::vector<ChunkBody>* below = &listing;
    std::uint32_t belowFirst = 0;
    while (below->size() > 1) {
        indexLevels.push_back(PackIndexLevel(*below, belowFirst));
        below = &indexLevels.back();
        belowFirst = nextNumber;
        nextNumber += static_cast<std::uint32_t>(below->size());
    }
    d.chunkCount = nextNumber;
    d.depth = 1 + static_cast<std::uint32_t>(indexLevels.size());
    d.rootIndexChunk = indexLevels.empty() ? -1 : static_cast<std::int32_t>(nextNumber - 1);

    d.bytes.reserve(kItspHeaderSize + std::size_t{d.chunkCount} * kDirectoryChunkSize);
    AppendItspHeader(d.bytes, d, d.listingChunks - 1);
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const auto prev = i == 0 ? -1 : static_cast<std::int32_t>(i - 1);
        const auto next = i + 1 == listing.size() ? -1 : static_cast<std::int32_t>(i + 1);
        AppendListingChunk(d.bytes, listing[i], prev, next);
    }
    for (const auto& level : indexLevels)
        for (const ChunkBody& body : level) AppendIndexChunk(d.bytes, body);
    return d;
}

}  // namespace hhc::container
