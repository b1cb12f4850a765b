#pragma once
// Content section 1: the compressed files laid end to end into one stream,
// which is LZX-compressed into ::DataSpace/Storage/MSCompressed/Content.
#include <cstdint>
#include <vector>

#include "container/itsf_writer.h"
#include "lzx/lzx_compress.h"

namespace hhc::container {

struct CompressedContent {
    std::uint64_t sectionLength = 0;     // U: file bytes plus filler, without frame padding
    std::vector<std::uint64_t> offsets;  // per input file: its offset in section 1 (0 if empty or not in it)
    std::vector<std::uint64_t> lengths;  // per input file: its length (kept, since the data may be freed)
    lzx::CompressedSection lzx;
};

// Filler bytes to append to a section of `length` bytes. One reader computes
// the frame count as (U + 0x8001) / 0x8000 and refuses the book when that
// disagrees with the reset table, which happens for U mod 0x8000 == 0 or 0x7FFF.
std::uint64_t SectionFiller(std::uint64_t length);

// Lays out and compresses every file whose section is kCompressed. When
// `releasable` is given (the same files, owned by the caller), each file's
// data is freed once copied, so the book never needs two copies at once.
CompressedContent CompressFiles(const std::vector<InternalFile>& files, std::vector<InternalFile>* releasable);

}  // namespace hhc::container
