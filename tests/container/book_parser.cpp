#include "book_parser.h"

#include <algorithm>
#include <map>

namespace container_test {

namespace {

constexpr std::size_t kChunk = 4096;

// Names sort by their bytes, unsigned, with ASCII upper case folded to lower.
bool SortsBefore(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return fold(x) < fold(y); });
}

// Decodes the entries of one chunk (listing: name, section, offset, length;
// index: name, child) and checks its free space, count word, quickref words
// (one for every fifth entry: density 2) and zero-filled gap.
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
    else if (chunk.substr(end, kChunk - 2 - 2 * quickrefs - end).find_first_not_of('\0') != std::string_view::npos)
        problem("gap is not zero-filled");
    return entries;
}

// The ::DataSpace files: the standard name list and LZX control data (64 KiB
// window, reset every 64 KiB), and a reset table, span and content length
// that agree with each other and with the files in section 1.
void CheckDataSpace(std::string_view book, ParsedBook& p) {
    const std::string prefix = "::DataSpace/Storage/MSCompressed/";
    const std::string resetName = prefix + "Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
    const ParsedEntry* content = p.Find(prefix + "Content");
    for (const std::string& name : {std::string("::DataSpace/NameList"), prefix + "Transform/List", prefix + "SpanInfo",
                                    prefix + "ControlData", prefix + "Content", resetName})
        if (!p.Find(name) || p.Find(name)->section != 0)
            return p.problems.push_back(name + " missing or not in section 0");
    if (p.Section0File(book, "::DataSpace/NameList") !=
        std::string_view("\x1E\0\x02\0\x0C\0U\0n\0c\0o\0m\0p\0r\0e\0s\0s\0e\0d\0\0\0"
                         "\x0C\0M\0S\0C\0o\0m\0p\0r\0e\0s\0s\0e\0d\0\0\0",
                         60))
        p.problems.push_back("NameList differs from the standard one");
    if (p.Section0File(book, prefix + "ControlData") !=
        std::string_view("\x06\0\0\0LZXC\x02\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\0\0\0\0\0\0", 28))
        p.problems.push_back("ControlData differs from 64 KiB window / 64 KiB reset");
    const std::string reset = p.Section0File(book, resetName);
    const std::uint64_t frames = ReadLe(reset, 4, 4), u = ReadLe(reset, 0x10, 8), c = ReadLe(reset, 0x18, 8);
    if (ReadLe(reset, 0, 4) != 2 || ReadLe(reset, 8, 4) != 8 || ReadLe(reset, 12, 4) != 0x28 ||
        ReadLe(reset, 0x20, 8) != 0x8000 || reset.size() != 0x28 + 8 * frames || frames != (u + 0x7FFF) / 0x8000)
        p.problems.push_back("reset table is not version 2 with one 8-byte entry at 0x28 per 0x8000-byte frame");
    if (ReadLe(p.Section0File(book, prefix + "SpanInfo"), 0, 8) != u || c != content->length)
        p.problems.push_back("SpanInfo or Content disagrees with the reset table");
    // Some readers miscount the frames of such a section.
    if (u % 0x8000 == 0 || u % 0x8000 == 0x7FFF) p.problems.push_back("section length is 0 or 0x7FFF mod 0x8000");
    for (std::uint64_t i = 0; i < frames && 0x28 + 8 * i + 8 <= reset.size(); ++i) {
        const std::uint64_t entry = ReadLe(reset, 0x28 + 8 * i, 8);
        const std::uint64_t next = i + 1 < frames ? ReadLe(reset, 0x30 + 8 * i, 8) : c;
        // CHMLib's input buffer holds at most 0x8000 + 6144 bytes of one frame.
        if ((i == 0 && entry != 0) || entry % 2 != 0 || next <= entry || next - entry > 0x8000 + 6144)
            p.problems.push_back("reset table entry " + std::to_string(i) + " is out of place");
    }
    std::uint64_t sum = 0;
    for (const ParsedEntry& e : p.entries) {
        if (e.section == 1 && e.length > 0 && e.offset + e.length > u)
            p.problems.push_back(e.name + " ends beyond section 1");
        if (e.section == 0 && p.contentOffset + e.offset + e.length > book.size())
            p.problems.push_back(e.name + " ends beyond the file");
        sum += e.section == 1 ? e.length : 0;
    }
    if (u < sum || u > sum + 2) p.problems.push_back("section 1 length is not the file lengths plus at most 2");
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
    const auto root = static_cast<std::int32_t>(ReadLe(book, 0x94, 4));
    p.chunkCount = static_cast<std::uint32_t>(ReadLe(book, 0xA4, 4));
    // Header fields: version 3 ITSF, then the ITSP directory header at 0x78.
    const struct {
        std::size_t at, size;
        std::uint64_t value;
        const char* what;
    } fields[] = {{4, 4, 3, "ITSF version"}, {8, 4, 0x60, "ITSF length"}, {0x38, 8, 0x60, "section 0 offset"},
                  {0x40, 8, 0x18, "section 0 length"}, {0x48, 8, 0x78, "directory offset"},
                  {0x50, 8, 0x54 + p.chunkCount * kChunk, "directory length"},
                  {0x58, 8, 0x78 + dirLength, "content offset"}, {0x60, 4, 0x1FE, "section 0 tag"},
                  {0x68, 8, book.size(), "file length"}, {0x7C, 4, 1, "ITSP version"}, {0x80, 4, 0x54, "ITSP length"},
                  {0x88, 4, kChunk, "chunk size"}, {0x8C, 4, 2, "quickref density"}, {0x98, 4, 0, "first listing"},
                  {0xA8, 4, 0x0409, "directory language"}, {0xBC, 4, 0x54, "ITSP length again"}};
    for (const auto& f : fields)
        if (ReadLe(book, f.at, f.size) != f.value) p.problems.push_back(std::string("wrong ") + f.what);
    if (book.substr(0x18, 16) !=
            std::string_view("\x10\xFD\x01\x7C\xAA\x7B\xD0\x11\x9E\x0C\x00\xA0\xC9\x22\xE6\xEC", 16) ||
        book.substr(0x28, 16) !=
            std::string_view("\x11\xFD\x01\x7C\xAA\x7B\xD0\x11\x9E\x0C\x00\xA0\xC9\x22\xE6\xEC", 16))
        p.problems.push_back("wrong ITSF GUIDs");
    if (0x78 + dirLength > book.size() || !p.problems.empty()) return p;
    auto chunk = [&](std::uint64_t k) { return book.substr(0xCC + k * kChunk, kChunk); };

    // Listing chunks come first, each linked to its neighbours; index chunks
    // follow. Every index entry names the first entry of its child.
    std::map<std::uint64_t, std::string> firstNames;
    std::vector<ParsedEntry> indexEntries;
    for (std::uint64_t k = 0; k < p.chunkCount; ++k) {
        const std::string_view c = chunk(k);
        const bool listing = c.substr(0, 4) == "PMGL";
        const std::string number = std::to_string(k);
        if (!listing && c.substr(0, 4) != "PMGI") p.problems.push_back("chunk " + number + " is neither PMGL nor PMGI");
        if (listing && k != p.listingChunks)
            p.problems.push_back("listing chunk " + number + " follows an index chunk");
        const bool last = k + 1 == p.chunkCount || chunk(k + 1).substr(0, 4) != "PMGL";
        if (listing &&
            (ReadLe(c, 0x0C, 4) != (k == 0 ? 0xFFFFFFFF : k - 1) || ReadLe(c, 0x10, 4) != (last ? 0xFFFFFFFF : k + 1)))
            p.problems.push_back("wrong links in chunk " + number);
        const std::vector<ParsedEntry> entries = ReadChunk(c, listing, k, p.problems);
        if (entries.empty()) p.problems.push_back("empty chunk " + number);
        else firstNames[k] = entries.front().name;
        std::vector<ParsedEntry>& into = listing ? p.entries : indexEntries;
        into.insert(into.end(), entries.begin(), entries.end());
        p.listingChunks += listing;
    }
    if (ReadLe(book, 0x9C, 4) != p.listingChunks - 1) p.problems.push_back("last listing chunk field is wrong");
    for (std::size_t i = 1; i < p.entries.size(); ++i)
        if (!SortsBefore(p.entries[i - 1].name, p.entries[i].name))
            p.problems.push_back("\"" + p.entries[i - 1].name + "\" is not sorted before \"" + p.entries[i].name +
                                 "\"");
    for (const ParsedEntry& e : indexEntries)
        if (!firstNames.count(e.offset) || firstNames[e.offset] != e.name)
            p.problems.push_back("index entry \"" + e.name + "\" is not the first name of chunk " +
                                 std::to_string(e.offset));
    const bool indexed = p.listingChunks > 1;
    if (indexed != (root >= 0) || root >= static_cast<std::int64_t>(p.chunkCount) ||
        (indexed ? p.depth < 2 || chunk(root).substr(0, 4) != "PMGI" : p.depth != 1))
        p.problems.push_back("depth or root index chunk does not fit the listing chunks");
    CheckDataSpace(book, p);
    return p;
}

}  // namespace container_test
