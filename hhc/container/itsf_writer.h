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
    std::uint32_t lcid = 0x0409;    // language written into the ITSF header
    std::uint32_t timestamp = 0;    // written into the ITSF header; readers ignore it
};

// The whole book as bytes: headers, directory, section 0 and the LZX-compressed
// section 1 (with its ::DataSpace files). `files` need not be sorted; a name
// may appear only once.
//
// The container adds the ::DataSpace files, an empty "/#ITBITS" (unless one is
// given) and a directory entry for "/" and for every folder of the names
// ("/images/" for "/images/a.png"). A name ending in "/" with no data is taken
// as such a folder entry. Throws std::invalid_argument, naming the file, for a
// name that is empty, does not start with "/", is longer than 512 bytes,
// contains a NUL byte, ends in "/" but has data, or equals another name when
// letter case is ignored (readers look names up without regard to case).
std::string BuildContainer(const std::vector<InternalFile>& files, const ContainerOptions& options);

// The same, but frees each compressed file's data as soon as it has been
// copied into the section, so a large book is not held twice in memory.
// `files` is left with its names but with the data of compressed files gone.
std::string BuildContainer(std::vector<InternalFile>&& files, const ContainerOptions& options);

}  // namespace hhc::container
