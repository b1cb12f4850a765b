// Books built straight from lists of internal files and read back, byte for
// byte, by four CHM readers we did not write.
#include <gtest/gtest.h>

#include <numeric>

#include "book_parser.h"
#include "book_samples.h"
#include "container/itsf_writer.h"
#include "test_support/chm_readers.h"
#include "test_support/scratch_folder.h"

namespace container_test {
namespace {

using hhc::container::BuildContainer;
using test_support::Joined;

// Builds the book, checks its structure, and has every reader extract it.
// Returns the parsed structure for further checks.
ParsedBook ExpectReadersAgree(const std::vector<InternalFile>& files) {
    test_support::ScratchFolder scratch("container-test");
    const std::string book = BuildContainer(files, {});
    const auto path = scratch.Write("book.chm", book);

    ParsedBook parsed = ParseBook(book);
    EXPECT_TRUE(parsed.problems.empty()) << "structure:" << Joined(parsed.problems);
    const auto dataSpace = CheckDataSpace(book, parsed);
    EXPECT_TRUE(dataSpace.empty()) << "::DataSpace:" << Joined(dataSpace);

    const test_support::BookFiles expected = ExpectedFrom(files);
    for (const test_support::ChmReader& reader : test_support::kChmReaders) {
        const test_support::Problems problems = test_support::CheckWithReader(reader, path, expected, scratch.path());
        EXPECT_TRUE(problems.empty()) << reader.name << ":" << Joined(problems);
    }
    return parsed;
}

std::uint64_t SectionLength(const std::vector<InternalFile>& files) {
    return std::accumulate(files.begin(), files.end(), std::uint64_t{0}, [](std::uint64_t sum, const InternalFile& f) {
        return f.section == Section::kCompressed ? sum + f.data.size() : sum;
    });
}

TEST(ReaderRoundTrip, OneSmallFile) {
    const ParsedBook book = ExpectReadersAgree({SystemFile(), {"/index.htm", "<html>hello</html>"}});
    EXPECT_EQ(book.chunkCount, 1u);
    EXPECT_EQ(book.depth, 1u);
}

TEST(ReaderRoundTrip, EmptyFilesInBothSections) {
    ExpectReadersAgree({SystemFile(),
                        {"/empty.htm", ""},
                        {"/full.htm", "x"},
                        {"/$FIftiMain", ""},
                        {"/empty0.bin", "", Section::kUncompressed},
                        {"/sub/empty.htm", ""}});
}

TEST(ReaderRoundTrip, OnlyEmptyCompressedFiles) {
    ExpectReadersAgree({SystemFile(), {"/a.htm", ""}, {"/b.htm", ""}});
}

TEST(ReaderRoundTrip, NothingInTheCompressedSection) {
    ExpectReadersAgree({SystemFile(), {"/page.htm", "<p>stored</p>", Section::kUncompressed}});
}

TEST(ReaderRoundTrip, FilesInBothSectionsInterleaved) {
    std::vector<InternalFile> files = {SystemFile()};
    for (unsigned i = 0; i < 40; ++i)
        files.push_back({"/mixed" + std::to_string(i) + ".htm", TextBytes(100 + 1000 * i, i),
                         i % 3 == 0 ? Section::kUncompressed : Section::kCompressed});
    ExpectReadersAgree(files);
}

TEST(ReaderRoundTrip, FoldersAndDeepPaths) {
    std::vector<InternalFile> files = {SystemFile()};
    std::string deep = "/";
    for (int level = 0; level < 12; ++level) {
        deep += "level" + std::to_string(level) + "/";
        files.push_back({deep + "page.htm", TextBytes(200, level)});
    }
    files.push_back({"/images/a.png", NoiseBytes(3000, 1)});
    files.push_back({"/images/b.gif", NoiseBytes(10, 2)});
    files.push_back({"/css/style.css", "body { margin: 0 }"});
    files.push_back({"/empty folder/", ""});
    const ParsedBook book = ExpectReadersAgree(files);
    for (const char* folder : {"/", "/images/", "/css/", "/level0/", "/level0/level1/", "/empty folder/"}) {
        const ParsedEntry* e = book.Find(folder);
        ASSERT_NE(e, nullptr) << folder;
        EXPECT_EQ(e->section, 0u);
        EXPECT_EQ(e->offset, 0u);
        EXPECT_EQ(e->length, 0u);
    }
}

TEST(ReaderRoundTrip, ChineseAndLatinNames) {
    ExpectReadersAgree({SystemFile(),
                        {"/\xE4\xB8\xAD\xE6\x96\x87.htm", TextBytes(500, 1)},                         // 中文.htm
                        {"/\xE7\xAC\xAC\xE4\xB8\x80\xE7\xAB\xA0/\xE5\x9B\xBE.png", NoiseBytes(700, 2)},  // 第一章/图.png
                        {"/Sub Dir/\xC3\x84 b.htm", TextBytes(300, 3)},                                // Ä b.htm
                        {"/caf\xC3\xA9.htm", TextBytes(300, 4)},                                      // café.htm
                        {"/na\xC3\xAFve/r\xC3\xA9sum\xC3\xA9.htm", TextBytes(300, 5)},
                        {"/z.htm", "z"}});
}

TEST(ReaderRoundTrip, NamesThatStressTheSortOrder) {
    std::vector<InternalFile> files = SortStressFiles();
    files.push_back(SystemFile());
    ExpectReadersAgree(files);
}

TEST(ReaderRoundTrip, SortOrderHoldsAcrossChunkBoundaries) {
    // Runs of names whose order depends on case folding and on punctuation,
    // long enough that index entries fall between them.
    std::vector<InternalFile> files = {SystemFile()};
    for (const char* prefix : {"/_u", "/Zeta", "/zeta_", "/[b", "/`c", "/#d", "/$e", "/E", "/Z/"}) {
        std::vector<InternalFile> run = NumberedPages(300, prefix);
        files.insert(files.end(), run.begin(), run.end());
    }
    const ParsedBook book = ExpectReadersAgree(files);
    EXPECT_GT(book.listingChunks, 10u);
}

TEST(ReaderRoundTrip, ThreeThousandPagesNeedSeveralListingChunks) {
    std::vector<InternalFile> files = NumberedPages(3000, "/pages/Page_");
    files.push_back(SystemFile());
    const ParsedBook book = ExpectReadersAgree(files);
    EXPECT_GT(book.listingChunks, 20u);
    EXPECT_EQ(book.depth, 2u);
}

TEST(ReaderRoundTrip, TwentyThousandNames) {
    std::vector<InternalFile> files = NumberedPages(20000, "/t/");
    files.push_back(SystemFile());
    const ParsedBook book = ExpectReadersAgree(files);
    EXPECT_GE(book.depth, 2u);
}

TEST(ReaderRoundTrip, LongNamesNeedSeveralIndexLevels) {
    // About 18 entries of ~230 bytes fit a chunk, so 4,000 of them need more
    // than one index chunk and a second index level above them.
    std::vector<InternalFile> files = NumberedPages(4000, "/" + std::string(220, 'n') + "/");
    files.push_back(SystemFile());
    const ParsedBook book = ExpectReadersAgree(files);
    EXPECT_GE(book.depth, 3u);
}

TEST(ReaderRoundTrip, NamesOfTheLongestAcceptedLength) {
    // In folders, since extracting readers must fit each part into a file
    // system's 255-byte limit.
    std::string longest = "/" + std::string(200, 'L') + "/" + std::string(200, 'M') + "/" + std::string(105, 'N') + ".htm";
    ASSERT_EQ(longest.size(), 512u);
    ExpectReadersAgree({SystemFile(), {longest, "long"}, {"/short.htm", "short"}});
}

TEST(ReaderRoundTrip, FileBiggerThanTheWindowAndOneSpanningManyFrames) {
    ExpectReadersAgree({SystemFile(),
                        {"/small.htm", "before"},
                        {"/big.bin", NoiseBytes(100000, 7)},
                        {"/many-frames.htm", TextBytes(1500000, 8)},
                        {"/after.htm", "after"}});
}

TEST(ReaderRoundTrip, SectionLengthAMultipleOfTheFrame) {
    const std::vector<InternalFile> files = {SystemFile(), {"/a.htm", TextBytes(0x8000 - 100, 1)},
                                             {"/b.htm", TextBytes(100, 2)}, {"/c.htm", TextBytes(0x8000, 3)}};
    ASSERT_EQ(SectionLength(files) % 0x8000, 0u);
    ExpectReadersAgree(files);
}

TEST(ReaderRoundTrip, SectionLengthOneShortOfAFrame) {
    const std::vector<InternalFile> files = {SystemFile(), {"/a.htm", TextBytes(0x10000, 1)},
                                             {"/b.htm", TextBytes(0x7FFF, 2)}};
    ASSERT_EQ(SectionLength(files) % 0x8000, 0x7FFFu);
    ExpectReadersAgree(files);
}

}  // namespace
}  // namespace container_test
