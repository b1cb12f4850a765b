#include "project/help_project.h"

#include <set>

#include "project/text_util.h"

namespace hhc::project {
namespace {

enum class Section { kNone, kOptions, kWindows, kFiles, kOther };

Section SectionNamed(std::string_view name) {
    if (EqualsIgnoreCase(name, "OPTIONS")) return Section::kOptions;
    if (EqualsIgnoreCase(name, "WINDOWS")) return Section::kWindows;
    if (EqualsIgnoreCase(name, "FILES")) return Section::kFiles;
    return Section::kOther;
}

// Sections of the project format the compiler does not honour, and what
// their absence means for the book.
struct UnsupportedSection {
    std::string_view name;
    std::string_view consequence;
};
constexpr UnsupportedSection kUnsupportedSections[] = {
    {"ALIAS", "no context-help map is written"},
    {"MAP", "no context-help map is written"},
    {"INFOTYPES", "the book has no information types"},
    {"SUBSETS", "the book has no information types"},
    {"MERGE FILES", "no books are merged"},
    {"TEXT POPUPS", "text pop-ups are not compiled"},
};

// Options the compiler reads but does not honour. With `onlyWhenOn`, the
// option is honoured when it is off (No, 0): it then asks for nothing.
struct UnsupportedOption {
    std::string_view key;
    bool onlyWhenOn;
    std::string_view consequence;
};
constexpr UnsupportedOption kUnsupportedOptions[] = {
    {"Binary TOC", true, "the contents stay a sitemap file"},
    {"Binary Index", true, "the index stays a sitemap file"},
    {"Create CHI file", true, "everything stays in the .chm"},
    {"Auto Index", true, "no index entries are made from the pages"},
    {"Auto TOC", true, "no contents are made from headings"},
    {"Flat", true, "the book keeps its folders"},
    {"Enhanced decompilation", true, "no decompilation data is written"},
    {"DBCS", false, "the code page follows Language"},
    {"Error log file", false, "messages go to the console only"},
    {"Custom tab", false, "the book has no custom tabs"},
    {"Sample Staging Path", false, "no samples are copied"},
    {"Sample list file", false, "no samples are copied"},
    {"CITATION", false, "ignored"},
    {"COPYRIGHT", false, "ignored"},
    {"COMPRESS", false, "the book is always compressed"},
    {"IGNORE", false, "ignored"},
    {"PREFIX", false, "ignored"},
    {"TMPDIR", false, "ignored"},
};

bool IsOff(std::string_view value) {
    return EqualsIgnoreCase(value, "No") || value == "0" || EqualsIgnoreCase(value, "False") || value.empty();
}

// Splits the text into lines ending in LF, CR LF or a lone CR.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    std::size_t lineNumber = 1;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        visit(text.substr(0, end), lineNumber++);
        if (end == std::string_view::npos) break;
        const std::size_t next = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? end + 2 : end + 1;
        text.remove_prefix(next);
    }
}

class ProjectReader {
public:
    explicit ProjectReader(HelpProject& project) : project_(project) {}

    void ReadLine(std::string_view line, std::size_t lineNumber) {
        line_ = lineNumber;
        line = Trim(line);
        if (line.empty() || line.front() == ';') return;
        if (line.front() == '[' && line.back() == ']') {
            sectionName_ = std::string(Trim(line.substr(1, line.size() - 2)));
            section_ = SectionNamed(sectionName_);
            return;
        }
        switch (section_) {
            case Section::kOptions: ReadOption(line); break;
            case Section::kWindows: ReadWindow(line); break;
            case Section::kFiles: project_.files.emplace_back(line); break;
            case Section::kNone: Warn("text outside any section ignored"); break;
            case Section::kOther: WarnSectionOnce(); break;
        }
    }

private:
    void ReadOption(std::string_view line) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            Warn("option without \"=\" ignored");
            return;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (EqualsIgnoreCase(key, "Compiled file")) {
            project_.compiledFile = std::string(value);
        } else if (EqualsIgnoreCase(key, "Contents file")) {
            project_.contentsFile = std::string(value);
        } else if (EqualsIgnoreCase(key, "Index file")) {
            project_.indexFile = std::string(value);
        } else if (EqualsIgnoreCase(key, "Default Window")) {
            project_.defaultWindow = std::string(value);
        } else if (EqualsIgnoreCase(key, "Default topic")) {
            project_.defaultTopic = std::string(value);
        } else if (EqualsIgnoreCase(key, "Default font")) {
            project_.defaultFont = std::string(value);
        } else if (EqualsIgnoreCase(key, "Title")) {
            project_.title = std::string(value);
        } else if (EqualsIgnoreCase(key, "Language")) {
            ReadLanguage(value);
        } else if (EqualsIgnoreCase(key, "Display compile progress")) {
            project_.displayProgress = ReadYesNo(key, value, project_.displayProgress);
        } else if (EqualsIgnoreCase(key, "Full-text search")) {
            project_.fullTextSearch = ReadYesNo(key, value, project_.fullTextSearch);
        } else if (EqualsIgnoreCase(key, "Compatibility")) {
            project_.compatibility10 = value == "1.0";
        } else if (EqualsIgnoreCase(key, "Full text search stop list file")) {
            project_.stopListFile = std::string(value);
        } else if (EqualsIgnoreCase(key, "Display compile notes")) {
            // Warnings are always shown.
            if (IsOff(value)) WarnOptionOnce(key, value, "warnings are always shown");
        } else {
            WarnUnsupportedOption(key, value);
        }
    }

    void WarnUnsupportedOption(std::string_view key, std::string_view value) {
        for (const UnsupportedOption& option : kUnsupportedOptions) {
            if (!EqualsIgnoreCase(key, option.key)) continue;
            if (!(option.onlyWhenOn && IsOff(value))) WarnOptionOnce(option.key, value, option.consequence);
            return;
        }
        if (!warnedNames_.insert("option " + ToLowerAscii(key)).second) return;
        Warn("unknown option \"" + std::string(key) + "=" + std::string(value) + "\" ignored");
    }

    void WarnOptionOnce(std::string_view key, std::string_view value, std::string_view consequence) {
        if (!warnedNames_.insert("option " + ToLowerAscii(key)).second) return;
        Warn("option \"" + std::string(key) + "=" + std::string(value) + "\" is not supported (" +
             std::string(consequence) + "); ignored");
    }

    void WarnSectionOnce() {
        if (!warnedNames_.insert("section " + ToLowerAscii(sectionName_)).second) return;
        for (const UnsupportedSection& section : kUnsupportedSections) {
            if (EqualsIgnoreCase(sectionName_, section.name)) {
                Warn("section [" + sectionName_ + "] is not supported (" + std::string(section.consequence) + "); ignored");
                return;
            }
        }
        Warn("unknown section [" + sectionName_ + "] ignored");
    }

    // "0x804 中文(中国)": only the leading number counts.
    void ReadLanguage(std::string_view value) {
        const std::size_t end = value.find_first_of(" \t");
        const auto lcid = ParseNumber(value.substr(0, end));
        if (!lcid || *lcid <= 0 || *lcid > 0xFFFF) {
            Warn("unreadable Language \"" + std::string(value) + "\"; using 0x409");
            return;
        }
        project_.lcid = static_cast<std::uint32_t>(*lcid);
    }

    bool ReadYesNo(std::string_view key, std::string_view value, bool fallback) {
        if (EqualsIgnoreCase(value, "Yes") || value == "1" || EqualsIgnoreCase(value, "True")) return true;
        if (EqualsIgnoreCase(value, "No") || value == "0" || EqualsIgnoreCase(value, "False")) return false;
        Warn(std::string(key) + "=" + std::string(value) + " is neither Yes nor No; ignored");
        return fallback;
    }

    void ReadWindow(std::string_view line) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || Trim(line.substr(0, equals)).empty()) {
            Warn("window definition without a name ignored");
            return;
        }
        std::string problem;
        project_.windows.push_back(ParseWindowDefinition(line.substr(0, equals), line.substr(equals + 1), &problem));
        if (!problem.empty()) Warn("window \"" + project_.windows.back().name + "\": " + problem);
    }

    void Warn(std::string message) {
        project_.warnings.push_back("line " + std::to_string(line_) + ": " + std::move(message));
    }

    HelpProject& project_;
    Section section_ = Section::kNone;
    std::string sectionName_;
    std::set<std::string> warnedNames_;  // options and sections warned about
    std::size_t line_ = 0;
};

}  // namespace

const WindowDefinition* HelpProject::FindDefaultWindow() const {
    if (!defaultWindow) return nullptr;
    for (const WindowDefinition& window : windows) {
        if (EqualsIgnoreCase(window.name, *defaultWindow)) return &window;
    }
    return nullptr;
}

HelpProject ReadHelpProject(std::string_view text) {
    static constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
    HelpProject project;
    ProjectReader reader(project);
    ForEachLine(text, [&](std::string_view line, std::size_t number) { reader.ReadLine(line, number); });
    return project;
}

}  // namespace hhc::project
