// The book's system files: #STRINGS, #SYSTEM, #WINDOWS and #IDXHDR, whose
// fields no reader in the other suites looks at.
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

std::uint32_t U(const std::string& bytes, std::size_t offset, int size = 4) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes.at(offset + i));
    return value;
}

std::string CString(const std::string& bytes, std::size_t offset) { return bytes.c_str() + offset; }

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

// Records of code, length and data after the version; what the project does
// not say is left out.
TEST(SystemFileTest, WritesTheSettingsAsRecords) {
    const auto records = [](const std::string& system) {
        std::map<std::uint32_t, std::string> found;
        for (std::size_t at = 4; at + 4 <= system.size(); at += 4 + U(system, at + 2, 2))
            found[U(system, at, 2)] = system.substr(at + 4, U(system, at + 2, 2));
        return found;
    };
    const SystemSettings settings{.lcid = 0x804,
                                  .fullTextSearch = true,
                                  .compileTime = 1'700'000'000,
                                  .contentsFile = "Temp.hhc",
                                  .indexFile = "Temp.hhk",
                                  .defaultTopic = "index.htm",
                                  .title = "\xB2\xE2\xCA\xD4",
                                  .defaultWindow = "Main",
                                  .compiledFileStem = "temp",
                                  .defaultFont = "Tahoma,8,1",
                                  .indexHeader = std::string(4096, 'h')};
    const std::string system = BuildSystemFile(settings);
    EXPECT_EQ(U(system, 0), 3u);
    const auto full = records(system);
    const std::pair<std::uint32_t, std::string> texts[] = {{0, "Temp.hhc"},         {1, "Temp.hhk"}, {2, "index.htm"},
                                                           {3, "\xB2\xE2\xCA\xD4"}, {5, "Main"},     {6, "temp"},
                                                           {16, "Tahoma,8,1"}};
    for (const auto& [code, text] : texts) EXPECT_EQ(full.at(code), text + '\0') << code;
    EXPECT_EQ(full.at(13), settings.indexHeader);
    EXPECT_LT(system.find("Temp.hhc"), system.find(settings.indexHeader))
        << "records 0 to 6 before the 4 KiB record 13";
    ASSERT_EQ(full.at(4).size(), 36u);
    EXPECT_EQ(U(full.at(4), 0), 0x804u);
    EXPECT_EQ(U(full.at(4), 8), 1u);
    // FILETIME of the same instant as the Unix time in record 10.
    EXPECT_EQ(U(full.at(4), 0x14) | std::uint64_t{U(full.at(4), 0x18)} << 32,
              (1'700'000'000ULL + 11'644'473'600ULL) * 10'000'000);
    EXPECT_EQ(U(full.at(10), 0), 1'700'000'000u);

    SystemSettings compatibility10;
    compatibility10.compatibility10 = true;
    const std::string old = BuildSystemFile(compatibility10);
    EXPECT_EQ(U(old, 0), 2u);
    const auto bare = records(old);
    for (std::uint32_t absent : {0, 1, 2, 3, 5, 13, 16}) EXPECT_EQ(bare.count(absent), 0u) << absent;
    EXPECT_EQ(U(bare.at(4), 8), 0u);
}

// A 196-byte entry with valid bits for the given fields; search adds the
// search tab; old compatibility writes the 188-byte entry.
TEST(WindowsFileTest, StoresTheWindowWithValidBitsForTheGivenFields) {
    const project::WindowDefinition window = project::ParseWindowDefinition(
        "Main",
        "\"Notes\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\",,,,,0x20,180,0x10387C,"
        "[80,60,720,540],0x0,0x0,,1,,,0");
    StringPool pool(936);
    const std::string file = BuildWindowsFile({window}, {false, false}, pool);
    ASSERT_EQ(file.size(), 8u + 196u);
    const std::pair<std::size_t, std::uint32_t> values[] = {
        {0, 1},         {4, 196},        {8, 196},        {8 + 0x0C, 0x33E},    {8 + 0x10, 0x20},
        {8 + 0x20, 80}, {8 + 0x2C, 540}, {8 + 0x4C, 180}, {8 + 0x70, 0x10387C}, {8 + 0x74, 1},
        {8 + 0x9C, 0}};
    for (const auto& [offset, value] : values) EXPECT_EQ(U(file, offset), value) << std::hex << offset;
    const std::pair<std::size_t, const char*> strings[] = {{8 + 0x08, "Main"},
                                                           {8 + 0x14, "Notes"},
                                                           {8 + 0x60, "Temp.hhc"},
                                                           {8 + 0x64, "Temp.hhk"},
                                                           {8 + 0x68, "index.htm"}};
    for (const auto& [offset, text] : strings) EXPECT_EQ(CString(pool.bytes(), U(file, offset)), text) << offset;
    EXPECT_EQ(U(file, 8 + 0x68), U(file, 8 + 0x6C)) << "default and home topic share one string";

    const project::WindowDefinition bare = project::ParseWindowDefinition("Main", "\"x\"");
    const std::string searchable = BuildWindowsFile({bare}, {false, true}, pool);
    EXPECT_EQ(U(searchable, 8 + 0x10), kPropertySearchTab);
    EXPECT_EQ(U(searchable, 8 + 0x0C), kValidProperties);
    EXPECT_EQ(BuildWindowsFile({bare, bare}, {true, false}, pool).size(), 8u + 2 * 188u);
}

TEST(IndexHeaderTest, CarriesTopicCountAndSiteProperties) {
    StringPool strings(936);
    const std::string header =
        BuildIndexHeader(5, {{"Window Styles", "0x227"}, {"ImageType", "Folder"}, {"Font", "Arial,9"}}, 7, strings);
    ASSERT_EQ(header.size(), kIdxhdrFileSize);
    EXPECT_EQ(header.substr(0, 4), "T#SM");
    EXPECT_EQ((std::vector<std::uint32_t>{U(header, 0x0C), U(header, 0x1C), U(header, 0x2C), U(header, 0x30)}),
              (std::vector<std::uint32_t>{5, 1, 0x227, 0xFFFFFFFF}));
    EXPECT_EQ(CString(strings.bytes(), U(header, 0x28)), "Arial,9");
}

}  // namespace
}  // namespace hhc::book
