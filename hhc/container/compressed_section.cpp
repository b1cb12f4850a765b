#include "container/compressed_section.h"

#include <span>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <stdexcept>
#include <string>
#include <utility>

namespace hhc::container {

std::uint64_t SectionFiller(std::uint64_t length) {
    switch (length % lzx::kFrameSize) {
        case 0: return 1;
        case lzx::kFrameSize - 1: return 2;
        default: return 0;
    }
}

namespace {

// The released files were many small blocks; the allocator keeps such memory
// for reuse unless asked, so a big book would count twice towards the peak.
void ReturnFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

std::uint64_t FrameCount(std::uint64_t length) { return (length + lzx::kFrameSize - 1) / lzx::kFrameSize; }

}  // namespace

CompressedContent CompressFiles(const std::vector<InternalFile>& files, std::vector<InternalFile>* releasable) {
    CompressedContent content;
    content.offsets.assign(files.size(), 0);
    content.lengths.reserve(files.size());
    for (const InternalFile& f : files) content.lengths.push_back(f.data.size());

    std::uint64_t total = 0;
    for (const InternalFile& f : files)
        if (f.section == Section::kCompressed) total += f.data.size();
    const std::uint64_t filler = SectionFiller(total);

    std::vector<std::uint8_t> stream;
    stream.reserve(total + filler);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const InternalFile& f = files[i];
        if (f.section != Section::kCompressed || f.data.empty()) continue;
        content.offsets[i] = stream.size();
        stream.insert(stream.end(), f.data.begin(), f.data.end());
        if (releasable) std::string().swap((*releasable)[i].data);
    }
    if (releasable) ReturnFreedMemory();
    stream.insert(stream.end(), filler, 0);
    content.sectionLength = stream.size();

    content.lzx = lzx::CompressSection(std::move(stream));
    if (content.lzx.frameOffsets.size() != FrameCount(content.sectionLength) ||
        content.lzx.frameOffsets.empty() || content.lzx.frameOffsets.front() != 0)
        throw std::logic_error("LZX compressor returned a frame table that does not match the section length");
    return content;
}

}  // namespace hhc::container
