#pragma once
// Help projects of the shape the book build writes: the list page index.htm
// linking the content pages 0.htm, 1.htm, ..., and Temp.hhc, Temp.hhk and
// Temp.hhp with the build's project bytes (code page 936, CR LF). The pages
// are plain; the build's own pages go through the compiler in the test that
// runs chmbook-cli.
#include <filesystem>
#include <string>
#include <vector>

namespace hhc::testing {

inline const std::string kGbkTest = "\xB2\xE2\xCA\xD4";     // 测试
inline const std::string kGbkChinese = "\xD6\xD0\xCE\xC4";  // 中文
inline const std::string kGbkChapter = "\xB5\xDA";          // 第

struct SourceText {
    std::string name;  // GBK bytes
    std::string text;  // GBK bytes, already HTML
};

// Writes the project into `folder`; returns the path of Temp.hhp.
std::filesystem::path WriteBuildProject(const std::filesystem::path& folder, const std::string& title,
                                        const std::vector<SourceText>& texts);

}  // namespace hhc::testing
