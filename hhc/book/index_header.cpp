#include "book/index_header.h"

#include "common/le_bytes.h"
#include "project/text_util.h"

namespace hhc::book {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

const std::string* FindProperty(const std::vector<std::pair<std::string, std::string>>& properties,
                                std::string_view name) {
    for (const auto& [key, value] : properties) {
        if (project::EqualsIgnoreCase(key, name)) return &value;
    }
    return nullptr;
}

}  // namespace

std::string BuildIndexHeader(std::uint32_t topicCount,
                             const std::vector<std::pair<std::string, std::string>>& siteProperties,
                             std::uint32_t timestamp, StringPool& strings) {
    auto text = [&](std::string_view name) -> std::uint32_t {
        const std::string* value = FindProperty(siteProperties, name);
        return value && !value->empty() ? strings.Add(*value) : kNone;
    };
    auto number = [&](std::string_view name) -> std::uint32_t {
        const std::string* value = FindProperty(siteProperties, name);
        const auto parsed = value ? project::ParseNumber(*value) : std::nullopt;
        return parsed ? static_cast<std::uint32_t>(*parsed) : kNone;
    };
    const std::string* imageType = FindProperty(siteProperties, "ImageType");

    std::string out;
    out.append("T#SM", 4);
    PutU32(out, timestamp);
    PutU32(out, 1);
    PutU32(out, topicCount);
    PutU32(out, 0);
    PutU32(out, text("ImageList"));
    PutU32(out, 0);
    PutU32(out, imageType && project::EqualsIgnoreCase(*imageType, "Folder") ? 1 : 0);
    PutU32(out, number("Background"));
    PutU32(out, number("Foreground"));
    PutU32(out, text("Font"));
    PutU32(out, number("Window Styles"));
    PutU32(out, number("ExWindow Styles"));
    PutU32(out, kNone);
    PutU32(out, text("FrameName"));
    PutU32(out, text("WindowName"));
    PutU32(out, 0);  // information types
    PutU32(out, 1);
    PutU32(out, 0);  // merged books
    PutU32(out, 0);
    out.resize(kIdxhdrFileSize, '\0');
    return out;
}

}  // namespace hhc::book
