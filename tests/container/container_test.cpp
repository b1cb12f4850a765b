// The container writer: what it refuses, how it lays a book out (checked on
// its bytes with the strict structure reader of these tests), the directory's
// building blocks, and books read back byte for byte by four CHM readers we
// did not write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "book_parser.h"
#include "container/itsf_writer.h"
#include "container/name_order.h"
#include "test_data.h"
#include "test_support/chm_readers.h"
#include "test_support/scratch_folder.h"

namespace container_test {
namespace {

using hhc::container::BuildContainer;
using hhc::container::InternalFile;
using hhc::container::Section;
using test_data::RandomBytes;
using test_data::RepetitiveText;
using test_support::Joined;

// A minimal "/#SYSTEM" (version 3, no records) in section 0.
const InternalFile kSystem = {"/#SYSTEM", std::string("\x03\0\0\0", 4), Section::kUncompressed};

// `count` pages named prefix + zero-padded number + ".htm", with short text.
std::vector<InternalFile> NumberedPages(std::size_t count, const std::string& prefix) {
    std::vector<InternalFile> files;
    char number[24];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(number, sizeof number, "%05zu", i);
        files.push_back({prefix + number + ".htm", "<html><body>page " + std::string(number) + "</body></html>"});
    }
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
// doubled, section 0 files stay there and the compressed stream ends the file.
TEST(BuildContainer, LanguageSectionZeroAndTheCompressedStreamLast) {
    const std::string book =
        BuildContainer({{"/page.htm", "compressed"}, kSystem, {"/#itbits", "", Section::kUncompressed}}, {0x0804});
    EXPECT_EQ(ReadLe(book, 0x14, 4), 0x0804u);
    const ParsedBook parsed = ParseBook(book);
    ASSERT_EQ(Joined(parsed.problems), "");
    EXPECT_EQ(parsed.Section0File(book, "/#SYSTEM"), kSystem.data);
    EXPECT_TRUE(parsed.Find("/#itbits") && !parsed.Find("/#ITBITS"));
    ASSERT_TRUE(parsed.Find("/page.htm") && parsed.Find("/page.htm")->section == 1);
    const ParsedEntry* content = parsed.Find("::DataSpace/Storage/MSCompressed/Content");
    EXPECT_EQ(parsed.contentOffset + content->offset + content->length, book.size());
}

TEST(BuildContainer, FoldersDifferingOnlyInCaseGiveOneEntry) {
    const ParsedBook parsed = ParseBook(BuildContainer({{"/Img/a.png", "a"}, {"/img/b.png", "b"}, {"/IMG/", ""}}, {}));
    EXPECT_EQ(Joined(parsed.problems), "");
    auto folder = [](const ParsedEntry& e) { return e.name == "/Img/" || e.name == "/img/" || e.name == "/IMG/"; };
    EXPECT_EQ(std::count_if(parsed.entries.begin(), parsed.entries.end(), folder), 1);
}

// A section of a whole number of frames, or one byte short of it, gets filler
// bytes, which some readers need to count the frames right.
TEST(BuildContainer, AddsFillerOnlyWhereAReaderMiscountsFrames) {
    for (const auto& [size, length] : {std::pair<std::size_t, std::uint64_t>{0, 1}, {0x8000, 0x8001}, {0x7FFF, 0x8001},
                                       {0x7FFE, 0x7FFE}, {0x17FFF, 0x18001}, {0x8001, 0x8001}}) {
        const std::string book = BuildContainer({{"/a", RepetitiveText(size, 1)}}, {});
        const ParsedBook parsed = ParseBook(book);
        EXPECT_EQ(ReadLe(parsed.Section0File(book, "::DataSpace/Storage/MSCompressed/SpanInfo"), 0, 8), length) << size;
        EXPECT_EQ(Joined(parsed.problems), "") << size;
    }
}

TEST(BuildContainer, DirectoryChunksAreFilledAndIndexedForManyNames) {
    const std::string book = BuildContainer(NumberedPages(20000, "/x/"), {});
    const ParsedBook parsed = ParseBook(book);
    EXPECT_EQ(Joined(parsed.problems), "");
    EXPECT_EQ(parsed.entries.size(), 20000u + 10u);  // pages, /, /x/, #ITBITS, 6 storage files, InstanceData/
    EXPECT_EQ(parsed.chunkCount, parsed.listingChunks + 1);  // one index chunk is enough
    EXPECT_LT(book.size(), 20000u * 40u);  // chunks are filled
}

// Names compare as their bytes, unsigned, after folding ASCII upper case to
// lower case only: '_' and the other punctuation between 'Z' and 'a' sort
// before every letter, prefixes first, non-ASCII bytes high.
TEST(NameOrder, FoldsAsciiCaseAndComparesBytesUnsigned) {
    const std::vector<std::string> expected = {
        "/", "/#SYSTEM", "/$OBJINST", "/10", "/2", "/[x]", "/_x", "/`", "/a.htm", "/A.htm2", "/a/", "/a/b", "/abc",
        "/abc.htm", "/B.htm", "/zebra.htm", "/Zeta", "/\xE4\xB8\xAD.htm", "::DataSpace/NameList"};
    std::vector<std::string> names(expected.rbegin(), expected.rend());
    std::rotate(names.begin(), names.begin() + 7, names.end());
    std::sort(names.begin(), names.end(), hhc::container::NameLess);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(hhc::container::CompareNames("/Index.HTM", "/index.htm"), 0);
    EXPECT_NE(hhc::container::CompareNames("/\xC3\x84.htm", "/\xC3\xA4.htm"), 0);  // Ä and ä stay distinct
}

using Files = std::vector<InternalFile>;

struct RoundTrip {
    const char* name;
    std::function<Files()> files;
    std::uint32_t minDepth = 1;  // levels of the directory the book needs at least
    std::uint32_t minListingChunks = 1;
};

Files FoldersDeepPathsAndChineseNames() {
    Files files = {{"/images/a.png", RandomBytes(3000, 1)}, {"/empty folder/", ""},
                   {"/\xE4\xB8\xAD\xE6\x96\x87.htm", test_data::CorpusText(1, 500)},  // 中文.htm
                   {"/\xE7\xAC\xAC\xE4\xB8\x80\xE7\xAB\xA0/\xE5\x9B\xBE.png", "x"}, {"/Sub Dir/\xC3\x84 b.htm", "y"},
                   {"/" + std::string(200, 'L') + "/" + std::string(200, 'M') + "/" + std::string(105, 'N') + ".htm",
                    "the longest name, 512 bytes"}};
    std::string deep = "/";
    for (int level = 0; level < 12; ++level) files.push_back({deep += "d" + std::to_string(level) + "/", ""});
    files.push_back({deep + "page.htm", "deep"});
    return files;
}

// Runs of names whose order depends on case folding and on punctuation, long
// enough that index entries fall between them.
Files SortOrderAcrossChunkBoundaries() {
    Files files;
    for (const char* prefix : {"/_u", "/Zeta", "/zeta_", "/[b", "/`c", "/#d", "/$e", "/E", "/Z/", "/a::b", "/~t"})
        for (InternalFile& page : NumberedPages(300, prefix)) files.push_back(page);
    return files;
}

const RoundTrip kRoundTrips[] = {
    {"EmptyFilesInBothSections",
     [] { return Files{{"/e.htm", ""}, {"/$FIftiMain", ""}, {"/e.bin", "", Section::kUncompressed}, {"/s/e", ""}}; }},
    {"NothingInTheCompressedSection", [] { return Files{{"/page.htm", "<p>stored</p>", Section::kUncompressed}}; }},
    {"FilesInBothSectionsInterleaved",
     [] {
         Files files = NumberedPages(40, "/mixed");
         for (std::size_t i = 0; i < files.size(); i += 3) files[i].section = Section::kUncompressed;
         return files;
     }},
    {"FoldersDeepPathsAndChineseNames", FoldersDeepPathsAndChineseNames},
    {"SortOrderAcrossChunkBoundaries", SortOrderAcrossChunkBoundaries, 2, 10},
    // About 18 entries of ~230 bytes fit a chunk: a second index level is needed.
    {"LongNamesNeedSeveralIndexLevels", [] { return NumberedPages(4000, "/" + std::string(220, 'n') + "/"); }, 3},
};

// Each book also holds a "/#SYSTEM"; readers find the given files (folder
// entries left out) and the empty "/#ITBITS" the container adds. Section
// lengths at frame edges and files over many frames are left to the LZX round
// trips (tests/lzx).
TEST(ReaderRoundTrip, EveryReaderExtractsEveryFile) {
    for (const RoundTrip& trip : kRoundTrips) {
        SCOPED_TRACE(trip.name);
        Files files = trip.files();
        files.push_back(kSystem);
        test_support::BookFiles expected = {{"/#ITBITS", ""}};
        for (const InternalFile& f : files)
            if (f.name.back() != '/') expected[f.name] = f.data;
        test_support::ScratchFolder scratch("container-test");
        const std::string book = BuildContainer(files, {});
        const auto path = scratch.Write("book.chm", book);
        const ParsedBook parsed = ParseBook(book);
        EXPECT_EQ(Joined(parsed.problems), "");
        EXPECT_GE(parsed.depth, trip.minDepth);
        EXPECT_GE(parsed.listingChunks, trip.minListingChunks);
        for (const test_support::ChmReader& reader : test_support::kChmReaders)
            EXPECT_EQ(Joined(test_support::CheckWithReader(reader, path, expected, scratch.path())), "") << reader.name;
    }
}

}  // namespace
}  // namespace container_test
