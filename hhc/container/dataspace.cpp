#include "container/dataspace.h"

#include "common/le_bytes.h"
#include "lzx/lzx_compress.h"

namespace hhc::container {

namespace {

void PutUtf16Ascii(std::string& out, std::string_view ascii) {
    for (char c : ascii) PutU16(out, static_cast<std::uint8_t>(c));
}

// ControlData counts window and reset interval in 0x8000-byte units.
constexpr std::uint32_t kControlDataVersion = 2;
constexpr std::uint32_t kControlDataUnit = 0x8000;
constexpr std::uint32_t kResetTableVersion = 2;
constexpr std::uint32_t kResetTableHeaderSize = 0x28;
constexpr std::uint32_t kResetTableEntrySize = 8;

}  // namespace

std::string NameListFile() {
    constexpr std::string_view kSections[] = {"Uncompressed", "MSCompressed"};
    std::string body;
    for (std::string_view name : kSections) {
        PutU16(body, static_cast<std::uint16_t>(name.size()));
        PutUtf16Ascii(body, name);
        PutU16(body, 0);
    }
    std::string out;
    PutU16(out, static_cast<std::uint16_t>((body.size() + 4) / 2));  // whole file, in WORDs
    PutU16(out, static_cast<std::uint16_t>(std::size(kSections)));
    out += body;
    return out;
}

std::string TransformListFile() {
    std::string out;
    PutUtf16Ascii(out, "{7FC28940-9D31-11D0");
    return out;
}

std::string SpanInfoFile(std::uint64_t sectionLength) {
    std::string out;
    PutU64(out, sectionLength);
    return out;
}

std::string ControlDataFile() {
    // CHMLib resets every (reset interval / (window / 2) * cache size) frames,
    // so the "cache size" must be 1 for reset 2 / window 2.
    constexpr std::uint32_t kCacheSize = 1;
    std::string out;
    PutU32(out, 6);  // DWORDs that follow, the signature included
    out.append("LZXC", 4);
    PutU32(out, kControlDataVersion);
    PutU32(out, static_cast<std::uint32_t>(lzx::kResetIntervalFrames * lzx::kFrameSize / kControlDataUnit));
    PutU32(out, static_cast<std::uint32_t>((std::uint64_t{1} << lzx::kWindowBits) / kControlDataUnit));
    PutU32(out, kCacheSize);
    PutU32(out, 0);
    return out;
}

std::string ResetTableFile(std::uint64_t sectionLength, std::uint64_t compressedLength,
                           const std::vector<std::uint64_t>& frameOffsets) {
    std::string out;
    out.reserve(kResetTableHeaderSize + kResetTableEntrySize * frameOffsets.size());
    PutU32(out, kResetTableVersion);
    PutU32(out, static_cast<std::uint32_t>(frameOffsets.size()));
    PutU32(out, kResetTableEntrySize);
    PutU32(out, kResetTableHeaderSize);
    PutU64(out, sectionLength);
    PutU64(out, compressedLength);
    PutU64(out, lzx::kFrameSize);
    for (std::uint64_t offset : frameOffsets) PutU64(out, offset);
    return out;
}

}  // namespace hhc::container
