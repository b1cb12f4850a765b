// Books built straight from lists of internal files and read back, byte for
// byte, by four CHM readers we did not write, and checked by the strict
// structure reader of these tests.
#include <gtest/gtest.h>

#include <functional>

#include "book_parser.h"
#include "book_samples.h"
#include "container/itsf_writer.h"
#include "test_support/chm_readers.h"
#include "test_support/scratch_folder.h"

namespace container_test {
namespace {

using test_support::Joined;

struct RoundTrip {
    const char* name;
    std::function<std::vector<InternalFile>()> files;
    std::uint32_t minDepth = 1;  // levels of the directory the book needs at least
    std::uint32_t minListingChunks = 1;
};

std::vector<InternalFile> Concat(std::vector<std::vector<InternalFile>> parts) {
    std::vector<InternalFile> all = {SystemFile()};
    for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const RoundTrip kRoundTrips[] = {
    {"EmptyFilesInBothSections",
     [] {
         return Concat({{{"/empty.htm", ""}, {"/$FIftiMain", ""}, {"/empty0.bin", "", Section::kUncompressed},
                         {"/sub/empty.htm", ""}}});
     }},
    {"NothingInTheCompressedSection",
     [] { return Concat({{{"/page.htm", "<p>stored</p>", Section::kUncompressed}}}); }},
    {"FilesInBothSectionsInterleaved",
     [] {
         std::vector<InternalFile> files;
         for (unsigned i = 0; i < 40; ++i)
             files.push_back({"/mixed" + std::to_string(i) + ".htm", RepetitiveText(100 + 1000 * i, i),
                              i % 3 == 0 ? Section::kUncompressed : Section::kCompressed});
         return Concat({files});
     }},
    {"FoldersDeepPathsAndChineseNames",
     [] {
         std::vector<InternalFile> files = {{"/images/a.png", RandomBytes(3000, 1)},
                                            {"/empty folder/", ""},
                                            {"/\xE4\xB8\xAD\xE6\x96\x87.htm", CorpusText(1, 500)},  // 中文.htm
                                            {"/\xE7\xAC\xAC\xE4\xB8\x80\xE7\xAB\xA0/\xE5\x9B\xBE.png", "x"},
                                            {"/Sub Dir/\xC3\x84 b.htm", "y"},
                                            {"/" + std::string(200, 'L') + "/" + std::string(200, 'M') + "/" +
                                                 std::string(105, 'N') + ".htm",  // the longest name, 512 bytes
                                             "long"}};
         std::string deep = "/";
         for (int level = 0; level < 12; ++level) files.push_back({deep += "d" + std::to_string(level) + "/", ""});
         files.push_back({deep + "page.htm", "deep"});
         return Concat({files});
     }},
    // Runs of names whose order depends on case folding and on punctuation,
    // long enough that index entries fall between them.
    {"SortOrderAcrossChunkBoundaries",
     [] {
         std::vector<std::vector<InternalFile>> runs;
         for (const char* prefix : {"/_u", "/Zeta", "/zeta_", "/[b", "/`c", "/#d", "/$e", "/E", "/Z/", "/a::b", "/~t"})
             runs.push_back(NumberedPages(300, prefix));
         return Concat(runs);
     },
     2, 10},
    // About 18 entries of ~230 bytes fit a chunk: a second index level is needed.
    {"LongNamesNeedSeveralIndexLevels", [] { return Concat({NumberedPages(4000, "/" + std::string(220, 'n') + "/")}); },
     3},
    {"FileBiggerThanTheWindowAndOneSpanningManyFrames",
     [] {
         return Concat({{{"/small.htm", "before"}, {"/big.bin", RandomBytes(100000, 7)},
                         {"/many-frames.htm", CorpusText(8, 1500000)}, {"/after.htm", "after"}}});
     }},
    {"SectionLengthAMultipleOfTheFrame",
     [] { return Concat({{{"/a.htm", RepetitiveText(0x8000 - 100, 1)}, {"/b.htm", RepetitiveText(0x8000 + 100, 3)}}}); }},
    {"SectionLengthOneShortOfAFrame",
     [] { return Concat({{{"/a.htm", RepetitiveText(0x10000, 1)}, {"/b.htm", RepetitiveText(0x7FFF, 2)}}}); }},
};

TEST(ReaderRoundTrip, EveryReaderExtractsEveryFile) {
    for (const RoundTrip& trip : kRoundTrips) {
        SCOPED_TRACE(trip.name);
        const std::vector<InternalFile> files = trip.files();
        test_support::ScratchFolder scratch("container-test");
        const std::string book = hhc::container::BuildContainer(files, {});
        const auto path = scratch.Write("book.chm", book);

        const ParsedBook parsed = ParseBook(book);
        EXPECT_TRUE(parsed.problems.empty()) << "structure:" << Joined(parsed.problems);
        EXPECT_TRUE(CheckDataSpace(book, parsed).empty()) << "::DataSpace:" << Joined(CheckDataSpace(book, parsed));
        EXPECT_GE(parsed.depth, trip.minDepth);
        EXPECT_GE(parsed.listingChunks, trip.minListingChunks);
        for (const test_support::ChmReader& reader : test_support::kChmReaders) {
            const auto problems = test_support::CheckWithReader(reader, path, ExpectedFrom(files), scratch.path());
            EXPECT_TRUE(problems.empty()) << reader.name << ":" << Joined(problems);
        }
    }
}

}  // namespace
}  // namespace container_test
