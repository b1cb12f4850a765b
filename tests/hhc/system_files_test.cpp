// The book's system files: #STRINGS, #TOPICS/#URLTBL/#URLSTR, #SYSTEM, #WINDOWS.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "book/index_header.h"
#include "book/string_pool.h"
#include "book/system_file.h"
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

// Each string once; none crosses a 4096-byte block; an overlong one is cut
// to a block without splitting a character.
TEST(StringPoolTest, StoresEachStringOnceWithinOneBlock) {
    StringPool pool(936);
    EXPECT_EQ(pool.Add(""), 0u);
    EXPECT_EQ(pool.Add("index.htm"), 1u);
    EXPECT_EQ(pool.Add("index.htm"), 1u);
    EXPECT_EQ(CString(pool.bytes(), 1), "index.htm");
    pool.Add(std::string(4096 - pool.bytes().size() - 5, 'x'));
    EXPECT_EQ(pool.Add("0123456789"), 4096u);
    EXPECT_EQ(CString(pool.bytes(), 4096), "0123456789");
    std::string chinese;
    for (int i = 0; i < 3000; ++i) chinese += "\xD6\xD0";
    const std::uint32_t offset = pool.Add(chinese);
    EXPECT_LE(offset % 4096 + 4095, 4096u);
    EXPECT_EQ(CString(pool.bytes(), offset), chinese.substr(0, 4094));
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
    for (const auto& [code, text] : std::map<std::uint16_t, std::string>{
             {0, "Temp.hhc"}, {1, "Temp.hhk"}, {2, "index.htm"}, {3, "\xB2\xE2\xCA\xD4"}, {5, "Main"}, {6, "temp"},
             {16, "Tahoma,8,1"}})
        EXPECT_EQ(records.at(code), text + '\0') << code;
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
    const std::string system = BuildSystemFile(settings);
    EXPECT_EQ(U32(system, 0), 2u);
    const auto records = SystemRecords(system);
    for (std::uint16_t absent : {0, 1, 2, 3, 5, 13, 16}) EXPECT_EQ(records.count(absent), 0u) << absent;
    EXPECT_EQ(U32(records.at(4), 8), 0u);
}

// A 196-byte entry with valid bits for the given fields; search adds the
// search tab; old compatibility writes the 188-byte entry.
TEST(WindowsFileTest, StoresTheWindowWithValidBitsForTheGivenFields) {
    const project::WindowDefinition window = project::ParseWindowDefinition(
        "Main", "\"Notes\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\",,,,,0x20,180,0x10387C,"
                "[80,60,720,540],0x0,0x0,,1,,,0");
    StringPool strings(936);
    const std::string file = BuildWindowsFile({window}, {false, false}, strings);
    ASSERT_EQ(file.size(), 8u + 196u);
    for (const auto& [offset, value] : std::initializer_list<std::pair<std::size_t, std::uint32_t>>{
             {0, 1}, {4, 196}, {8, 196}, {8 + 0x0C, 0x33E}, {8 + 0x10, 0x20}, {8 + 0x20, 80}, {8 + 0x2C, 540},
             {8 + 0x4C, 180}, {8 + 0x70, 0x10387C}, {8 + 0x74, 1}, {8 + 0x9C, 0}})
        EXPECT_EQ(U32(file, offset), value) << std::hex << offset;
    for (const auto& [offset, text] : std::initializer_list<std::pair<std::size_t, const char*>>{
             {8 + 0x08, "Main"}, {8 + 0x14, "Notes"}, {8 + 0x60, "Temp.hhc"}, {8 + 0x64, "Temp.hhk"}, {8 + 0x68, "index.htm"}})
        EXPECT_EQ(CString(strings.bytes(), U32(file, offset)), text) << std::hex << offset;
    EXPECT_EQ(U32(file, 8 + 0x68), U32(file, 8 + 0x6C)) << "default and home topic share one string";

    const project::WindowDefinition bare = project::ParseWindowDefinition("Main", "\"x\"");
    const std::string searchable = BuildWindowsFile({bare}, {false, true}, strings);
    EXPECT_EQ(U32(searchable, 8 + 0x10), kPropertySearchTab);
    EXPECT_EQ(U32(searchable, 8 + 0x0C), kValidProperties);
    EXPECT_EQ(BuildWindowsFile({bare, bare}, {true, false}, strings).size(), 8u + 2 * 188u);
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
