// The book's system files where the other suites' readers look at nothing:
// the string pool's block rule, #SYSTEM records no reader shows, the valid
// bits of #WINDOWS and the site properties in #IDXHDR. Titles, default topic,
// language and contents files are checked through the readers end to end.
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

// Readers take strings from one 4096-byte block: each string is stored once,
// none crosses a block, and an overlong one is cut without splitting a character.
TEST(StringPoolTest, StoresEachStringOnceWithinOneBlock) {
    StringPool pool(936);
    EXPECT_EQ(std::vector<std::uint32_t>({pool.Add(""), pool.Add("index.htm"), pool.Add("index.htm")}),
              std::vector<std::uint32_t>({0, 1, 1}));
    pool.Add(std::string(4096 - pool.bytes().size() - 5, 'x'));
    EXPECT_EQ(pool.Add("0123456789"), 4096u);
    EXPECT_EQ(CString(pool.bytes(), 4096), "0123456789");
    std::string chinese;
    for (int i = 0; i < 3000; ++i) chinese += "\xD6\xD0";
    const std::uint32_t offset = pool.Add(chinese);
    EXPECT_EQ(offset % 4096, 0u);
    EXPECT_EQ(CString(pool.bytes(), offset), chinese.substr(0, 4094));
}

// Records of code, length and data after the version; what the project does
// not say is left out, and old compatibility writes version 2 without them.
TEST(SystemFileTest, WritesTheSettingsAsRecords) {
    const auto records = [](const std::string& system) {
        std::map<std::uint32_t, std::string> found;
        for (std::size_t at = 4; at + 4 <= system.size(); at += 4 + U(system, at + 2, 2))
            found[U(system, at, 2)] = system.substr(at + 4, U(system, at + 2, 2));
        return found;
    };
    SystemSettings settings, old;
    settings.defaultWindow = "Main";
    settings.compiledFileStem = "temp";
    settings.defaultFont = "Tahoma,8,1";
    settings.indexHeader = std::string(4096, 'h');
    old.compatibility10 = true;
    const std::string system = BuildSystemFile(settings);
    const auto full = records(system);
    EXPECT_EQ(U(system, 0), 3u);
    EXPECT_EQ(std::vector<std::string>({full.at(5), full.at(6), full.at(16), full.at(13)}),
              std::vector<std::string>({std::string("Main\0", 5), std::string("temp\0", 5),
                                        std::string("Tahoma,8,1\0", 11), std::string(4096, 'h')}));
    const auto bare = records(BuildSystemFile(old));
    for (std::uint32_t absent : {0, 1, 2, 3, 5, 13, 16}) EXPECT_EQ(bare.count(absent), 0u) << absent;
    EXPECT_EQ(U(BuildSystemFile(old), 0), 2u);
}

// The viewer uses a window's fields only where their valid bits say so;
// search adds the search tab; old compatibility writes the 188-byte entry.
TEST(WindowsFileTest, StoresTheWindowWithValidBitsForTheGivenFields) {
    const project::WindowDefinition window =
        project::ParseWindowDefinition("Main",
                                       "\"Notes\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\",,,,,0x20,180,"
                                       "0x10387C,[80,60,720,540],0x0,0x0,,1,,,0");
    StringPool pool(936);
    const std::string file = BuildWindowsFile({window}, {false, false}, pool);
    ASSERT_EQ(file.size(), 8u + 196u);
    EXPECT_EQ(std::vector<std::uint32_t>({U(file, 8 + 0x0C), U(file, 8 + 0x10)}),
              std::vector<std::uint32_t>({0x33E, 0x20}));
    EXPECT_EQ(U(file, 8 + 0x68), U(file, 8 + 0x6C)) << "default and home topic share one string";
    const project::WindowDefinition bare = project::ParseWindowDefinition("Main", "\"x\"");
    const std::string searchable = BuildWindowsFile({bare}, {false, true}, pool);
    EXPECT_EQ(U(searchable, 8 + 0x10), kPropertySearchTab);
    EXPECT_EQ(U(searchable, 8 + 0x0C), kValidProperties);
    EXPECT_EQ(BuildWindowsFile({bare, bare}, {true, false}, pool).size(), 8u + 2 * 188u);
}

// The contents file's window styles and font reach #IDXHDR.
TEST(IndexHeaderTest, CarriesTopicCountAndSiteProperties) {
    StringPool strings(936);
    const std::string header = BuildIndexHeader(5, {{"Window Styles", "0x227"}, {"Font", "Arial,9"}}, 7, strings);
    EXPECT_EQ((std::vector<std::uint32_t>{U(header, 0x0C), U(header, 0x2C)}), (std::vector<std::uint32_t>{5, 0x227}));
    EXPECT_EQ(CString(strings.bytes(), U(header, 0x28)), "Arial,9");
}

}  // namespace
}  // namespace hhc::book
