#include "fts/stop_list.h"

#include "fts/word_breaker.h"
#include "os/os.h"

namespace hhc::fts {

StopList StopList::Parse(std::string_view text, CodePage& codePage) {
    std::string converted;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
        if (auto characters = CodePage::Decode(text, 65001)) {
            for (char32_t c : *characters) converted += c == '\n' || c == '\r' ? std::string(1, static_cast<char>(c)) : codePage.Encode(c);
            text = converted;
        }
    }
    StopList list;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        WordBreaker breaker(codePage, text.substr(0, end), 0);
        IndexWord word;
        while (breaker.Next(word)) list.words_.emplace(word.bytes);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return list;
}

std::optional<StopList> StopList::ReadFile(const std::filesystem::path& file, CodePage& codePage) {
    std::string text;
    if (!os::ReadWholeFile(file, text)) return std::nullopt;
    return Parse(text, codePage);
}

}  // namespace hhc::fts
