// What BuildContainer accepts, refuses and lays out, checked on the bytes it
// returns.
#include <gtest/gtest.h>

#include <stdexcept>

#include "book_parser.h"
#include "book_samples.h"
#include "container/compressed_section.h"
#include "container/itsf_writer.h"

namespace container_test {
namespace {

using hhc::container::BuildContainer;
using hhc::container::ContainerOptions;

const std::string kResetTable =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

void ExpectRefused(const std::vector<InternalFile>& files, const std::string& mention) {
    try {
        BuildContainer(files, {});
        ADD_FAILURE() << "accepted a book that should be refused (" << mention << ")";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find(mention), std::string::npos) << e.what();
    }
}

TEST(BuildContainer, RefusesNamesReadersCannotStoreOrTellApart) {
    ExpectRefused({{"", "x"}}, "empty name");
    ExpectRefused({{"index.htm", "x"}}, "\"index.htm\"");
    ExpectRefused({{"::DataSpace/NameList", "x"}}, "::DataSpace/NameList");
    ExpectRefused({{"/" + std::string(512, 'a'), "x"}}, "513 bytes");
    ExpectRefused({{std::string("/a\0b", 4), "x"}}, "NUL");
    ExpectRefused({{"/folder/", "data"}}, "\"/folder/\"");
    ExpectRefused({{"/Index.htm", "1"}, {"/index.HTM", "2"}}, "letter case");
    ExpectRefused({{"/same.htm", "1"}, {"/same.htm", "2"}}, "\"/same.htm\" appears twice");
}

TEST(BuildContainer, MovingTheFilesGivesTheSameBook) {
    std::vector<InternalFile> files = NumberedPages(50, "/p");
    files.push_back(SystemFile());
    files.push_back({"/big.htm", TextBytes(200000, 1)});
    const std::string copied = BuildContainer(files, {});
    const std::string moved = BuildContainer(std::move(files), {});
    EXPECT_EQ(copied, moved);
}

TEST(BuildContainer, WritesLanguageAndTimeStampIntoTheHeader) {
    ContainerOptions options;
    options.lcid = 0x0804;
    options.timestamp = 0x11223344;
    const std::string book = BuildContainer({SystemFile()}, options);
    EXPECT_EQ(ReadLe(book, 0x14, 4), 0x0804u);
    EXPECT_EQ(book.substr(0x10, 4), "\x11\x22\x33\x44");
    EXPECT_EQ(ReadLe(book, 0x78 + 0x30, 4), 0x0409u);  // the directory's own language stays 0x0409
}

TEST(BuildContainer, PutsStorageFilesAndUncompressedFilesInSectionZero) {
    const std::string book = BuildContainer({{"/page.htm", "compressed"}, SystemFile()}, {});
    const ParsedBook parsed = ParseBook(book);
    ASSERT_TRUE(parsed.problems.empty());
    EXPECT_TRUE(CheckDataSpace(book, parsed).empty());
    EXPECT_EQ(parsed.Section0File(book, "/#SYSTEM"), std::string("\x03\0\0\0", 4));
    const ParsedEntry* itbits = parsed.Find("/#ITBITS");
    ASSERT_NE(itbits, nullptr);
    EXPECT_EQ(itbits->section, 0u);
    EXPECT_EQ(itbits->length, 0u);
    const ParsedEntry* page = parsed.Find("/page.htm");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->section, 1u);
    EXPECT_EQ(page->offset, 0u);
    // The compressed stream is the last thing in the file.
    const ParsedEntry* content = parsed.Find("::DataSpace/Storage/MSCompressed/Content");
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(parsed.contentOffset + content->offset + content->length, book.size());
    // A folder entry for "/" and the one storage folder readers expect.
    EXPECT_NE(parsed.Find("/"), nullptr);
    EXPECT_NE(parsed.Find("::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
                          "InstanceData/"),
              nullptr);
}

TEST(BuildContainer, KeepsAGivenItbits) {
    for (const char* name : {"/#ITBITS", "/#itbits"}) {
        const std::string book = BuildContainer({SystemFile(), {name, "", Section::kUncompressed}}, {});
        const ParsedBook parsed = ParseBook(book);
        EXPECT_TRUE(parsed.problems.empty());
        EXPECT_NE(parsed.Find(name), nullptr);
    }
}

TEST(BuildContainer, RefusesBeforeCompressingAndLeavesTheFilesAlone) {
    std::vector<InternalFile> files = {{"/big.htm", TextBytes(100000, 1)}, {"/x.htm", "1"}, {"/X.htm", "2"}};
    EXPECT_THROW(BuildContainer(std::move(files), {}), std::invalid_argument);
    EXPECT_EQ(files[0].data.size(), 100000u);
}

TEST(BuildContainer, FoldersDifferingOnlyInCaseGiveOneEntry) {
    const std::string book = BuildContainer({{"/Img/a.png", "a"}, {"/img/b.png", "b"}, {"/IMG/", ""}}, {});
    const ParsedBook parsed = ParseBook(book);
    EXPECT_TRUE(parsed.problems.empty());
    int folders = 0;
    for (const ParsedEntry& e : parsed.entries) folders += (e.name == "/Img/" || e.name == "/img/" || e.name == "/IMG/");
    EXPECT_EQ(folders, 1);
}

std::uint64_t SectionLengthOf(const std::string& book) {
    const ParsedBook parsed = ParseBook(book);
    return ReadLe(parsed.Section0File(book, kResetTable), 0x10, 8);
}

TEST(BuildContainer, AddsFillerOnlyWhereAReaderMiscountsFrames) {
    EXPECT_EQ(hhc::container::SectionFiller(0), 1u);
    EXPECT_EQ(hhc::container::SectionFiller(0x8000), 1u);
    EXPECT_EQ(hhc::container::SectionFiller(0x7FFF), 2u);
    EXPECT_EQ(hhc::container::SectionFiller(0x17FFF), 2u);
    EXPECT_EQ(hhc::container::SectionFiller(0x8001), 0u);
    EXPECT_EQ(hhc::container::SectionFiller(0x7FFE), 0u);

    EXPECT_EQ(SectionLengthOf(BuildContainer({{"/a", TextBytes(0x8000, 1)}}, {})), 0x8001u);
    EXPECT_EQ(SectionLengthOf(BuildContainer({{"/a", TextBytes(0x7FFF, 1)}}, {})), 0x8001u);
    EXPECT_EQ(SectionLengthOf(BuildContainer({{"/a", TextBytes(0x7FFE, 1)}}, {})), 0x7FFEu);
    EXPECT_EQ(SectionLengthOf(BuildContainer({SystemFile()}, {})), 1u);
}

TEST(BuildContainer, DirectoryChunksAreFilledAndIndexedForManyNames) {
    std::vector<InternalFile> files = NumberedPages(20000, "/x/");
    const std::string book = BuildContainer(files, {});
    const ParsedBook parsed = ParseBook(book);
    EXPECT_TRUE(parsed.problems.empty()) << parsed.problems.front();
    EXPECT_EQ(parsed.entries.size(), 20000u + 10u);  // pages, /, /x/, #ITBITS, 6 storage files, InstanceData/
    EXPECT_EQ(parsed.chunkCount, parsed.listingChunks + 1);  // one index chunk is enough
    // Chunks are filled: on average little more than one entry's worth is left free.
    EXPECT_LT(book.size(), 20000u * 40u);
}

}  // namespace
}  // namespace container_test
