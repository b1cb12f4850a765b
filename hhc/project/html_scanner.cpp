#include "project/html_scanner.h"

#include <functional>

#include "html/html_entities.h"
#include "project/text_util.h"

namespace hhc::project {
namespace {

struct Attribute {
    std::string_view name;
    std::string_view value;
};

struct Tag {
    std::string_view name;
    bool closing = false;
    std::vector<Attribute> attributes;

    const Attribute* Find(std::string_view attributeName) const {
        for (const Attribute& attribute : attributes) {
            if (EqualsIgnoreCase(attribute.name, attributeName)) return &attribute;
        }
        return nullptr;
    }
};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::size_t FindIgnoreCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty() || text.size() < needle.size()) return std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
        if (ToLowerAscii(text[i]) == ToLowerAscii(needle[0]) && EqualsIgnoreCase(text.substr(i, needle.size()), needle)) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Character references decoded where they stand for ASCII; any other
// character is left as written, since a link's code page is not known here.
std::string DecodeEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t after = i;
        const char32_t character = text[i] == '&' ? html::ReadCharacterReference(text, after) : 0;
        if (character > 0 && character < 0x80) {
            out.push_back(static_cast<char>(character));
            i = after;
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

// Calls `onTag` for every start and end tag and `onRawText` for the contents of
// <script> and <style> elements, which are not markup.
void ScanTags(std::string_view html, const std::function<void(const Tag&)>& onTag,
              const std::function<void(const Tag&, std::string_view)>& onRawText) {
    const std::size_t n = html.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t open = html.find('<', i);
        if (open == std::string_view::npos) break;
        i = open + 1;
        if (html.substr(i, 3) == "!--") {
            const std::size_t end = html.find("-->", i + 3);
            i = end == std::string_view::npos ? n : end + 3;
            continue;
        }
        Tag tag;
        if (i < n && html[i] == '/') {
            tag.closing = true;
            ++i;
        }
        if (i >= n || !(IsAsciiLetter(html[i]) || html[i] == '!' || html[i] == '?')) continue;
        const std::size_t nameStart = i;
        while (i < n && !IsSpace(html[i]) && html[i] != '>' && html[i] != '/') ++i;
        tag.name = html.substr(nameStart, i - nameStart);
        while (i < n) {
            while (i < n && (IsSpace(html[i]) || html[i] == '/')) ++i;
            if (i >= n) break;
            if (html[i] == '>') {
                ++i;
                break;
            }
            const std::size_t attributeStart = i;
            while (i < n && !IsSpace(html[i]) && html[i] != '=' && html[i] != '>' && html[i] != '/') ++i;
            if (i == attributeStart) {  // a stray '=' or similar
                ++i;
                continue;
            }
            Attribute attribute{html.substr(attributeStart, i - attributeStart), {}};
            std::size_t look = i;
            while (look < n && IsSpace(html[look])) ++look;
            if (look < n && html[look] == '=') {
                i = look + 1;
                while (i < n && IsSpace(html[i])) ++i;
                if (i < n && (html[i] == '"' || html[i] == '\'')) {
                    const char quote = html[i];
                    const std::size_t end = html.find(quote, i + 1);
                    const std::size_t stop = end == std::string_view::npos ? n : end;
                    attribute.value = html.substr(i + 1, stop - i - 1);
                    i = end == std::string_view::npos ? n : end + 1;
                } else {
                    const std::size_t valueStart = i;
                    while (i < n && !IsSpace(html[i]) && html[i] != '>') ++i;
                    attribute.value = html.substr(valueStart, i - valueStart);
                }
            }
            tag.attributes.push_back(attribute);
        }
        onTag(tag);
        if (!tag.closing && (EqualsIgnoreCase(tag.name, "script") || EqualsIgnoreCase(tag.name, "style"))) {
            const std::string closing = "</" + std::string(tag.name);
            const std::size_t end = FindIgnoreCase(html, closing, i);
            const std::size_t stop = end == std::string_view::npos ? n : end;
            onRawText(tag, html.substr(i, stop - i));
            i = stop;
        }
    }
}

void AppendStyleUrls(std::string_view css, std::vector<std::string>& links) {
    std::size_t i = 0;
    std::size_t url = 0;
    std::size_t import = 0;
    bool first = true;
    while (true) {
        // Each search runs again only once the scan has passed its last hit,
        // so the whole scan stays linear.
        if (first || (url != std::string_view::npos && url < i)) url = FindIgnoreCase(css, "url(", i);
        if (first || (import != std::string_view::npos && import < i)) import = FindIgnoreCase(css, "@import", i);
        first = false;
        if (url == std::string_view::npos && import == std::string_view::npos) return;
        std::size_t start;
        std::size_t stop;
        if (url < import) {
            start = url + 4;
            const std::size_t close = css.find(')', start);
            stop = close == std::string_view::npos ? css.size() : close;
        } else {
            start = import + 7;
            while (start < css.size() && IsSpace(css[start])) ++start;
            if (start >= css.size() || (css[start] != '"' && css[start] != '\'')) {
                i = start;  // "@import url(...)" is caught as url(
                continue;
            }
            const std::size_t close = css.find(css[start], start + 1);
            stop = close == std::string_view::npos ? css.size() : close + 1;
        }
        std::string_view target = Trim(css.substr(start, stop - start));
        if (target.size() >= 2 && (target.front() == '"' || target.front() == '\'') && target.back() == target.front()) {
            target = target.substr(1, target.size() - 2);
        }
        if (!target.empty()) links.emplace_back(target);
        i = stop;
    }
}

}  // namespace

std::vector<std::string> FindPageLinks(std::string_view html) {
    std::vector<std::string> links;
    ScanTags(
        html,
        [&](const Tag& tag) {
            if (tag.closing) return;
            for (const Attribute& attribute : tag.attributes) {
                if (EqualsIgnoreCase(attribute.name, "href") || EqualsIgnoreCase(attribute.name, "src") ||
                    EqualsIgnoreCase(attribute.name, "background")) {
                    links.push_back(DecodeEntities(attribute.value));
                } else if (EqualsIgnoreCase(attribute.name, "style")) {
                    AppendStyleUrls(DecodeEntities(attribute.value), links);
                }
            }
            if (EqualsIgnoreCase(tag.name, "param")) {
                const Attribute* name = tag.Find("name");
                const Attribute* value = tag.Find("value");
                if (name && value && EqualsIgnoreCase(Trim(name->value), "Local")) {
                    links.push_back(DecodeEntities(value->value));
                }
            }
        },
        [&](const Tag& tag, std::string_view text) {
            if (EqualsIgnoreCase(tag.name, "style")) AppendStyleUrls(text, links);
        });
    return links;
}

std::vector<std::string> FindStylesheetLinks(std::string_view css) {
    std::vector<std::string> links;
    AppendStyleUrls(css, links);
    return links;
}

std::vector<std::pair<std::string, std::string>> FindSiteProperties(std::string_view html) {
    std::vector<std::pair<std::string, std::string>> properties;
    enum { kBefore, kInside, kDone } state = kBefore;
    ScanTags(
        html,
        [&](const Tag& tag) {
            if (state == kDone) return;
            if (EqualsIgnoreCase(tag.name, "object")) {
                if (state == kInside) {
                    state = kDone;
                } else if (!tag.closing) {
                    const Attribute* type = tag.Find("type");
                    if (type && EqualsIgnoreCase(Trim(type->value), "text/site properties")) state = kInside;
                }
            } else if (state == kInside && !tag.closing && EqualsIgnoreCase(tag.name, "param")) {
                const Attribute* name = tag.Find("name");
                const Attribute* value = tag.Find("value");
                if (name && value) {
                    properties.emplace_back(DecodeEntities(Trim(name->value)), DecodeEntities(value->value));
                }
            }
        },
        [](const Tag&, std::string_view) {});
    return properties;
}

}  // namespace hhc::project
