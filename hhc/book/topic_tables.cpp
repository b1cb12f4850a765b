#include "book/topic_tables.h"

#include "common/le_bytes.h"

namespace hhc::book {
namespace {

constexpr std::size_t kBlockSize = 4096;
constexpr std::size_t kUrlRecordSize = 12;
constexpr std::size_t kUrlRecordsPerBlock = 341;  // 4092 bytes, then 4 filler bytes
constexpr std::uint32_t kNoTitle = 0xFFFFFFFF;

// Appends one #URLSTR entry (two zero DWORDs, then the path) so that it does
// not cross a 4096-byte boundary, and returns its offset.
std::uint32_t AppendUrlString(std::string& urlStrings, const std::string& path) {
    const std::size_t size = 8 + path.size() + 1;
    const std::size_t used = urlStrings.size() % kBlockSize;
    if (size <= kBlockSize && used + size > kBlockSize) urlStrings.append(kBlockSize - used, '\0');
    const auto offset = static_cast<std::uint32_t>(urlStrings.size());
    PutU32(urlStrings, 0);
    PutU32(urlStrings, 0);
    urlStrings.append(path);
    urlStrings.push_back('\0');
    return offset;
}

}  // namespace

TopicTables BuildTopicTables(const std::vector<Topic>& topics, StringPool& strings) {
    TopicTables tables;
    tables.urlStrings.push_back('\0');  // never referenced
    for (std::size_t number = 0; number < topics.size(); ++number) {
        const Topic& topic = topics[number];
        if (number > 0 && number % kUrlRecordsPerBlock == 0) PutU32(tables.urlTable, 0);  // block filler
        const auto urlRecord = static_cast<std::uint32_t>(tables.urlTable.size());
        // The key is a hash of the URL in the original format; readers find
        // records through #TOPICS, and 0 keeps the table sorted by key.
        PutU32(tables.urlTable, 0);
        PutU32(tables.urlTable, static_cast<std::uint32_t>(number));
        PutU32(tables.urlTable, AppendUrlString(tables.urlStrings, topic.path));

        const std::uint32_t title = topic.title.empty() ? kNoTitle : strings.Add(topic.title);
        PutU32(tables.topics, 0);  // no binary contents entry
        PutU32(tables.topics, title == 0 ? kNoTitle : title);
        PutU32(tables.topics, urlRecord);
        PutU16(tables.topics, kTopicFlagPage);
        PutU16(tables.topics, 0);
    }
    static_assert(kUrlRecordSize * kUrlRecordsPerBlock + 4 == kBlockSize);
    return tables;
}

}  // namespace hhc::book
