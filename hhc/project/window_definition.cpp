#include "project/window_definition.h"

#include <vector>

#include "project/text_util.h"

namespace hhc::project {
namespace {

constexpr std::size_t kFieldCount = 20;  // fields after "name="

bool ClosesQuotedField(std::string_view text, std::size_t quote) {
    std::size_t i = quote + 1;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return i == text.size() || text[i] == ',';
}

// Splits the definition at commas outside quotes and brackets. The format has
// no escape for a quote inside a string, so a quoted field ends only at a quote
// that is followed by a comma or the end of the line: a caption such as
// `say "hi"` survives.
std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    bool inQuotes = false;
    bool inBrackets = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            if (!inQuotes && Trim(text.substr(start, i - start)).empty()) {
                inQuotes = true;
            } else if (inQuotes && ClosesQuotedField(text, i)) {
                inQuotes = false;
            }
        } else if (!inQuotes && c == '[') {
            inBrackets = true;
        } else if (!inQuotes && c == ']') {
            inBrackets = false;
        } else if (!inQuotes && !inBrackets && c == ',') {
            fields.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    fields.push_back(text.substr(start));
    return fields;
}

// A caption holding `",` splits into too many fields; everything but the
// trailing fields then belongs to the caption.
void MergeSurplusIntoCaption(std::string_view text, std::vector<std::string_view>& fields) {
    if (fields.size() <= kFieldCount) return;
    const std::size_t surplus = fields.size() - kFieldCount;
    const std::string_view first = Trim(fields[0]);
    const std::string_view last = Trim(fields[surplus]);
    if (first.empty() || first.front() != '"' || last.empty() || last.back() != '"') return;
    const char* begin = fields[0].data();
    const char* end = fields[surplus].data() + fields[surplus].size();
    fields[0] = text.substr(static_cast<std::size_t>(begin - text.data()), static_cast<std::size_t>(end - begin));
    fields.erase(fields.begin() + 1, fields.begin() + 1 + static_cast<std::ptrdiff_t>(surplus));
}

// The text between the first and the last quote, or the trimmed field.
std::string Unquote(std::string_view field) {
    field = Trim(field);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
        return std::string(field.substr(1, field.size() - 2));
    }
    if (!field.empty() && field.front() == '"') field.remove_prefix(1);
    return std::string(field);
}

class NumberReader {
public:
    explicit NumberReader(std::string* problem) : problem_(problem) {}

    std::optional<std::uint32_t> Read(std::string_view field, std::string_view what) {
        field = Trim(field);
        if (field.empty()) return std::nullopt;
        const auto value = ParseNumber(field);
        if (!value) {
            Report(what, field);
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(*value);
    }

    std::optional<std::array<std::int32_t, 4>> ReadRectangle(std::string_view field) {
        field = Trim(field);
        if (field.empty()) return std::nullopt;
        std::string_view inner = field;
        if (inner.front() == '[') inner.remove_prefix(1);
        if (!inner.empty() && inner.back() == ']') inner.remove_suffix(1);
        std::array<std::int32_t, 4> rect{};
        std::size_t i = 0;
        for (std::size_t start = 0; i < 4; ++i) {
            const std::size_t comma = inner.find(',', start);
            const auto part = inner.substr(start, comma == std::string_view::npos ? inner.npos : comma - start);
            const auto value = ParseNumber(part);
            if (!value) break;
            rect[i] = static_cast<std::int32_t>(*value);
            if (comma == std::string_view::npos) {
                ++i;
                break;
            }
            start = comma + 1;
        }
        if (i != 4) {
            Report("window position", field);
            return std::nullopt;
        }
        return rect;
    }

private:
    void Report(std::string_view what, std::string_view field) {
        if (problem_ && problem_->empty()) {
            *problem_ = "unreadable " + std::string(what) + " \"" + std::string(field) + "\"";
        }
    }
    std::string* problem_;
};

}  // namespace

WindowDefinition ParseWindowDefinition(std::string_view name, std::string_view definition,
                                       std::string* problem) {
    WindowDefinition window;
    window.name = std::string(Trim(name));
    std::vector<std::string_view> fields = SplitFields(definition);
    MergeSurplusIntoCaption(definition, fields);
    fields.resize(kFieldCount);
    // Field 0 of the format is the window name itself, given before "=".
    std::string* strings[] = {&window.caption,  &window.toc,       &window.index,
                              &window.file,     &window.home,      &window.jump1Url,
                              &window.jump1Text, &window.jump2Url, &window.jump2Text};
    for (std::size_t i = 0; i < std::size(strings); ++i) *strings[i] = Unquote(fields[i]);

    NumberReader numbers(problem);
    window.navigationStyle = numbers.Read(fields[9], "navigation style");
    window.navigationWidth = numbers.Read(fields[10], "navigation width");
    window.buttons = numbers.Read(fields[11], "button set");
    window.position = numbers.ReadRectangle(fields[12]);
    window.style = numbers.Read(fields[13], "window style");
    window.extendedStyle = numbers.Read(fields[14], "extended window style");
    window.showState = numbers.Read(fields[15], "show state");
    window.navigationClosed = numbers.Read(fields[16], "navigation pane state");
    window.defaultTab = numbers.Read(fields[17], "default tab");
    window.navigationPosition = numbers.Read(fields[18], "tab position");
    window.notifyId = numbers.Read(fields[19], "notification id");
    return window;
}

}  // namespace hhc::project
