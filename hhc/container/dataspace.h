#pragma once
// The ::DataSpace storage files that describe the content sections: their
// names, the LZX parameters and the reset table. Readers insist on finding
// all of them in section 0.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hhc::container {

inline constexpr std::string_view kNameListName = "::DataSpace/NameList";
inline constexpr std::string_view kTransformListName = "::DataSpace/Storage/MSCompressed/Transform/List";
inline constexpr std::string_view kSpanInfoName = "::DataSpace/Storage/MSCompressed/SpanInfo";
inline constexpr std::string_view kControlDataName = "::DataSpace/Storage/MSCompressed/ControlData";
inline constexpr std::string_view kContentName = "::DataSpace/Storage/MSCompressed/Content";
inline constexpr std::string_view kInstanceDataFolder =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/";
inline constexpr std::string_view kResetTableName =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"
    "ResetTable";

// Names of the content sections: "Uncompressed" (0) and "MSCompressed" (1).
std::string NameListFile();

// The transform list: the first 19 characters of the LZX transform GUID.
std::string TransformListFile();

// The uncompressed length of section 1.
std::string SpanInfoFile(std::uint64_t sectionLength);

// LZX parameters: 64 KiB window, reset every 64 KiB.
std::string ControlDataFile();

// One entry per 32 KiB frame: where the frame's compressed bits start.
std::string ResetTableFile(std::uint64_t sectionLength, std::uint64_t compressedLength,
                           const std::vector<std::uint64_t>& frameOffsets);

}  // namespace hhc::container
