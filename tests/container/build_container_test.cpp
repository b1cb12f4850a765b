// What BuildContainer accepts, refuses and lays out, checked on the bytes it
// returns with the strict structure reader of these tests.
#include <gtest/gtest.h>

#include <stdexcept>

#include "book_parser.h"
#include "book_samples.h"
#include "container/itsf_writer.h"

namespace container_test {
namespace {

using hhc::container::BuildContainer;

TEST(BuildContainer, RefusesNamesReadersCannotStoreOrTellApart) {
    const std::vector<std::pair<std::vector<InternalFile>, std::string>> cases = {
        {{{"", "x"}}, "empty name"},
        {{{"index.htm", "x"}}, "\"index.htm\""},
        {{{"::DataSpace/NameList", "x"}}, "::DataSpace/NameList"},
        {{{"/" + std::string(512, 'a'), "x"}}, "513 bytes"},
        {{{std::string("/a\0b", 4), "x"}}, "NUL"},
        {{{"/folder/", "data"}}, "\"/folder/\""},
        {{{"/Index.htm", "1"}, {"/index.HTM", "2"}}, "letter case"},
        {{{"/same.htm", "1"}, {"/same.htm", "2"}}, "\"/same.htm\""},
    };
    for (const auto& [files, mention] : cases) {
        try {
            BuildContainer(files, {});
            ADD_FAILURE() << "accepted a book that should be refused (" << mention << ")";
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(mention), std::string::npos) << e.what();
        }
    }
}

TEST(BuildContainer, HeaderSectionZeroAndTheCompressedStreamLast) {
    hhc::container::ContainerOptions options;
    options.lcid = 0x0804;
    options.timestamp = 0x11223344;
    const std::string book = BuildContainer({{"/page.htm", "compressed"}, SystemFile(), {"/#itbits", "", Section::kUncompressed}}, options);
    EXPECT_EQ(ReadLe(book, 0x14, 4), 0x0804u);
    EXPECT_EQ(book.substr(0x10, 4), "\x11\x22\x33\x44");
    EXPECT_EQ(ReadLe(book, 0x78 + 0x30, 4), 0x0409u);  // the directory's own language stays 0x0409
    const ParsedBook parsed = ParseBook(book);
    ASSERT_TRUE(parsed.problems.empty());
    EXPECT_TRUE(CheckDataSpace(book, parsed).empty());
    EXPECT_EQ(parsed.Section0File(book, "/#SYSTEM"), std::string("\x03\0\0\0", 4));
    EXPECT_EQ(parsed.Find("/#ITBITS"), nullptr);  // a given one is kept, not doubled
    ASSERT_NE(parsed.Find("/#itbits"), nullptr);
    const ParsedEntry* page = parsed.Find("/page.htm");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->section, 1u);
    const ParsedEntry* content = parsed.Find("::DataSpace/Storage/MSCompressed/Content");
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(parsed.contentOffset + content->offset + content->length, book.size());
}

TEST(BuildContainer, FoldersDifferingOnlyInCaseGiveOneEntry) {
    const ParsedBook parsed = ParseBook(BuildContainer({{"/Img/a.png", "a"}, {"/img/b.png", "b"}, {"/IMG/", ""}}, {}));
    EXPECT_TRUE(parsed.problems.empty());
    int folders = 0;
    for (const ParsedEntry& e : parsed.entries) folders += (e.name == "/Img/" || e.name == "/img/" || e.name == "/IMG/");
    EXPECT_EQ(folders, 1);
}

// A section of a whole number of frames, or one byte short of it, gets filler
// bytes, which some readers need to count the frames right.
TEST(BuildContainer, AddsFillerOnlyWhereAReaderMiscountsFrames) {
    const std::string resetTable =
        "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
    for (const auto& [size, length] : {std::pair<std::size_t, std::uint64_t>{0, 1}, {0x8000, 0x8001}, {0x7FFF, 0x8001},
                                       {0x7FFE, 0x7FFE}, {0x17FFF, 0x18001}, {0x8001, 0x8001}}) {
        const std::string book = BuildContainer({{"/a", RepetitiveText(size, 1)}}, {});
        EXPECT_EQ(ReadLe(ParseBook(book).Section0File(book, resetTable), 0x10, 8), length) << size;
    }
}

TEST(BuildContainer, DirectoryChunksAreFilledAndIndexedForManyNames) {
    const std::string book = BuildContainer(NumberedPages(20000, "/x/"), {});
    const ParsedBook parsed = ParseBook(book);
    EXPECT_TRUE(parsed.problems.empty()) << parsed.problems.front();
    EXPECT_EQ(parsed.entries.size(), 20000u + 10u);  // pages, /, /x/, #ITBITS, 6 storage files, InstanceData/
    EXPECT_EQ(parsed.chunkCount, parsed.listingChunks + 1);  // one index chunk is enough
    EXPECT_LT(book.size(), 20000u * 40u);  // chunks are filled
}

}  // namespace
}  // namespace container_test
