// Sections compressed by hhc_lzx, stored in a real book and extracted by
// four independent readers; every file must come back byte for byte.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "container/itsf_writer.h"
#include "test_data.h"
#include "test_support/chm_readers.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"

namespace lzx_test {
namespace {

using namespace test_data;

constexpr std::size_t kFrame = 0x8000;
constexpr std::size_t kInterval = 2 * kFrame;

using Files = test_support::BookFiles;

struct RoundTripCase {
    std::string name;
    std::function<Files()> files;
};

// Stores every file in the compressed section of a book at `book`.
void WriteBook(const Files& files, const std::filesystem::path& book) {
    std::vector<hhc::container::InternalFile> internal;
    for (const auto& [name, contents] : files) internal.push_back({name, contents, hhc::container::Section::kCompressed});
    test_support::WriteBytes(book, hhc::container::BuildContainer(internal, hhc::container::ContainerOptions{}));
}

class BookRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(BookRoundTrip, EveryReaderExtractsTheOriginalBytes) {
    const Files files = GetParam().files();
    test_support::ScratchFolder scratch("lzx");
    const auto book = scratch / "book.chm";
    WriteBook(files, book);
    Files expected = files;
    expected["/#ITBITS"] = "";  // the container adds it
    for (const test_support::ChmReader& reader : test_support::kChmReaders)
        EXPECT_EQ(test_support::Joined(test_support::CheckWithReader(reader, book, expected, scratch.path())), "")
            << reader.name;
}

// Random data whose end repeats its start: the only match lies near the
// largest distance a 64 KiB window can code, in the interval's last slot.
Files FarMatches() {
    std::string bytes = RandomBytes(kInterval, 11);
    const std::string head = bytes.substr(0, 297);
    bytes.replace(kInterval - 300, 297, head);  // distance 65 236
    return {{"/far.bin", bytes}};
}

Files MixedMegabytes() {
    Files files;
    for (int i = 0; i < 12; ++i) {
        const std::string name = "/mixed/part" + std::to_string(i) + ".dat";
        switch (i % 4) {
        case 0: files[name] = RepetitiveText(400000 + 777 * i, i); break;
        case 1: files[name] = RandomBytes(90000 + 13 * i, i); break;
        case 2: files[name] = std::string(150000 + i, static_cast<char>(i)); break;
        case 3: files[name] = PeriodicBytes(200000, 1000 + 4099 * i, i); break;
        }
    }
    return files;
}

// Sections where some frames look incompressible and get the greedy parse
// while their neighbours get the full one.

Files RandomFrameThenText() {
    return {{"/a.bin", RandomBytes(kFrame, 20) + RepetitiveText(kFrame, 21) + RepetitiveText(kInterval, 22)}};
}

Files TextFrameThenRandom() {
    return {{"/a.bin", RepetitiveText(kFrame, 23) + RandomBytes(kFrame, 24) + RepetitiveText(kFrame, 25) +
                           BitstreamLike(kFrame, 26) + RepetitiveText(kFrame + 999, 27)}};
}

// The second frame repeats the first whole; the third is text with pieces of
// it, so both have matches that reach back into the incompressible frame.
Files FramesCopyingAnIncompressibleFrame() {
    const std::string random = RandomBytes(kFrame, 28);
    const std::string text = RepetitiveText(kFrame, 29);
    std::string mixed;
    for (std::size_t at = 0; mixed.size() < kFrame; at = (at + 1500) % (kFrame - 1000))
        mixed += text.substr(at, 700) + random.substr(at, 300);
    return {{"/a.bin", random + random + mixed + random.substr(0, kFrame / 2)}};
}

const RoundTripCase kCases[] = {
    {"Empty", [] { return Files{{"/empty.htm", ""}}; }},
    {"OneByte", [] { return Files{{"/one.htm", "x"}}; }},
    {"ExactlyOneFrame", [] { return Files{{"/a.htm", RepetitiveText(kFrame, 1)}}; }},
    {"OneByteShortOfAFrame", [] { return Files{{"/a.htm", RepetitiveText(kFrame - 1, 2)}}; }},
    {"ExactlyOneResetInterval", [] { return Files{{"/a.htm", RepetitiveText(kInterval, 3)}}; }},
    {"JustOverAResetInterval", [] { return Files{{"/a.htm", RepetitiveText(kInterval + 5, 4)}}; }},
    {"FilesStraddlingFrames",
     [] { return Files{{"/a.htm", RepetitiveText(40000, 5)}, {"/b.htm", RepetitiveText(30001, 6)}}; }},
    {"RandomIncompressible", [] { return Files{{"/random.bin", RandomBytes(300000, 7)}}; }},
    {"LongRuns", [] { return Files{{"/zeros.bin", std::string(300000, '\0')}, {"/as.bin", std::string(100003, 'a')}}; }},
    {"RepetitiveText", [] { return Files{{"/text.htm", RepetitiveText(500000, 8)}}; }},
    {"MatchesAcrossFrameAndResetBoundaries",
     [] { return Files{{"/p20000.bin", PeriodicBytes(200000, 20000, 9)}, {"/p7.bin", PeriodicBytes(150001, 7, 10)}}; }},
    {"FarMatches", FarMatches},
    {"AlignedOffsetBlocks", [] { return Files{{"/aligned.bin", EightAlignedRepeats(300000, 13)}}; }},
    {"MixedMegabytes", MixedMegabytes},
    {"BitPackedIndex", [] { return Files{{"/$FIftiMain", BitstreamLike(400000, 19)}}; }},
    {"RandomFrameThenText", RandomFrameThenText},
    {"TextFrameThenRandom", TextFrameThenRandom},
    {"FramesCopyingAnIncompressibleFrame", FramesCopyingAnIncompressibleFrame},
};

INSTANTIATE_TEST_SUITE_P(Sections, BookRoundTrip, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

}  // namespace
}  // namespace lzx_test
