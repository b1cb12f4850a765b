// The LZX compressor: its Huffman codes, the framing every CHM reader relies
// on before it decodes a bit, what it costs, and sections stored in real
// books and extracted by four independent readers byte for byte.
#include <gtest/gtest.h>

#include "container/itsf_writer.h"
#include "lzx/frame_probe.h"
#include "lzx/huffman.h"
#include "lzx/lzx_compress.h"
#include "test_data.h"
#include "test_support/chm_readers.h"
#include "test_support/scratch_folder.h"

namespace lzx_test {
namespace {

using namespace test_data;
using hhc::lzx::kFrameSize;
constexpr std::size_t kInterval = 2 * kFrameSize;
constexpr std::size_t kStoredFrame = kFrameSize + 16;  // stored block of one frame with its header

hhc::lzx::CompressedSection Compress(const std::string& bytes) {
    return hhc::lzx::CompressSection(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// Every used symbol gets a code no longer than the limit, rarer symbols never
// shorter ones, and the code is complete (Kraft sum exactly 1). Canonical
// codes and a lone symbol's partner are left to the round trips: decoders
// build the codes from the lengths and refuse a one-code tree.
TEST(Huffman, CodeLengthsAreCompleteLimitedAndOrdered) {
    std::vector<std::uint32_t> fibonacci(40, 1);  // would need codes as long as the alphabet
    for (std::size_t i = 2; i < fibonacci.size(); ++i) fibonacci[i] = fibonacci[i - 1] + fibonacci[i - 2];
    const std::pair<std::vector<std::uint32_t>, unsigned> cases[] = {
        {fibonacci, 16}, {{fibonacci.begin(), fibonacci.begin() + 8}, 7},
        {{500, 3, 90, 0, 7, 7, 1, 2000, 40}, 16}};
    for (const auto& [freqs, limit] : cases) {
        SCOPED_TRACE(::testing::Message() << freqs.size() << " symbols, limit " << limit);
        std::vector<std::uint8_t> lengths(freqs.size());
        hhc::lzx::BuildCodeLengths(freqs, limit, lengths);
        std::uint64_t kraft = 0;
        for (std::size_t x = 0; x < freqs.size(); ++x) {
            EXPECT_EQ(lengths[x] == 0, freqs[x] == 0) << x;
            EXPECT_LE(lengths[x], limit);
            if (lengths[x] != 0) kraft += std::uint64_t{1} << (16 - lengths[x]);
            for (std::size_t y = 0; y < freqs.size(); ++y)
                EXPECT_TRUE(freqs[x] >= freqs[y] || freqs[x] == 0 || lengths[x] >= lengths[y]) << x << " " << y;
        }
        EXPECT_EQ(kraft, 65536u);
    }
}

// One offset per frame, frames starting on 16-bit words and taking no more
// than CHMLib's input buffer holds; each reset interval opens with the E8
// flag (the top bit of its first word) off; the same input, the same output.
TEST(CompressSection, FramesAreWordAlignedAndWithinReaderLimits) {
    std::vector<std::string> inputs = {"", std::string(300000, '\0')};  // mixed frames: the round trips
    for (std::size_t size : {std::size_t{1}, kFrameSize - 1, kFrameSize, kFrameSize + 1, 5 * kFrameSize + 123})
        for (const std::string& input : {RepetitiveText(size, 1), RandomBytes(size, 2), BitstreamLike(size, 2)})
            inputs.push_back(input);
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input.size());
        const hhc::lzx::CompressedSection c = Compress(input);
        const std::size_t frames = (input.size() + kFrameSize - 1) / kFrameSize;
        ASSERT_EQ(c.frameOffsets.size(), frames);
        ASSERT_EQ(c.data.size() % 2, 0u);
        for (std::size_t f = 0; f < frames; ++f) {
            const std::size_t start = c.frameOffsets[f], end = f + 1 < frames ? c.frameOffsets[f + 1] : c.data.size();
            EXPECT_TRUE(start % 2 == 0 && (f > 0 || start == 0) && end > start) << "frame " << f;
            EXPECT_LE(end - start, kFrameSize + 6144) << "frame " << f;
            EXPECT_TRUE(f % 2 != 0 || !(c.data[start + 1] & 0x80)) << "frame " << f;
        }
        EXPECT_EQ(Compress(input).data, c.data);
    }
}

TEST(CompressSection, SizesStayWithinBounds) {
    const std::string text = RepetitiveText(kFrameSize, 8), random = RandomBytes(kFrameSize, 9);
    const std::size_t textAlone = Compress(text).data.size();
    const std::tuple<const char*, std::string, std::size_t> cases[] = {
        {"random frames cost no more than stored ones", RandomBytes(10 * kFrameSize, 3), 10 * kStoredFrame},
        {"bit-packed data is coded smaller than stored", BitstreamLike(10 * kFrameSize, 7), 10 * kFrameSize * 97 / 100},
        {"a random frame beside text costs no more than stored", text + random, textAlone + kStoredFrame},
        {"a frame after an incompressible one matches into it", random + random, kStoredFrame + 1024},
        {"repeats compress", RepetitiveText(1 << 20, 4), (1u << 20) / 2},
        {"runs take little more than one match per 257 bytes", std::string(1 << 20, '\0'), 1u << 14},
    };
    for (const auto& [what, input, most] : cases) EXPECT_LE(Compress(input).data.size(), most) << what;
}

// The probe sends a frame to the greedy parse instead of the full one.
TEST(FrameProbe, OnlyDataWithoutRepeatsLooksIncompressible) {
    const std::pair<std::string, bool> cases[] = {
        {RandomBytes(kFrameSize, 1), true}, {BitstreamLike(kFrameSize, 2), true}, {RandomBytes(1000, 3), true},
        {RepetitiveText(kFrameSize, 4), false}, {std::string(kFrameSize, '\0'), false},
        {PeriodicBytes(kFrameSize, 3000, 5), false},  // flat histogram, but every byte repeats one 3,000 back
        {RandomBytes(kFrameSize / 2, 6) + RepetitiveText(kFrameSize / 2, 7), false},
        {"abc", false}};  // tiny inputs are left to the full parse
    for (auto [bytes, incompressible] : cases) {
        const std::size_t size = bytes.size();
        bytes.append(8, '\0');  // the probe reads a little past the end
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
        EXPECT_EQ(hhc::lzx::LooksIncompressible(data, size), incompressible) << size;
    }
}

using Files = test_support::BookFiles;

Files One(const std::string& bytes) { return {{"/a.bin", bytes}}; }

// Random data whose end repeats its start: the only match lies near the
// largest distance a 64 KiB window can code, in the interval's last slot.
Files FarMatches() {
    std::string bytes = RandomBytes(kInterval, 11);
    bytes.replace(kInterval - 300, 297, bytes.substr(0, 297));  // distance 65 236
    return One(bytes);
}

// Frames the probe finds incompressible (random, bit-packed) between ones it
// does not: the second frame repeats the first whole, the third is text with
// pieces of it, so both have matches that reach back into a frame of the
// greedy parse.
Files FramesBesideIncompressibleOnes() {
    const std::string random = RandomBytes(kFrameSize, 28), text = RepetitiveText(kFrameSize, 29);
    std::string mixed;
    for (std::size_t at = 0; mixed.size() < kFrameSize; at = (at + 1500) % (kFrameSize - 1000))
        mixed += text.substr(at, 700) + random.substr(at, 300);
    return One(random + random + mixed + BitstreamLike(kFrameSize, 26) + RepetitiveText(kFrameSize + 999, 27) +
               random.substr(0, kFrameSize / 2));
}

// Section lengths at frame and reset-interval edges (a whole interval is a
// whole number of frames; the two files of 70,001 bytes reach past the first
// reset); data that compresses well, badly, at far distances, in
// aligned-offset blocks, bit-packed like a search index; and sections where
// some frames look incompressible and get the greedy parse while their
// neighbours get the full one.
const std::pair<const char*, Files (*)()> kCases[] = {
    {"Empty", [] { return One(""); }},
    {"OneByte", [] { return One("x"); }},
    {"OneByteShortOfAFrame", [] { return One(RepetitiveText(kFrameSize - 1, 2)); }},
    {"ExactlyOneResetInterval", [] { return One(RepetitiveText(kInterval, 3)); }},
    {"FilesStraddlingFrames",
     [] { return Files{{"/a.htm", RepetitiveText(40000, 5)}, {"/b.htm", RepetitiveText(30001, 6)}}; }},
    {"RandomIncompressible", [] { return One(RandomBytes(300000, 7)); }},
    {"LongRuns", [] { return One(std::string(300000, '\0') + std::string(100003, 'a')); }},
    {"RepetitiveText", [] { return One(RepetitiveText(500000, 8)); }},
    {"MatchesAcrossFrameAndResetBoundaries",
     [] { return Files{{"/p20000.bin", PeriodicBytes(200000, 20000, 9)}, {"/p7.bin", PeriodicBytes(150001, 7, 10)}}; }},
    {"FarMatches", FarMatches},
    {"AlignedOffsetBlocks", [] { return One(EightAlignedRepeats(300000, 13)); }},
    {"FramesBesideIncompressibleOnes", FramesBesideIncompressibleOnes},
};

// Every file goes into the compressed section of a book.
TEST(BookRoundTrip, EveryReaderExtractsTheOriginalBytes) {
    for (const auto& [name, files] : kCases) {
        SCOPED_TRACE(name);
        Files expected = files();
        std::vector<hhc::container::InternalFile> internal;
        for (const auto& [file, contents] : expected) internal.push_back({file, contents});
        expected["/#ITBITS"] = "";  // the container adds it
        test_support::ScratchFolder scratch("lzx");
        const auto book = scratch.Write("book.chm", hhc::container::BuildContainer(internal, {}));
        for (const test_support::ChmReader& reader : test_support::kChmReaders)
            EXPECT_EQ(test_support::Joined(test_support::CheckWithReader(reader, book, expected, scratch.path())), "")
                << reader.name;
    }
}

}  // namespace
}  // namespace lzx_test
