#include "book_parser.h"

#include <cctype>
#include <functional>

namespace container_test {

namespace {

constexpr std::size_t kChunk = 4096;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool SortsBefore(std::string_view a, std::string_view b) {
    const std::string la = Lower(a), lb = Lower(b);
    return std::lexicographical_compare(la.begin(), la.end(), lb.begin(), lb.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

struct Cursor {
    std::string_view data;
    std::size_t pos;
    bool ok = true;

    std::uint64_t Encint() {
        std::uint64_t v = 0;
        for (int i = 0; i < 10; ++i) {
            if (pos >= data.size()) break;
            const auto b = static_cast<unsigned char>(data[pos++]);
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80)) return v;
        }
        ok = false;
        return 0;
    }
    std::string Bytes(std::uint64_t n) {
        if (n > data.size() - pos) {
            ok = false;
            return {};
        }
        std::string s(data.substr(pos, n));
        pos += n;
        return s;
    }
};

struct ChunkEntries {
    std::vector<std::string> names;
    std::vector<std::uint64_t> values;  // PMGI: child chunk numbers
};

// Decodes the entries of one chunk and checks its free space, count word,
// quickref words and zero gap. `header` is 0x14 (PMGL) or 0x08 (PMGI).
ChunkEntries ReadChunk(std::string_view chunk, std::size_t header, std::uint32_t number, ParsedBook& book) {
    ChunkEntries out;
    auto problem = [&](const std::string& what) {
        book.problems.push_back("chunk " + std::to_string(number) + ": " + what);
    };
    const std::uint64_t freeSpace = ReadLe(chunk, 4, 4);
    if (freeSpace < 2 || freeSpace > kChunk - header) {
        problem("free space " + std::to_string(freeSpace) + " out of range");
        return out;
    }
    const std::size_t end = kChunk - freeSpace;
    Cursor c{chunk.substr(0, end), header};
    std::vector<std::size_t> starts;
    while (c.ok && c.pos < end) {
        starts.push_back(c.pos - header);
        const std::uint64_t len = c.Encint();
        if (len == 0) problem("empty name");
        out.names.push_back(c.Bytes(len));
        if (header == 0x14) {
            ParsedEntry e;
            e.name = out.names.back();
            e.section = c.Encint();
            e.offset = c.Encint();
            e.length = c.Encint();
            book.entries.push_back(e);
        } else {
            out.values.push_back(c.Encint());
        }
    }
    if (!c.ok || c.pos != end) problem("entries do not end exactly where the free space begins");
    const std::size_t n = out.names.size();
    if (ReadLe(chunk, kChunk - 2, 2) != n) problem("entry count word differs from the entries");
    const std::size_t quickrefs = n == 0 ? 0 : (n - 1) / 5;
    for (std::size_t k = 1; k <= quickrefs; ++k)
        if (ReadLe(chunk, kChunk - 2 - 2 * k, 2) != starts[5 * k])
            problem("quickref word " + std::to_string(k) + " does not point at entry " + std::to_string(5 * k));
    const std::size_t tail = kChunk - 2 - 2 * quickrefs;
    if (end > tail) problem("entries overlap the quickref area");
    for (std::size_t i = end; i < tail; ++i)
        if (chunk[i] != 0) {
            problem("gap is not zero-filled");
            break;
        }
    for (std::size_t i = 1; i < n; ++i)
        if (!SortsBefore(out.names[i - 1], out.names[i]))
            problem("\"" + out.names[i - 1] + "\" is not sorted before \"" + out.names[i] + "\"");
    return out;
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
    auto problem = [&](std::string what) { p.problems.push_back(std::move(what)); };
    if (book.size() < 0x78 + 0x54 || book.substr(0, 4) != "ITSF") {
        problem("no ITSF header");
        return p;
    }
    if (ReadLe(book, 4, 4) != 3 || ReadLe(book, 8, 4) != 0x60) problem("not a version 3 header of 0x60 bytes");
    if (book.substr(0x18, 16) != std::string_view("\x10\xFD\x01\x7C\xAA\x7B\xD0\x11\x9E\x0C\x00\xA0\xC9\x22\xE6\xEC", 16) ||
        book.substr(0x28, 16) != std::string_view("\x11\xFD\x01\x7C\xAA\x7B\xD0\x11\x9E\x0C\x00\xA0\xC9\x22\xE6\xEC", 16))
        problem("wrong ITSF GUIDs");
    if (ReadLe(book, 0x38, 8) != 0x60 || ReadLe(book, 0x40, 8) != 0x18 || ReadLe(book, 0x48, 8) != 0x78)
        problem("header section table is not 0x60/0x18/0x78");
    const std::uint64_t dirLength = ReadLe(book, 0x50, 8);
    p.contentOffset = ReadLe(book, 0x58, 8);
    if (p.contentOffset != 0x78 + dirLength) problem("content offset is not directory offset + length");
    if (ReadLe(book, 0x60, 4) != 0x1FE) problem("header section 0 does not start with 0x1FE");
    if (ReadLe(book, 0x68, 8) != book.size()) problem("file length in header section 0 is wrong");

    const std::string_view itsp = book.substr(0x78);
    if (itsp.substr(0, 4) != "ITSP" || ReadLe(itsp, 4, 4) != 1 || ReadLe(itsp, 8, 4) != 0x54 ||
        ReadLe(itsp, 0x44, 4) != 0x54)
        problem("bad ITSP header");
    if (ReadLe(itsp, 0x10, 4) != kChunk || ReadLe(itsp, 0x14, 4) != 2) problem("chunk size or density not 4096/2");
    p.depth = static_cast<std::uint32_t>(ReadLe(itsp, 0x18, 4));
    p.rootIndexChunk = static_cast<std::int32_t>(ReadLe(itsp, 0x1C, 4));
    const std::uint64_t firstListing = ReadLe(itsp, 0x20, 4);
    const std::uint64_t lastListing = ReadLe(itsp, 0x24, 4);
    p.chunkCount = static_cast<std::uint32_t>(ReadLe(itsp, 0x2C, 4));
    if (dirLength != 0x54 + std::uint64_t{p.chunkCount} * kChunk) problem("directory length != 0x54 + 4096 x chunks");
    if (firstListing != 0) problem("first listing chunk is not 0");
    if (0x78 + dirLength > book.size()) {
        problem("directory runs past the end of the file");
        return p;
    }
    auto chunk = [&](std::uint64_t k) { return itsp.substr(0x54 + k * kChunk, kChunk); };

    // Listing chunks in link order.
    std::int64_t prev = -1;
    std::uint64_t k = 0;
    std::vector<std::string> firstNames;
    for (;;) {
        if (k >= p.chunkCount || chunk(k).substr(0, 4) != "PMGL") {
            problem("listing chain reaches chunk " + std::to_string(k) + ", which is not PMGL");
            break;
        }
        const std::string_view c = chunk(k);
        if (static_cast<std::int32_t>(ReadLe(c, 0x0C, 4)) != prev) problem("wrong previous link in chunk " + std::to_string(k));
        const std::size_t before = p.entries.size();
        ReadChunk(c, 0x14, static_cast<std::uint32_t>(k), p);
        if (p.entries.size() == before) problem("empty listing chunk " + std::to_string(k));
        else firstNames.push_back(p.entries[before].name);
        ++p.listingChunks;
        const auto next = static_cast<std::int32_t>(ReadLe(c, 0x10, 4));
        if (next == -1) break;
        if (next != static_cast<std::int32_t>(k + 1)) problem("listing chunks not numbered consecutively");
        prev = static_cast<std::int64_t>(k);
        k = static_cast<std::uint64_t>(next);
    }
    if (p.listingChunks == 0 || lastListing != p.listingChunks - 1) problem("last listing chunk field is wrong");
    for (std::size_t i = 1; i < p.entries.size(); ++i)
        if (!SortsBefore(p.entries[i - 1].name, p.entries[i].name))
            problem("\"" + p.entries[i - 1].name + "\" is not sorted before \"" + p.entries[i].name + "\"");

    // Index chunks: walk down from the root; every entry must name the first
    // entry of its child, and the leaves reached must be every listing chunk
    // in order.
    if (p.listingChunks == 1) {
        if (p.depth != 1 || p.rootIndexChunk != -1 || p.chunkCount != 1)
            problem("one listing chunk but depth/root/count not 1/-1/1");
        return p;
    }
    std::vector<std::uint64_t> leaves;
    std::function<std::string(std::uint64_t, std::uint32_t)> walk = [&](std::uint64_t number,
                                                                          std::uint32_t level) -> std::string {
        if (number >= p.chunkCount) {
            problem("index points at chunk " + std::to_string(number) + " beyond the directory");
            return {};
        }
        if (level == 1) {
            leaves.push_back(number);
            return number < firstNames.size() ? firstNames[number] : std::string();
        }
        const std::string_view c = chunk(number);
        if (c.substr(0, 4) != "PMGI") {
            problem("chunk " + std::to_string(number) + " at index level " + std::to_string(level) + " is not PMGI");
            return {};
        }
        const ChunkEntries e = ReadChunk(c, 0x08, static_cast<std::uint32_t>(number), p);
        for (std::size_t i = 0; i < e.names.size(); ++i)
            if (walk(e.values[i], level - 1) != e.names[i])
                problem("index entry \"" + e.names[i] + "\" is not the first name of chunk " +
                        std::to_string(e.values[i]));
        return e.names.empty() ? std::string() : e.names.front();
    };
    if (p.rootIndexChunk < 0 || p.depth < 2) problem("several listing chunks but no index");
    else walk(static_cast<std::uint64_t>(p.rootIndexChunk), p.depth);
    for (std::size_t i = 0; i < leaves.size(); ++i)
        if (leaves[i] != i) {
            problem("index does not reach the listing chunks in order");
            break;
        }
    if (leaves.size() != p.listingChunks) problem("index reaches " + std::to_string(leaves.size()) + " of " +
                                                  std::to_string(p.listingChunks) + " listing chunks");
    return p;
}

std::vector<std::string> CheckDataSpace(std::string_view book, const ParsedBook& parsed) {
    std::vector<std::string> problems;
    const std::string prefix = "::DataSpace/Storage/MSCompressed/";
    const std::string resetName =
        prefix + "Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
    for (const std::string& name : {std::string("::DataSpace/NameList"), prefix + "Transform/List",
                                    prefix + "SpanInfo", prefix + "ControlData", prefix + "Content", resetName}) {
        const ParsedEntry* e = parsed.Find(name);
        if (!e) problems.push_back(name + " is missing");
        else if (e->section != 0) problems.push_back(name + " is not in section 0");
    }
    if (!problems.empty()) return problems;
    const std::string nameList = parsed.Section0File(book, "::DataSpace/NameList");
    const std::string expectedNameList("\x1E\x00\x02\x00\x0C\x00U\0n\0c\0o\0m\0p\0r\0e\0s\0s\0e\0d\0\0\0"
                                       "\x0C\x00M\0S\0C\0o\0m\0p\0r\0e\0s\0s\0e\0d\0\0\0", 60);
    if (nameList != expectedNameList) problems.push_back("NameList differs from the standard one");
    const std::string control = parsed.Section0File(book, prefix + "ControlData");
    const std::string expectedControl("\x06\0\0\0LZXC\x02\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\0\0\0\0\0\0", 28);
    if (control != expectedControl) problems.push_back("ControlData differs from 64 KiB window / 64 KiB reset");

    const std::uint64_t span = ReadLe(parsed.Section0File(book, prefix + "SpanInfo"), 0, 8);
    const std::string reset = parsed.Section0File(book, resetName);
    const std::uint64_t frames = ReadLe(reset, 4, 4);
    const std::uint64_t u = ReadLe(reset, 0x10, 8);
    const std::uint64_t c = ReadLe(reset, 0x18, 8);
    if (ReadLe(reset, 0, 4) != 2 || ReadLe(reset, 8, 4) != 8 || ReadLe(reset, 12, 4) != 0x28 ||
        ReadLe(reset, 0x20, 8) != 0x8000)
        problems.push_back("reset table header is not version 2, 8-byte entries at 0x28, 0x8000 frames");
    if (reset.size() != 0x28 + 8 * frames) problems.push_back("reset table length disagrees with its entry count");
    if (span != u) problems.push_back("SpanInfo differs from the reset table's length");
    if (c != parsed.Find(prefix + "Content")->length) problems.push_back("reset table's C differs from Content");
    if (frames != (u + 0x7FFF) / 0x8000) problems.push_back("reset table does not have one entry per frame");
    if (u % 0x8000 == 0 || u % 0x8000 == 0x7FFF) problems.push_back("section length is 0 or 0x7FFF mod 0x8000");
    std::uint64_t last = 0;
    for (std::uint64_t i = 0; i < frames && 0x28 + 8 * i + 8 <= reset.size(); ++i) {
        const std::uint64_t entry = ReadLe(reset, 0x28 + 8 * i, 8);
        if ((i == 0 && entry != 0) || entry < last || entry % 2 != 0 || entry >= c)
            problems.push_back("reset table entry " + std::to_string(i) + " is out of place");
        const std::uint64_t end = i + 1 < frames ? ReadLe(reset, 0x28 + 8 * (i + 1), 8) : c;
        // CHMLib's input buffer holds at most this much of one frame.
        if (end >= entry && end - entry > 0x8000 + 6144)
            problems.push_back("frame " + std::to_string(i) + " takes more than 0x8000 + 6144 compressed bytes");
        last = entry;
    }
    std::uint64_t sum = 0;
    for (const ParsedEntry& e : parsed.entries) {
        if (e.section == 1) {
            if (e.length > 0 && e.offset + e.length > u) problems.push_back(e.name + " ends beyond section 1");
            sum += e.length;
        } else if (e.section == 0 && parsed.contentOffset + e.offset + e.length > book.size()) {
            problems.push_back(e.name + " ends beyond the file");
        }
    }
    if (u < sum || u > sum + 2) problems.push_back("section 1 length is not the file lengths plus at most 2");
    return problems;
}

}  // namespace container_test
