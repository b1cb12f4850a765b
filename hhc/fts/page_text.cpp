#include "fts/page_text.h"

#include <algorithm>
#include <cstdint>

#include "common/utf8.h"
#include "fts/html_entities.h"

namespace hhc::fts {
namespace {

bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Elements that end a run of text as a browser shows it: a phrase never runs
// from one into the next. Sorted for binary search. <br> is not among them: a
// line break inside a paragraph keeps the words on both sides adjacent.
constexpr std::string_view kBlockElements[] = {
    "address", "article", "aside",  "blockquote", "body",   "caption", "center", "dd",
    "div",     "dl",      "dt",     "fieldset",   "figcaption", "figure", "footer", "form",
    "h1",      "h2",      "h3",     "h4",         "h5",     "h6",      "header", "hr",
    "html",    "li",      "main",   "nav",        "ol",     "option",  "p",      "pre",
    "section", "select",  "table",  "tbody",      "td",     "textarea", "tfoot", "th",
    "thead",   "tr",      "ul",
};

bool IsBlockElement(std::string_view name) {
    return std::binary_search(std::begin(kBlockElements), std::end(kBlockElements), name);
}

// Elements that may stand in <head>; any other start tag ends the head, as in
// a browser, so that a page missing </head> and <body> still has its text.
bool BelongsInHead(std::string_view name) {
    return name == "base" || name == "link" || name == "meta" || name == "noscript" || name == "object" ||
           name == "param" || name == "title" || name == "html" || name == "head";
}

bool IsBlank(char32_t c) {
    return c == 0xA0 || c == 0x3000 || (c >= 0x2000 && c <= 0x200B) || c == 0x202F || c == 0x205F;
}

// True when a <meta> tag in the page's first bytes says it is written in UTF-8
// (<meta charset="utf-8"> or content="text/html; charset=utf-8").
bool DeclaresUtf8(std::string_view html) {
    std::string head(html.substr(0, 4096));
    for (char& c : head) c = AsciiLower(c);
    for (std::size_t meta = head.find("<meta"); meta != std::string::npos; meta = head.find("<meta", meta + 5)) {
        std::size_t end = head.find('>', meta);
        std::string tag = head.substr(meta, end == std::string::npos ? std::string::npos : end - meta);
        std::size_t at = tag.find("charset");
        if (at == std::string::npos) continue;
        at += 7;
        while (at < tag.size() && (tag[at] == ' ' || tag[at] == '=' || tag[at] == '"' || tag[at] == '\'')) ++at;
        return tag.compare(at, 5, "utf-8") == 0 || tag.compare(at, 4, "utf8") == 0;
    }
    return false;
}

class Extractor {
public:
    Extractor(std::string_view html, CodePage& codePage)
        : html_(html), cp_(codePage), utf8_(codePage.number() != 65001 && DeclaresUtf8(html)) {}

    PageText Run() {
        while (pos_ < html_.size()) {
            char c = html_[pos_];
            if (c == '<' && TryMarkup()) continue;
            if (c == '&') {
                DecodeReference();
                continue;
            }
            CopyTextRun();
        }
        return std::move(out_);
    }

private:
    std::string* Target() {
        if (inTitle_) return &out_.title;
        if (inHead_) return nullptr;
        return &out_.body;
    }

    void Emit(std::string_view bytes) {
        if (std::string* t = Target()) t->append(bytes);
    }

    void EmitBreak() {
        std::string* t = Target();
        if (t != nullptr && !t->empty() && t->back() != kBlockBreak) t->push_back(kBlockBreak);
    }

    // Copies text up to the next '<' or '&' (neither is ever a trail byte).
    // A lead byte without its trail byte becomes kUnwritable; NUL and 0x01
    // become blanks so that they cannot pass for the marks.
    void CopyTextRun() {
        std::string* target = Target();
        if (target == nullptr || utf8_) {
            std::size_t end = pos_ + 1;
            while (end < html_.size() && html_[end] != '<' && html_[end] != '&') ++end;
            if (target == nullptr) {
                pos_ = end;
                return;
            }
            while (pos_ < end) EmitCodePoint(utf8::Decode(html_.substr(0, end), pos_));
            return;
        }
        if (html_[pos_] == '<') {  // a '<' that starts no markup is text
            target->push_back('<');
            ++pos_;
        }
        while (pos_ < html_.size()) {
            std::size_t sound = SoundTextEnd();
            target->append(html_.data() + pos_, sound - pos_);
            pos_ = sound;
            if (pos_ == html_.size() || html_[pos_] == '<' || html_[pos_] == '&') return;
            target->push_back(cp_.IsLeadByte(static_cast<std::uint8_t>(html_[pos_])) ? kUnwritable : ' ');
            ++pos_;
        }
    }

    // The end of the bytes from pos_ on that are copied as they are: whole
    // double-byte characters and single bytes other than '<', '&', NUL and 0x01.
    std::size_t SoundTextEnd() const {
        std::size_t p = pos_;
        while (p < html_.size()) {
            auto b = static_cast<std::uint8_t>(html_[p]);
            if (cp_.IsLeadByte(b)) {
                if (p + 1 >= html_.size() || !cp_.IsTrailByte(static_cast<std::uint8_t>(html_[p + 1]))) break;
                p += 2;
            } else {
                if (b <= 0x01 || b == '<' || b == '&') break;
                ++p;
            }
        }
        return p;
    }

    // "&name;", "&#ddd;" or "&#xhh;". Anything else is the literal '&'.
    void DecodeReference() {
        std::size_t p = pos_ + 1;
        char32_t codePoint = 0;
        if (p < html_.size() && html_[p] == '#') {
            ++p;
            bool hex = p < html_.size() && (html_[p] == 'x' || html_[p] == 'X');
            if (hex) ++p;
            std::size_t digitsStart = p;
            std::uint32_t value = 0;
            while (p < html_.size()) {
                char d = html_[p];
                int digit = IsAsciiDigit(d) ? d - '0'
                            : (hex && d >= 'a' && d <= 'f') ? d - 'a' + 10
                            : (hex && d >= 'A' && d <= 'F') ? d - 'A' + 10
                                                             : -1;
                if (digit < 0) break;
                value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
                ++p;
            }
            if (p == digitsStart) return EmitLiteralAmpersand();
            if (p < html_.size() && html_[p] == ';') ++p;
            codePoint = value == 0 ? 0xFFFD : value;
        } else {
            std::size_t nameStart = p;
            while (p < html_.size() && p - nameStart < 32 && (IsAsciiAlpha(html_[p]) || IsAsciiDigit(html_[p]))) ++p;
            std::string_view name = html_.substr(nameStart, p - nameStart);
            bool terminated = p < html_.size() && html_[p] == ';';
            codePoint = LookUpNamedEntity(name);
            // Browsers accept the oldest references without ';' as well.
            bool legacy = name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "nbsp";
            if (codePoint == 0 || (!terminated && !legacy)) return EmitLiteralAmpersand();
            if (terminated) ++p;
        }
        pos_ = p;
        EmitCodePoint(codePoint);
    }

    void EmitLiteralAmpersand() {
        Emit("&");
        ++pos_;
    }

    void EmitCodePoint(char32_t c) {
        if (c < 0x80) {
            char ch = (c == 0 || c == 1) ? ' ' : static_cast<char>(c);
            Emit(std::string_view(&ch, 1));
            return;
        }
        if (IsBlank(c)) {
            Emit(" ");
            return;
        }
        std::string bytes = cp_.Encode(c);
        if (bytes.empty()) {
            Emit(std::string_view(&kUnwritable, 1));
            return;
        }
        Emit(bytes);
    }

    // Handles markup at '<'. Returns false when the '<' is plain text.
    bool TryMarkup() {
        std::string_view rest = html_.substr(pos_);
        if (rest.starts_with("<!--")) {
            std::size_t end = html_.find("-->", pos_ + 4);
            pos_ = end == std::string_view::npos ? html_.size() : end + 3;
            return true;
        }
        if (rest.starts_with("<!") || rest.starts_with("<?")) {
            std::size_t end = html_.find('>', pos_ + 2);
            pos_ = end == std::string_view::npos ? html_.size() : end + 1;
            return true;
        }
        std::size_t p = pos_ + 1;
        bool closing = p < html_.size() && html_[p] == '/';
        if (closing) ++p;
        if (p >= html_.size() || !IsAsciiAlpha(html_[p])) return false;
        std::string name;
        while (p < html_.size() && (IsAsciiAlpha(html_[p]) || IsAsciiDigit(html_[p]) || html_[p] == '-' ||
                                    html_[p] == ':')) {
            name.push_back(AsciiLower(html_[p]));
            ++p;
        }
        pos_ = SkipTagRest(p);
        OnTag(name, closing);
        return true;
    }

    // Past the '>' that ends a tag, stepping over quoted attribute values.
    std::size_t SkipTagRest(std::size_t p) const {
        char quote = 0;
        for (; p < html_.size(); ++p) {
            char c = html_[p];
            if (quote != 0) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                return p + 1;
            }
        }
        return html_.size();
    }

    void OnTag(const std::string& name, bool closing) {
        if (!closing && (name == "script" || name == "style")) {
            SkipRawText(name);
            return;
        }
        if (name == "head") {
            inHead_ = !closing;
            return;
        }
        if (inHead_ && !closing && !BelongsInHead(name)) inHead_ = false;
        if (name == "title") {
            inTitle_ = !closing;
            return;
        }
        if (IsBlockElement(name)) EmitBreak();
    }

    // Script and style content ends only at its own closing tag.
    void SkipRawText(const std::string& name) {
        std::string closing = "</" + name;
        for (std::size_t p = pos_; p + closing.size() <= html_.size(); ++p) {
            if (html_[p] != '<') continue;
            bool match = true;
            for (std::size_t i = 1; i < closing.size() && match; ++i) match = AsciiLower(html_[p + i]) == closing[i];
            if (match) {
                pos_ = SkipTagRest(p + closing.size());
                return;
            }
        }
        pos_ = html_.size();
    }

    std::string_view html_;
    CodePage& cp_;
    bool utf8_;  // a UTF-8 page in a book of another code page: text is converted
    std::size_t pos_ = 0;
    bool inHead_ = false;
    bool inTitle_ = false;
    PageText out_;
};

}  // namespace

PageText ExtractPageText(std::string_view html, CodePage& codePage) {
    return Extractor(html, codePage).Run();
}

}  // namespace hhc::fts
