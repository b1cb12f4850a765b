#include "html/page_charset.h"

#include <string>

namespace hhc::html {
namespace {

struct CharsetLabel {
    std::string_view label;
    std::uint32_t codePage;
};

constexpr CharsetLabel kLabels[] = {
    {"utf-8", 65001},       {"utf8", 65001},         {"unicode-1-1-utf-8", 65001},
    {"gbk", 936},           {"gb2312", 936},         {"gb_2312-80", 936},     {"x-gbk", 936},
    {"csgb2312", 936},      {"chinese", 936},        {"gb18030", 54936},
    {"big5", 950},          {"big5-hkscs", 950},     {"x-x-big5", 950},       {"cn-big5", 950},
    {"shift_jis", 932},     {"shift-jis", 932},      {"sjis", 932},           {"x-sjis", 932},
    {"ms_kanji", 932},      {"windows-31j", 932},    {"csshiftjis", 932},     {"euc-jp", 51932},
    {"euc-kr", 949},        {"ks_c_5601-1987", 949}, {"korean", 949},
    {"iso-8859-1", 1252},   {"latin1", 1252},        {"l1", 1252},            {"us-ascii", 1252},
    {"ascii", 1252},        {"iso-8859-15", 28605},  {"koi8-r", 20866},       {"koi8-u", 21866},
};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// "1252" of "cp1252", "windows-1252" and "x-cp1252".
std::optional<std::uint32_t> NumberAfter(std::string_view label, std::string_view prefix) {
    if (!label.starts_with(prefix) || label.size() == prefix.size() || label.size() > prefix.size() + 5) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (char c : label.substr(prefix.size())) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return number;
}

}  // namespace

std::optional<std::uint32_t> CodePageOfCharset(std::string_view label) {
    std::string lower(label);
    for (char& c : lower) c = Lower(c);
    for (const CharsetLabel& known : kLabels) {
        if (known.label == lower) return known.codePage;
    }
    for (std::string_view prefix : {"windows-", "cp", "x-cp"}) {
        if (auto number = NumberAfter(lower, prefix)) return number;
    }
    if (auto part = NumberAfter(lower, "iso-8859-"); part && *part >= 2 && *part <= 15) return 28590 + *part;
    return std::nullopt;
}

std::optional<std::uint32_t> DeclaredCodePage(std::string_view html) {
    if (html.starts_with("\xEF\xBB\xBF")) return 65001;
    std::string head(html.substr(0, 4096));
    for (char& c : head) c = Lower(c);
    for (std::size_t meta = head.find("<meta"); meta != std::string::npos; meta = head.find("<meta", meta + 5)) {
        const std::size_t end = head.find('>', meta);
        const std::string_view tag = std::string_view(head).substr(meta, end == std::string::npos ? std::string::npos : end - meta);
        std::size_t at = tag.find("charset");
        if (at == std::string_view::npos) continue;
        at += 7;
        while (at < tag.size() && (tag[at] == ' ' || tag[at] == '=' || tag[at] == '"' || tag[at] == '\'')) ++at;
        std::size_t stop = at;
        while (stop < tag.size() && tag[stop] != '"' && tag[stop] != '\'' && tag[stop] != ';' && tag[stop] != ' ' &&
               tag[stop] != '/') {
            ++stop;
        }
        return CodePageOfCharset(tag.substr(at, stop - at));
    }
    return std::nullopt;
}

}  // namespace hhc::html
