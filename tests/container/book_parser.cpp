#include "book_parser.h"

#include <map>

namespace container_test {

namespace {

constexpr std::size_t kChunk = 4096;

// Decodes the entries of one chunk (listing: name, section, offset, length;
// index: name, child) and checks its free space, count word, quickref words
// (one for every fifth entry: density 2).
std::vector<ParsedEntry> ReadChunk(std::string_view chunk, bool listing, std::uint64_t number,
                                   std::vector<std::string>& problems) {
    auto problem = [&](const std::string& what) {
        problems.push_back("chunk " + std::to_string(number) + ": " + what);
    };
    const std::size_t header = listing ? 0x14 : 0x08;
    const std::uint64_t freeSpace = ReadLe(chunk, 4, 4);
    if (freeSpace < 2 || freeSpace > kChunk - header) {
        problem("free space " + std::to_string(freeSpace) + " out of range");
        return {};
    }
    const std::size_t end = kChunk - freeSpace;
    std::size_t pos = header;
    bool ok = true;
    auto encint = [&] {
        std::uint64_t v = 0;
        for (int i = 0; i < 10 && pos < end; ++i) {
            const auto b = static_cast<unsigned char>(chunk[pos++]);
            v = v << 7 | (b & 0x7F);
            if (!(b & 0x80)) return v;
        }
        ok = false;
        return v;
    };
    std::vector<ParsedEntry> entries;
    std::vector<std::size_t> starts;
    while (ok && pos < end) {
        starts.push_back(pos - header);
        const std::uint64_t length = encint();
        if (length == 0 || length > end - pos) ok = false;
        if (!ok) break;
        ParsedEntry e{std::string(chunk.substr(pos, length))};
        pos += length;
        if (listing) e.section = encint();
        e.offset = encint();
        if (listing) e.length = encint();
        entries.push_back(e);
    }
    if (!ok || pos != end) problem("entries do not end exactly where the free space begins");
    const std::size_t n = entries.size(), quickrefs = n == 0 ? 0 : (n - 1) / 5;
    if (ReadLe(chunk, kChunk - 2, 2) != n) problem("entry count word differs from the entries");
    for (std::size_t k = 1; k <= quickrefs; ++k)
        if (ReadLe(chunk, kChunk - 2 - 2 * k, 2) != starts[5 * k])
            problem("quickref word " + std::to_string(k) + " does not point at entry " + std::to_string(5 * k));
    if (end > kChunk - 2 - 2 * quickrefs) problem("entries overlap the quickref area");
    return entries;
}

// The LZX control data (64 KiB window, reset every 64 KiB) and a reset table,
// span and content length that agree with each other. Other header fields
// and the name list are left to the four readers, which rely on them.
void CheckDataSpace(std::string_view book, ParsedBook& p) {
    const std::string prefix = "::DataSpace/Storage/MSCompressed/";
    const std::string resetName = prefix + "Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
    const ParsedEntry* content = p.Find(prefix + "Content");
    if (!content) return p.problems.push_back("no Content");
    if (p.Section0File(book, prefix + "ControlData") !=
        std::string_view("\x06\0\0\0LZXC\x02\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\0\0\0\0\0\0", 28))
        p.problems.push_back("ControlData differs from 64 KiB window / 64 KiB reset");
    const std::string reset = p.Section0File(book, resetName);
    const std::uint64_t frames = ReadLe(reset, 4, 4), u = ReadLe(reset, 0x10, 8), c = ReadLe(reset, 0x18, 8);
    if (reset.size() != 0x28 + 8 * frames || frames != (u + 0x7FFF) / 0x8000 || c != content->length ||
        ReadLe(p.Section0File(book, prefix + "SpanInfo"), 0, 8) != u)
        p.problems.push_back("reset table, SpanInfo and Content disagree");
    // Some readers miscount the frames of such a section.
    if (u % 0x8000 == 0 || u % 0x8000 == 0x7FFF) p.problems.push_back("section length is 0 or 0x7FFF mod 0x8000");
    for (std::uint64_t i = 0; i < frames && 0x28 + 8 * i + 8 <= reset.size(); ++i) {
        const std::uint64_t entry = ReadLe(reset, 0x28 + 8 * i, 8);
        const std::uint64_t next = i + 1 < frames ? ReadLe(reset, 0x30 + 8 * i, 8) : c;
        // CHMLib's input buffer holds at most 0x8000 + 6144 bytes of one frame.
        if ((i == 0 && entry != 0) || entry % 2 != 0 || next <= entry || next - entry > 0x8000 + 6144)
            p.problems.push_back("reset table entry " + std::to_string(i) + " is out of place");
    }
}

}  // namespace

std::uint64_t ReadLe(std::string_view bytes, std::size_t pos, std::size_t size) {
    std::uint64_t v = 0;
    if (pos + size > bytes.size()) return ~std::uint64_t{0};
    for (std::size_t i = size; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(bytes[pos + i]);
    return v;
}

const ParsedEntry* ParsedBook::Find(std::string_view name) const {
    for (const ParsedEntry& e : entries)
        if (e.name == name) return &e;
    return nullptr;
}

std::string ParsedBook::Section0File(std::string_view book, std::string_view name) const {
    const ParsedEntry* e = Find(name);
    if (!e || e->section != 0 || contentOffset + e->offset + e->length > book.size()) return {};
    return std::string(book.substr(contentOffset + e->offset, e->length));
}

ParsedBook ParseBook(std::string_view book) {
    ParsedBook p;
    if (book.size() < 0x78 + 0x54 + kChunk || book.substr(0, 4) != "ITSF" || book.substr(0x78, 4) != "ITSP") {
        p.problems.push_back("no ITSF and ITSP headers");
        return p;
    }
    const std::uint64_t dirLength = ReadLe(book, 0x50, 8);
    p.contentOffset = ReadLe(book, 0x58, 8);
    p.depth = static_cast<std::uint32_t>(ReadLe(book, 0x90, 4));
    p.chunkCount = static_cast<std::uint32_t>(ReadLe(book, 0xA4, 4));
    if (0x78 + dirLength > book.size() || dirLength != 0x54 + p.chunkCount * kChunk) {
        p.problems.push_back("directory does not fit the file or its chunk count");
        return p;
    }
    auto chunk = [&](std::uint64_t k) { return book.substr(0xCC + k * kChunk, kChunk); };

    // Listing chunks come first (the readers follow their links), index
    // chunks follow. Every index entry names the first entry of its child.
    std::map<std::uint64_t, std::string> firstNames;
    std::vector<ParsedEntry> indexEntries;
    for (std::uint64_t k = 0; k < p.chunkCount; ++k) {
        const std::string_view c = chunk(k);
        const bool listing = c.substr(0, 4) == "PMGL";
        if (listing ? k != p.listingChunks : c.substr(0, 4) != "PMGI")
            p.problems.push_back("chunk " + std::to_string(k) + " is neither PMGI nor PMGL before the index chunks");
        const std::vector<ParsedEntry> entries = ReadChunk(c, listing, k, p.problems);
        if (entries.empty()) p.problems.push_back("empty chunk " + std::to_string(k));
        else firstNames[k] = entries.front().name;
        std::vector<ParsedEntry>& into = listing ? p.entries : indexEntries;
        into.insert(into.end(), entries.begin(), entries.end());
        p.listingChunks += listing;
    }
    if (ReadLe(book, 0x9C, 4) != p.listingChunks - 1) p.problems.push_back("last listing chunk field is wrong");
    for (const ParsedEntry& e : indexEntries)
        if (!firstNames.count(e.offset) || firstNames[e.offset] != e.name)
            p.problems.push_back("index entry \"" + e.name + "\" is not the first name of chunk " +
                                 std::to_string(e.offset));
    CheckDataSpace(book, p);
    return p;
}

}  // namespace container_test
