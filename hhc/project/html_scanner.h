#pragma once
// Reads the markup of an HTML page or a stylesheet for the compiler without
// building a document tree: the files it refers to and the properties of a
// contents file. (The text a page shows, for the search index, is read by
// fts/page_text.h; its title by fts/page_title.h.) Works on raw bytes in any
// ASCII-compatible code page (in GBK, Big5 and Shift-JIS no trail byte is '<',
// '>', '"', '\'', '=', '&' or a blank, so the markup characters are never
// misread), takes linear time and never fails.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hhc::project {

// Targets of href, src and background attributes, of <param name="Local"
// value=...> (contents and index files) and of url(...) in style attributes
// and <style> elements, in document order, entities decoded.
std::vector<std::string> FindPageLinks(std::string_view html);

// Targets of url(...) and @import "..." in a stylesheet.
std::vector<std::string> FindStylesheetLinks(std::string_view css);

// The <param name=... value=...> pairs of the first
// <object type="text/site properties"> of a contents or index file.
std::vector<std::pair<std::string, std::string>> FindSiteProperties(std::string_view html);

}  // namespace hhc::project
