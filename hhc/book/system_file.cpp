#include "book/system_file.h"

#include <algorithm>
#include <string_view>

#include "common/le_bytes.h"

namespace hhc::book {
namespace {

enum Code : std::uint16_t {
    kContentsFile = 0,
    kIndexFile = 1,
    kDefaultTopic = 2,
    kTitle = 3,
    kLanguageAndFlags = 4,
    kDefaultWindow = 5,
    kCompiledFile = 6,
    kCompilerVersion = 9,
    kCompileTime = 10,
    kInformationTypes = 12,
    kIndexHeader = 13,
    kInformationTypeChecksum = 15,
    kDefaultFont = 16,
};

// Seconds from 1601-01-01 to 1970-01-01, the FILETIME epoch offset.
constexpr std::int64_t kFileTimeEpochOffset = 11644473600;
constexpr std::size_t kMaxRecordData = 0xFFFF;

void AppendRecord(std::string& out, Code code, std::string_view data) {
    data = data.substr(0, kMaxRecordData);
    PutU16(out, code);
    PutU16(out, static_cast<std::uint32_t>(data.size()));
    out.append(data);
}

void AppendString(std::string& out, Code code, std::string_view text) {
    text = text.substr(0, std::min(text.find('\0'), kMaxRecordData - 1));
    std::string data(text);
    data.push_back('\0');
    AppendRecord(out, code, data);
}

void AppendOptionalString(std::string& out, Code code, const std::optional<std::string>& text) {
    if (text) AppendString(out, code, *text);
}

void AppendDword(std::string& out, Code code, std::uint32_t value) {
    std::string data;
    PutU32(data, value);
    AppendRecord(out, code, data);
}

std::string LanguageRecord(const SystemSettings& settings) {
    const std::uint64_t fileTime =
        static_cast<std::uint64_t>(settings.compileTime + kFileTimeEpochOffset) * 10'000'000ULL;
    std::string data;
    PutU32(data, settings.lcid);
    PutU32(data, 0);  // DBCS flag, 0 also for double-byte languages
    PutU32(data, settings.fullTextSearch ? 1 : 0);
    PutU32(data, 0);  // no binary keyword index
    PutU32(data, 0);  // no associative links
    PutU64(data, fileTime);
    PutU32(data, 0);
    PutU32(data, 0);
    return data;
}

}  // namespace

std::string BuildSystemFile(const SystemSettings& settings) {
    std::string out;
    PutU32(out, settings.compatibility10 ? 2 : 3);
    // Small records first: some readers look only at the first 4 KiB.
    AppendDword(out, kCompileTime, static_cast<std::uint32_t>(settings.compileTime));
    AppendString(out, kCompilerVersion, kCompilerName);
    AppendRecord(out, kLanguageAndFlags, LanguageRecord(settings));
    AppendOptionalString(out, kDefaultTopic, settings.defaultTopic);
    AppendOptionalString(out, kTitle, settings.title);
    AppendOptionalString(out, kDefaultFont, settings.defaultFont);
    AppendString(out, kCompiledFile, settings.compiledFileStem);
    AppendOptionalString(out, kContentsFile, settings.contentsFile);
    AppendOptionalString(out, kIndexFile, settings.indexFile);
    AppendOptionalString(out, kDefaultWindow, settings.defaultWindow);
    AppendDword(out, kInformationTypes, 0);
    if (!settings.indexHeader.empty()) AppendRecord(out, kIndexHeader, settings.indexHeader);
    AppendDword(out, kInformationTypeChecksum, 0);
    return out;
}

}  // namespace hhc::book
