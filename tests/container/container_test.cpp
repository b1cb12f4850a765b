// The container writer: what it refuses, how it lays a book out (checked on
// its bytes with the strict structure reader below), and books read back byte
// for byte by four CHM readers we did not write, whose lookups also guard the
// name order.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <tuple>

#include "container/itsf_writer.h"
#include "test_data.h"
#include "test_support/chm_readers.h"
#include "test_support/scratch_folder.h"

namespace container_test {
namespace {

using hhc::container::BuildContainer;
using hhc::container::InternalFile;
using hhc::container::Section;
using test_support::Joined;

// A strict reader of the container's directory, written for these tests: it
// decodes the listing chunks and records what breaks the rules readers rely
// on without checking them: the entries end exactly where the free space
// begins, the count word, a quickref word for every fifth entry (density 2).
// Header fields, links, index chunks, name order, finding names and the LZX
// control data and reset table are left to the CHM readers, which fail on
// them (libmspack's fast lookups also go through the quickref words).
struct ParsedEntry {
    std::string name;
    std::uint64_t section = 0, offset = 0, length = 0;
};

struct ParsedBook {
    std::uint64_t contentOffset = 0;
    std::uint32_t depth = 0;
    std::vector<ParsedEntry> entries;  // in listing order
    std::vector<std::string> problems;

    const ParsedEntry* Find(std::string_view name) const {
        for (const ParsedEntry& e : entries)
            if (e.name == name) return &e;
        return nullptr;
    }
    // Bytes of a section-0 file ("" if absent or not in section 0).
    std::string Section0File(std::string_view book, std::string_view name) const {
        const ParsedEntry* e = Find(name);
        if (!e || e->section != 0 || contentOffset + e->offset + e->length > book.size()) return {};
        return std::string(book.substr(contentOffset + e->offset, e->length));
    }
};

std::uint64_t ReadLe(std::string_view bytes, std::size_t pos, std::size_t size) {
    std::uint64_t v = 0;
    if (pos + size > bytes.size()) return ~std::uint64_t{0};
    for (std::size_t i = size; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(bytes[pos + i]);
    return v;
}

constexpr std::size_t kChunk = 4096, kListingHeader = 0x14;

ParsedBook ParseBook(std::string_view book) {
    ParsedBook p;
    const std::uint64_t dirLength = ReadLe(book, 0x50, 8), chunks = ReadLe(book, 0xA4, 4);
    if (book.substr(0, 4) != "ITSF" || 0x78 + dirLength > book.size() || dirLength != 0x54 + chunks * kChunk) {
        p.problems.push_back("no ITSF header, or the directory does not fit the file or its chunk count");
        return p;
    }
    p.contentOffset = ReadLe(book, 0x58, 8);
    p.depth = static_cast<std::uint32_t>(ReadLe(book, 0x90, 4));
    for (std::uint64_t k = 0; k < chunks; ++k) {
        const std::string_view chunk = book.substr(0xCC + k * kChunk, kChunk);
        if (chunk.substr(0, 4) != "PMGL") continue;
        const std::size_t end = kChunk - std::min<std::uint64_t>(ReadLe(chunk, 4, 4), kChunk - kListingHeader);
        std::size_t pos = kListingHeader;
        auto encint = [&] {
            std::uint64_t v = 0;
            for (unsigned char b = 0x80; (b & 0x80) && pos < end; v = v << 7 | (b & 0x7F)) b = chunk[pos++];
            return v;
        };
        std::vector<std::size_t> starts;  // of the entries, from the end of the header
        while (pos < end) {
            starts.push_back(pos - kListingHeader);
            const std::size_t length = std::min<std::uint64_t>(encint(), end - pos);
            ParsedEntry e{std::string(chunk.substr(pos, length))};
            pos += length;
            e.section = encint();
            e.offset = encint();
            e.length = encint();
            p.entries.push_back(e);
        }
        const std::string where = "chunk " + std::to_string(k) + ": ";
        if (pos != end || ReadLe(chunk, kChunk - 2, 2) != starts.size())
            p.problems.push_back(where + "the entries do not end at the free space or differ from the count word");
        for (std::size_t entry = 5; entry < starts.size(); entry += 5)
            if (ReadLe(chunk, kChunk - 2 - 2 * (entry / 5), 2) != starts[entry])
                p.problems.push_back(where + "the quickref word of entry " + std::to_string(entry) + " is wrong");
    }
    return p;
}

// A minimal "/#SYSTEM" (version 3, no records) in section 0.
const InternalFile kSystem = {"/#SYSTEM", std::string("\x03\0\0\0", 4), Section::kUncompressed};

// `count` pages named prefix + zero-padded number + ".htm", with short text.
std::vector<InternalFile> NumberedPages(std::size_t count, const std::string& prefix) {
    std::vector<InternalFile> files;
    for (std::size_t i = 0; i < count; ++i)
        files.push_back({prefix + std::to_string(100000 + i).substr(1) + ".htm", "page " + std::to_string(i)});
    return files;
}

TEST(BuildContainer, RefusesNamesReadersCannotStoreOrTellApart) {
    const std::pair<std::vector<InternalFile>, std::string> cases[] = {
        {{{"", "x"}}, "empty name"}, {{{"index.htm", "x"}}, "\"index.htm\""},
        {{{"::DataSpace/NameList", "x"}}, "::DataSpace/NameList"}, {{{"/" + std::string(512, 'a'), "x"}}, "513 bytes"},
        {{{std::string("/a\0b", 4), "x"}}, "NUL"}, {{{"/folder/", "data"}}, "\"/folder/\""},
        {{{"/Index.htm", "1"}, {"/index.HTM", "2"}}, "letter case"},
        {{{"/same.htm", "1"}, {"/same.htm", "2"}}, "\"/same.htm\""}};
    for (const auto& [files, mention] : cases) {
        try {
            BuildContainer(files, {});
            ADD_FAILURE() << "accepted a book that should be refused (" << mention << ")";
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(mention), std::string::npos) << e.what();
        }
    }
}

// The language goes into the header, a given "/#itbits" is kept rather than
// doubled, folders differing in case alone get one entry, and files stay in
// the section they were given.
TEST(BuildContainer, LanguageItbitsFoldersAndSections) {
    const std::string book = BuildContainer({{"/Img/a.png", "compressed"}, {"/img/b.png", "b"}, {"/IMG/", ""}, kSystem,
                                             {"/#itbits", "", Section::kUncompressed}},
                                            {0x0804});
    EXPECT_EQ(ReadLe(book, 0x14, 4), 0x0804u);
    const ParsedBook parsed = ParseBook(book);
    ASSERT_EQ(Joined(parsed.problems), "");
    EXPECT_EQ(parsed.Section0File(book, "/#SYSTEM"), kSystem.data);
    EXPECT_TRUE(parsed.Find("/#itbits") && !parsed.Find("/#ITBITS"));
    EXPECT_EQ(!!parsed.Find("/Img/") + !!parsed.Find("/img/") + !!parsed.Find("/IMG/"), 1);
    EXPECT_TRUE(parsed.Find("/Img/a.png") && parsed.Find("/Img/a.png")->section == 1);
}

// A section of a whole number of frames, or one byte short of it, gets filler
// bytes, which some readers need to count the frames right.
TEST(BuildContainer, AddsFillerOnlyWhereAReaderMiscountsFrames) {
    for (const auto& [size, length] :
         {std::pair<std::size_t, std::uint64_t>{0, 1}, {0x8000, 0x8001}, {0x17FFF, 0x18001}, {0x7FFE, 0x7FFE}}) {
        const std::string book = BuildContainer({{"/a", test_data::RepetitiveText(size, 1)}}, {});
        const ParsedBook parsed = ParseBook(book);
        EXPECT_EQ(ReadLe(parsed.Section0File(book, "::DataSpace/Storage/MSCompressed/SpanInfo"), 0, 8), length) << size;
    }
}

using Files = std::vector<InternalFile>;

// A name, the files, and how many levels the book's directory needs at least.
using RoundTrip = std::tuple<const char*, Files (*)(), std::uint32_t>;

// 中文.htm, 第一章/图.png, Ä and ä (only ASCII letters fold), the longest name.
Files FoldersDeepPathsAndChineseNames() {
    Files files = {{"/empty folder/", ""}, {"/\xE4\xB8\xAD\xE6\x96\x87.htm", test_data::CorpusText(1, 500)},
                   {"/\xE7\xAC\xAC\xE4\xB8\x80\xE7\xAB\xA0/\xE5\x9B\xBE.png", "x"}, {"/Sub Dir/\xC3\x84 b.htm", "y"},
                   {"/Sub Dir/\xC3\xA4 b.htm", "z"},
                   {"/" + std::string(200, 'L') + "/" + std::string(200, 'M') + "/" + std::string(105, 'N') + ".htm",
                    "the longest name, 512 bytes"}};
    std::string deep = "/";
    for (int level = 0; level < 12; ++level) files.push_back({deep += "d" + std::to_string(level) + "/", ""});
    files.push_back({deep + "page.htm", "deep"});
    return files;
}

// Runs of names whose order depends on case folding (ASCII only), on
// punctuation between 'Z' and 'a', on prefixes and on bytes above 0x7F, long
// enough that index entries fall between them.
Files SortOrderAcrossChunkBoundaries() {
    Files files;
    for (const char* prefix :
         {"/_u", "/Zeta", "/zeta_", "/[b", "/`c", "/#d", "/$e", "/E", "/Z/", "/a", "/a::b", "/~t", "/\xE4\xB8\xAD"})
        for (InternalFile& page : NumberedPages(300, prefix)) files.push_back(page);
    return files;
}

const RoundTrip kRoundTrips[] = {
    // The compressed section holds empty files only.
    {"EmptyFilesInBothSections",
     [] { return Files{{"/e.htm", ""}, {"/$FIftiMain", ""}, {"/e.bin", "", Section::kUncompressed}, {"/s/e", ""}}; },
     1},
    {"FoldersDeepPathsAndChineseNames", FoldersDeepPathsAndChineseNames, 1},
    {"SortOrderAcrossChunkBoundaries", SortOrderAcrossChunkBoundaries, 2},
    // About 18 entries of ~230 bytes fit a chunk: a second index level is needed.
    {"LongNamesNeedSeveralIndexLevels", [] { return NumberedPages(4000, "/" + std::string(220, 'n') + "/"); }, 3},
};

// Each book also holds a "/#SYSTEM"; readers find the given files (folder
// entries left out) and the empty "/#ITBITS" the container adds. Section
// lengths at frame edges and files over many frames are left to the LZX round
// trips (tests/lzx).
TEST(ReaderRoundTrip, EveryReaderExtractsEveryFile) {
    for (const auto& [name, makeFiles, minDepth] : kRoundTrips) {
        SCOPED_TRACE(name);
        Files files = makeFiles();
        files.push_back(kSystem);
        test_support::BookFiles expected = {{"/#ITBITS", ""}};
        for (const InternalFile& f : files)
            if (f.name.back() != '/') expected[f.name] = f.data;
        test_support::ScratchFolder scratch("container-test");
        const std::string book = BuildContainer(files, {});
        const auto path = scratch.Write("book.chm", book);
        const ParsedBook parsed = ParseBook(book);
        EXPECT_EQ(Joined(parsed.problems), "");
        EXPECT_GE(parsed.depth, minDepth);
        for (const test_support::ChmReader& reader : test_support::kChmReaders)
            EXPECT_EQ(Joined(test_support::CheckWithReader(reader, path, expected, scratch.path())), "") << reader.name;
    }
}

}  // namespace
}  // namespace container_test
