#include "batch/book_directory.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

#include "platform/platform.h"

namespace chmbook {
namespace {

// Where things lie in the container's headers.
constexpr std::size_t kItsfHeaderSize = 0x60;
constexpr std::size_t kDirectoryOffsetField = 0x48;
constexpr std::size_t kItspHeaderLengthField = 0x08;
constexpr std::size_t kChunkSizeField = 0x10;
constexpr std::size_t kChunkCountField = 0x2C;
constexpr std::size_t kListingHeaderSize = 0x14;
constexpr std::size_t kListingFreeSpaceField = 0x04;

// Little-endian reads that fail instead of running past the end.
class Bytes {
public:
    explicit Bytes(std::string_view bytes) : bytes_(bytes) {}

    bool Has(std::uint64_t at, std::uint64_t size) const { return at <= bytes_.size() && size <= bytes_.size() - at; }
    std::uint64_t Le(std::size_t at, int size) const {
        std::uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes_[at + i]);
        return value;
    }
    std::string_view View(std::size_t at, std::size_t size) const { return bytes_.substr(at, size); }

private:
    std::string_view bytes_;
};

// The directory's variable-length number: 7 bits a byte, most significant first.
bool ReadEncInt(std::string_view chunk, std::size_t& at, std::size_t end, std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < 9; ++i) {
        if (at >= end) return false;
        const unsigned char byte = static_cast<unsigned char>(chunk[at++]);
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

// The entries of one listing chunk; false when they run past the chunk.
bool ReadListingChunk(std::string_view chunk, std::vector<std::string>& names) {
    const Bytes bytes(chunk);
    const std::uint64_t freeSpace = bytes.Le(kListingFreeSpaceField, 4);
    if (freeSpace > chunk.size() - kListingHeaderSize) return false;
    const std::size_t end = chunk.size() - static_cast<std::size_t>(freeSpace);
    std::size_t at = kListingHeaderSize;
    while (at < end) {
        std::uint64_t length = 0, section = 0, offset = 0, size = 0;
        if (!ReadEncInt(chunk, at, end, length) || length == 0 || length > end - at) return false;
        names.emplace_back(chunk.substr(at, static_cast<std::size_t>(length)));
        at += static_cast<std::size_t>(length);
        if (!ReadEncInt(chunk, at, end, section) || !ReadEncInt(chunk, at, end, offset) ||
            !ReadEncInt(chunk, at, end, size))
            return false;
    }
    return true;
}

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

}  // namespace

std::optional<std::vector<std::string>> BookDirectoryNames(std::string_view book) {
    const Bytes bytes(book);
    if (!bytes.Has(0, kItsfHeaderSize) || book.substr(0, 4) != "ITSF") return std::nullopt;
    const std::uint64_t directory = bytes.Le(kDirectoryOffsetField, 8);
    if (!bytes.Has(directory, 0x54) || book.substr(directory, 4) != "ITSP") return std::nullopt;
    const std::uint64_t headerLength = bytes.Le(directory + kItspHeaderLengthField, 4);
    const std::uint64_t chunkSize = bytes.Le(directory + kChunkSizeField, 4);
    const std::uint64_t chunkCount = bytes.Le(directory + kChunkCountField, 4);
    if (chunkSize <= kListingHeaderSize || chunkSize > (1u << 20)) return std::nullopt;
    if (!bytes.Has(directory + headerLength, chunkSize * chunkCount)) return std::nullopt;

    // Every listing chunk, in file order; index chunks only repeat their names.
    std::vector<std::string> names;
    for (std::uint64_t k = 0; k < chunkCount; ++k) {
        const std::string_view chunk =
            bytes.View(static_cast<std::size_t>(directory + headerLength + k * chunkSize), chunkSize);
        if (chunk.substr(0, 4) != "PMGL") continue;
        if (!ReadListingChunk(chunk, names)) return std::nullopt;
    }
    return names;
}

std::vector<std::u16string> PagesMissingFromBook(std::string_view book, const std::vector<std::u16string>& pages) {
    const auto names = BookDirectoryNames(book);
    if (!names) return pages;
    std::unordered_set<std::string> listed;
    for (const std::string& name : *names) listed.insert(AsciiLower(name));
    std::vector<std::u16string> missing;
    for (const std::u16string& page : pages)
        if (!listed.count(AsciiLower("/" + platform::ToUtf8(page)))) missing.push_back(page);
    return missing;
}

}  // namespace chmbook
