// The book's system files: #STRINGS, #TOPICS/#URLTBL/#URLSTR, #SYSTEM, #WINDOWS.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "book/index_header.h"
#include "book/string_pool.h"
#include "book/system_file.h"
#include "book/topic_tables.h"
#include "book/windows_file.h"
#include "project/window_definition.h"

namespace hhc::book {
namespace {

std::uint32_t U32(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes.at(offset + static_cast<std::size_t>(i)));
    return value;
}

std::uint16_t U16(const std::string& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(offset)) |
                                      (static_cast<unsigned char>(bytes.at(offset + 1)) << 8));
}

std::string CString(const std::string& bytes, std::size_t offset) {
    return std::string(bytes.c_str() + offset);
}

TEST(StringPoolTest, StoresEachStringOnceWithinOneBlock) {
    StringPool pool(936);
    EXPECT_EQ(pool.Add(""), 0u);
    const std::uint32_t first = pool.Add("index.htm");
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(pool.Add("index.htm"), first);
    EXPECT_EQ(CString(pool.bytes(), first), "index.htm");

    // Fill up to just before the block end: the next string must start at 4096.
    const std::string filler(4096 - pool.bytes().size() - 5, 'x');
    pool.Add(filler);
    const std::uint32_t crossing = pool.Add("0123456789");
    EXPECT_EQ(crossing, 4096u);
    EXPECT_EQ(CString(pool.bytes(), crossing), "0123456789");
}

TEST(StringPoolTest, CutsOverlongStringsToOneBlockWithoutSplittingCharacters) {
    StringPool pool(936);
    std::string chinese;
    for (int i = 0; i < 3000; ++i) chinese += "\xD6\xD0";
    const std::uint32_t offset = pool.Add(chinese);
    const std::string stored = CString(pool.bytes(), offset);
    EXPECT_EQ(stored.size(), 4094u);
    EXPECT_LE(offset % 4096 + stored.size() + 1, 4096u);
}

TEST(TopicTablesTest, ChainsEachTopicToItsTitleAndPath) {
    StringPool strings(936);
    std::vector<Topic> topics;
    for (int i = 0; i < 700; ++i) topics.push_back({"Title " + std::to_string(i), std::to_string(i) + ".htm"});
    topics.push_back({"", "untitled.htm"});
    const TopicTables tables = BuildTopicTables(topics, strings);

    ASSERT_EQ(tables.topics.size(), 16 * topics.size());
    // 701 records of 12 bytes in 4096-byte blocks of 341 records plus 4 filler bytes.
    EXPECT_EQ(tables.urlTable.size(), 701u * 12 + 2 * 4);
    for (std::size_t n = 0; n < topics.size(); ++n) {
        const std::uint32_t title = U32(tables.topics, 16 * n + 4);
        const std::uint32_t record = U32(tables.topics, 16 * n + 8);
        EXPECT_EQ(U16(tables.topics, 16 * n + 12), kTopicFlagPage);
        if (topics[n].title.empty()) {
            EXPECT_EQ(title, 0xFFFFFFFFu);
        } else {
            EXPECT_EQ(CString(strings.bytes(), title), topics[n].title);
        }
        EXPECT_EQ(record % 4096 / 12 * 12, record % 4096) << "record " << n << " is not on a record boundary";
        EXPECT_EQ(U32(tables.urlTable, record + 4), n);
        const std::uint32_t url = U32(tables.urlTable, record + 8);
        EXPECT_EQ(CString(tables.urlStrings, url + 8), topics[n].path);
        EXPECT_LE(url % 4096 + 8 + topics[n].path.size() + 1, 4096u) << "entry crosses a block";
    }
}

std::map<std::uint16_t, std::string> SystemRecords(const std::string& system) {
    std::map<std::uint16_t, std::string> records;
    for (std::size_t at = 4; at + 4 <= system.size();) {
        const std::uint16_t code = U16(system, at);
        const std::uint16_t length = U16(system, at + 2);
        records[code] = system.substr(at + 4, length);
        at += 4 + length;
    }
    return records;
}

TEST(SystemFileTest, WritesTheSettingsAsRecords) {
    SystemSettings settings;
    settings.lcid = 0x804;
    settings.fullTextSearch = true;
    settings.compileTime = 1'700'000'000;
    settings.contentsFile = "Temp.hhc";
    settings.indexFile = "Temp.hhk";
    settings.defaultTopic = "index.htm";
    settings.title = "\xB2\xE2\xCA\xD4";
    settings.defaultWindow = "Main";
    settings.compiledFileStem = "temp";
    settings.defaultFont = "Tahoma,8,1";
    settings.indexHeader = std::string(4096, 'h');
    const std::string system = BuildSystemFile(settings);
    EXPECT_EQ(U32(system, 0), 3u);
    const auto records = SystemRecords(system);
    EXPECT_EQ(records.at(0), std::string("Temp.hhc\0", 9));
    EXPECT_EQ(records.at(1), std::string("Temp.hhk\0", 9));
    EXPECT_EQ(records.at(2), std::string("index.htm\0", 10));
    EXPECT_EQ(records.at(3), std::string("\xB2\xE2\xCA\xD4\0", 5));
    EXPECT_EQ(records.at(5), std::string("Main\0", 5));
    EXPECT_EQ(records.at(6), std::string("temp\0", 5));
    EXPECT_EQ(records.at(16), std::string("Tahoma,8,1\0", 11));
    EXPECT_EQ(records.at(13).size(), 4096u);
    const std::string& language = records.at(4);
    ASSERT_EQ(language.size(), 36u);
    EXPECT_EQ(U32(language, 0), 0x804u);
    EXPECT_EQ(U32(language, 8), 1u);
    // FILETIME of the same instant as the Unix time in record 10.
    const std::uint64_t fileTime = U32(language, 0x14) | (std::uint64_t{U32(language, 0x18)} << 32);
    EXPECT_EQ(fileTime, (1'700'000'000ULL + 11'644'473'600ULL) * 10'000'000ULL);
    EXPECT_EQ(U32(records.at(10), 0), 1'700'000'000u);
    // Records 0 to 6 come before the 4 KiB record 13.
    EXPECT_LT(system.find("Temp.hhc"), system.find(std::string(4096, 'h')));
}

TEST(SystemFileTest, LeavesOutWhatTheProjectDoesNotSay) {
    SystemSettings settings;
    settings.compatibility10 = true;
    settings.compiledFileStem = "book";
    const auto records = SystemRecords(BuildSystemFile(settings));
    EXPECT_EQ(U32(BuildSystemFile(settings), 0), 2u);
    for (std::uint16_t absent : {0, 1, 2, 3, 5, 13, 16}) EXPECT_EQ(records.count(absent), 0u) << absent;
    EXPECT_EQ(U32(records.at(4), 8), 0u);
}

TEST(WindowsFileTest, StoresTheWindowWithValidBitsForTheGivenFields) {
    const project::WindowDefinition window = project::ParseWindowDefinition(
        "Main", "\"Notes\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\",,,,,0x20,180,0x10387C,"
                "[80,60,720,540],0x0,0x0,,1,,,0");
    StringPool strings(936);
    const std::string file = BuildWindowsFile({window}, {false, false}, strings);
    ASSERT_EQ(file.size(), 8u + 196u);
    EXPECT_EQ(U32(file, 0), 1u);
    EXPECT_EQ(U32(file, 4), 196u);
    const std::string entry = file.substr(8);
    EXPECT_EQ(U32(entry, 0x00), 196u);
    EXPECT_EQ(CString(strings.bytes(), U32(entry, 0x08)), "Main");
    EXPECT_EQ(U32(entry, 0x0C), 0x33Eu);
    EXPECT_EQ(U32(entry, 0x10), 0x20u);
    EXPECT_EQ(CString(strings.bytes(), U32(entry, 0x14)), "Notes");
    EXPECT_EQ(U32(entry, 0x20), 80u);
    EXPECT_EQ(U32(entry, 0x2C), 540u);
    EXPECT_EQ(U32(entry, 0x4C), 180u);
    EXPECT_EQ(CString(strings.bytes(), U32(entry, 0x60)), "Temp.hhc");
    EXPECT_EQ(CString(strings.bytes(), U32(entry, 0x64)), "Temp.hhk");
    EXPECT_EQ(U32(entry, 0x68), U32(entry, 0x6C)) << "default and home topic share one string";
    EXPECT_EQ(U32(entry, 0x70), 0x10387Cu);
    EXPECT_EQ(U32(entry, 0x74), 1u);
    EXPECT_EQ(U32(entry, 0x9C), 0u);
}

TEST(WindowsFileTest, SearchAddsTheSearchTabAndOldCompatibilityTheShortRecord) {
    const project::WindowDefinition window = project::ParseWindowDefinition("Main", "\"x\"");
    StringPool strings(1252);
    const std::string searchable = BuildWindowsFile({window}, {false, true}, strings);
    EXPECT_EQ(U32(searchable, 8 + 0x10), kPropertySearchTab);
    EXPECT_EQ(U32(searchable, 8 + 0x0C), kValidProperties);
    const std::string old = BuildWindowsFile({window, window}, {true, false}, strings);
    EXPECT_EQ(old.size(), 8u + 2 * 188u);
}

TEST(IndexHeaderTest, CarriesTopicCountAndSiteProperties) {
    StringPool strings(936);
    const std::string header = BuildIndexHeader(5, {{"Window Styles", "0x227"}, {"ImageType", "Folder"}, {"Font", "Arial,9"}}, 7, strings);
    ASSERT_EQ(header.size(), kIdxhdrFileSize);
    EXPECT_EQ(header.substr(0, 4), "T#SM");
    EXPECT_EQ(U32(header, 0x0C), 5u);
    EXPECT_EQ(U32(header, 0x1C), 1u);
    EXPECT_EQ(U32(header, 0x2C), 0x227u);
    EXPECT_EQ(U32(header, 0x30), 0xFFFFFFFFu);
    EXPECT_EQ(CString(strings.bytes(), U32(header, 0x28)), "Arial,9");
}

}  // namespace
}  // namespace hhc::book
