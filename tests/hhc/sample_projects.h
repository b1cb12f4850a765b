#pragma once
// Writes help projects the way the book build does: the list page index.htm
// linking the content pages 0.htm, 1.htm, ..., and Temp.hhc, Temp.hhk and
// Temp.hhp with the exact bytes of the build (code page 936, CR LF).
#include <filesystem>
#include <string>
#include <vector>

namespace hhc::testing {

// GBK bytes of some Chinese words used in the test books.
inline const std::string kGbkTest = "\xB2\xE2\xCA\xD4";          // 测试
inline const std::string kGbkChinese = "\xD6\xD0\xCE\xC4";       // 中文
inline const std::string kGbkChapter = "\xB5\xDA";               // 第

struct SourceText {
    std::string name;  // the text file's name without extension, GBK bytes
    std::string text;  // its content, GBK bytes
};

std::string BuildContentsFile();
std::string BuildIndexFile();
std::string BuildProjectFile(const std::string& title);

// The page head and foot of a list page (`listPage`) or a content page.
std::string BuildPage(const std::string& title, const std::string& body, bool listPage);

// index.htm, one page per text, and the three project files; returns the
// path of Temp.hhp.
std::filesystem::path WriteBuildProject(const std::filesystem::path& folder, const std::string& title,
                                        const std::vector<SourceText>& texts);

}  // namespace hhc::testing
