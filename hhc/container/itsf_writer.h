#pragma once
// Writes the ITSF container of a compiled help book.
#include <cstdint>
#include <string>
#include <vector>

namespace hhc::container {

enum class Section : std::uint8_t { kUncompressed = 0, kCompressed = 1 };

struct InternalFile {
    std::string name;  // UTF-8, starting with "/" ("/index.htm", "/#SYSTEM")
    std::string data;
    Section section = Section::kCompressed;
};

struct ContainerOptions {
    std::uint32_t lcid = 0x0409;  // language written into the ITSF header
};

// The whole book as bytes: headers, directory, section 0 and the LZX-compressed
// section 1 (with its ::DataSpace files). `files` need not be sorted; a name
// may appear only once.
std::string BuildContainer(const std::vector<InternalFile>& files, const ContainerOptions& options);

}  // namespace hhc::container
