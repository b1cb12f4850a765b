#include "book/book_compiler.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "book/book_output.h"
#include "book/index_header.h"
#include "book/string_pool.h"
#include "book/system_file.h"
#include "book/topic_tables.h"
#include "book/windows_file.h"
#include "container/itsf_writer.h"
#include "fts/search_index.h"
#include "os/os.h"
#include "project/code_page.h"
#include "project/file_collector.h"
#include "project/help_project.h"
#include "project/html_scanner.h"
#include "project/link_resolver.h"
#include "project/text_util.h"

namespace hhc::book {
namespace fs = std::filesystem;
using container::InternalFile;
using container::Section;
using project::HelpProject;
using project::WindowDefinition;

namespace {

constexpr std::size_t kMaxTitleBytes = 1000;  // readers read titles up to about 1 KiB
const std::string kEmptyProperty(4, '\0');    // "$WW...Links/Property" without a binary index

std::string ReadProjectText(const fs::path& file) {
    std::string text;
    std::string reason;
    if (!os::ReadWholeFile(file, text, &reason)) {
        throw CompileError(os::Utf8FromPath(file) + ": cannot open the project file: " + reason);
    }
    return text;
}

// Replaces bytes that are not UTF-8 so that a name can still be stored.
std::string LossyUtf8(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) >= 0x80) c = '_';
    }
    return out;
}

// A file's name inside the book (UTF-8, from "/") and in its tables (ANSI).
struct BookName {
    std::string internal;
    std::string ansi;
};

BookName NameInBook(const std::string& path, std::uint32_t codePage) {
    if (project::IsAscii(path)) return {"/" + path, path};
    if (project::IsValidUtf8(path)) return {"/" + path, project::Utf8ToAnsi(path, codePage).value_or(path)};
    if (auto utf8 = project::AnsiToUtf8(path, codePage)) return {"/" + *utf8, path};
    return {"/" + LossyUtf8(path), path};
}

// The file-system spelling of a name given in the project's code page.
fs::path DiskPath(const std::string& ansi, std::uint32_t codePage) {
    if (project::IsAscii(ansi) || project::IsValidUtf8(ansi)) return os::PathFromUtf8(ansi);
    return os::PathFromUtf8(project::AnsiToUtf8(ansi, codePage).value_or(ansi));
}

std::string AnsiFileName(const fs::path& path, std::uint32_t codePage) {
    const std::string name = os::Utf8FromPath(path);
    return project::IsValidUtf8(name) ? project::Utf8ToAnsi(name, codePage).value_or(name) : name;
}

std::int64_t CurrentUnixTime() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string NormalizedOr(const std::optional<std::string>& path, std::uint32_t codePage) {
    return path ? project::NormalizeSeparators(project::Trim(*path), codePage) : std::string{};
}

class Compilation {
public:
    Compilation(const CompileSettings& settings, CompileListener& listener)
        : settings_(settings), listener_(listener) {}

    CompileSummary Run();

private:
    void Progress(const std::string& line) {
        if (project_.displayProgress) listener_.Progress(line);
    }
    void Warn(const std::string& message) { listener_.Warning(message); }

    void ChooseWindowAndNames();
    fs::path OutputPath() const;
    std::optional<std::size_t> AddNamedFile(const std::string& label, const std::string& written, bool required,
                                            std::string* normalized);
    void CollectFiles();
    std::vector<InternalFile> BuildInternalFiles();

    const CompileSettings& settings_;
    CompileListener& listener_;
    std::string projectName_;
    fs::path folder_;
    HelpProject project_;
    std::uint32_t codePage_ = 1252;
    std::int64_t compileTime_ = 0;

    std::vector<WindowDefinition> windows_;  // the default window first
    const WindowDefinition* window_ = nullptr;
    std::optional<std::string> defaultWindowName_;
    std::string contentsFile_;
    std::string indexFile_;
    std::string defaultTopic_;
    std::optional<std::string> title_;

    std::unique_ptr<project::FileCollector> collector_;
    std::optional<std::size_t> contentsIndex_;
    std::size_t topicCount_ = 0;
};

void Compilation::ChooseWindowAndNames() {
    const WindowDefinition* chosen = project_.FindDefaultWindow();
    if (project_.defaultWindow && !chosen) {
        Warn(projectName_ + ": Default Window \"" + *project_.defaultWindow + "\" is not defined in [WINDOWS]");
    }
    if (!project_.defaultWindow && !project_.windows.empty()) chosen = &project_.windows.front();
    if (chosen) {
        windows_.push_back(*chosen);
        defaultWindowName_ = chosen->name;
    }
    for (const WindowDefinition& window : project_.windows) {
        if (&window != chosen) windows_.push_back(window);
    }
    for (WindowDefinition& window : windows_) {
        for (std::string* path : {&window.toc, &window.index, &window.file, &window.home}) {
            *path = project::NormalizeSeparators(*path, codePage_);
        }
    }
    window_ = windows_.empty() || !chosen ? nullptr : &windows_.front();

    contentsFile_ = NormalizedOr(project_.contentsFile, codePage_);
    if (contentsFile_.empty() && window_) contentsFile_ = window_->toc;
    indexFile_ = NormalizedOr(project_.indexFile, codePage_);
    if (indexFile_.empty() && window_) indexFile_ = window_->index;
    defaultTopic_ = NormalizedOr(project_.defaultTopic, codePage_);
    if (defaultTopic_.empty() && window_) defaultTopic_ = window_->file;
    if (defaultTopic_.empty() && !project_.files.empty()) {
        defaultTopic_ = project::NormalizeSeparators(project::Trim(project_.files.front()), codePage_);
    }
    title_ = project_.title;
    if ((!title_ || title_->empty()) && window_ && !window_->caption.empty()) title_ = window_->caption;
}

fs::path Compilation::OutputPath() const {
    if (project_.compiledFile && !project::Trim(*project_.compiledFile).empty()) {
        const fs::path named = DiskPath(NormalizedOr(project_.compiledFile, codePage_), codePage_);
        return named.is_absolute() ? named : folder_ / named;
    }
    fs::path book = settings_.projectFile;
    book.replace_extension(".chm");
    return book;
}

// Adds a file that the project names; returns its index in the collection.
std::optional<std::size_t> Compilation::AddNamedFile(const std::string& label, const std::string& written,
                                                     bool required, std::string* normalized) {
    const project::ResolvedLink path = project::NormalizeProjectPath(written, codePage_);
    auto fail = [&](const std::string& problem) -> std::optional<std::size_t> {
        const std::string message = projectName_ + ": " + label + " \"" + written + "\" " + problem;
        if (required) throw CompileError(message);
        Warn(message);
        return std::nullopt;
    };
    if (path.kind == project::LinkKind::kOutsideProject) return fail("lies outside the project folder");
    if (path.kind != project::LinkKind::kLocal) return fail("names no file");
    if (normalized) *normalized = path.path;
    std::size_t index = 0;
    switch (collector_->Add(path.path, &index)) {
        case project::AddResult::kAdded: Progress("Compiling " + collector_->files()[index].path); break;
        case project::AddResult::kAlreadyPresent: break;
        case project::AddResult::kMissing: return fail("not found in " + os::Utf8FromPath(folder_));
        case project::AddResult::kNotAFile: return fail("is a folder, not a file");
        case project::AddResult::kUnreadable: return fail("cannot be read");
        case project::AddResult::kOutsideProject: return fail("lies outside the project folder");
    }
    return index;
}

void Compilation::CollectFiles() {
    collector_ = std::make_unique<project::FileCollector>(
        folder_, codePage_, [this](const std::string& message) { Warn(message); });
    for (const std::string& file : project_.files) AddNamedFile("[FILES] entry", file, true, nullptr);
    if (!contentsFile_.empty()) contentsIndex_ = AddNamedFile("Contents file", contentsFile_, true, &contentsFile_);
    if (!indexFile_.empty()) AddNamedFile("Index file", indexFile_, true, &indexFile_);
    if (!defaultTopic_.empty()) AddNamedFile("Default topic", defaultTopic_, false, &defaultTopic_);
    collector_->FollowLinks([this](const std::string& path) { Progress("Compiling " + path); });
}

std::vector<InternalFile> Compilation::BuildInternalFiles() {
    std::vector<project::SourceFile>& files = collector_->files();
    std::vector<BookName> names;
    names.reserve(files.size());
    for (const project::SourceFile& file : files) names.push_back(NameInBook(file.path, codePage_));

    std::vector<Topic> topics;
    std::vector<fts::SearchTopic> searchTopics;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!project::FileCollector::IsTopic(files[i].path)) continue;
        const std::string title = project::FindTitle(files[i].data);
        searchTopics.push_back({static_cast<std::uint32_t>(topics.size()), files[i].data});
        topics.push_back({std::string(project::TruncateText(title, kMaxTitleBytes, codePage_)), names[i].ansi});
    }

    fts::SearchFiles search;
    if (project_.fullTextSearch) {
        Progress("Building the full-text index of " + std::to_string(searchTopics.size()) + " pages");
        search = fts::BuildSearchIndex(searchTopics, codePage_, project_.lcid);
    }

    StringPool strings(codePage_);
    std::string windowsFile;
    if (!windows_.empty()) {
        windowsFile = BuildWindowsFile(windows_, {project_.compatibility10, project_.fullTextSearch}, strings);
    }
    std::vector<std::pair<std::string, std::string>> siteProperties;
    if (contentsIndex_) siteProperties = project::FindSiteProperties(files[*contentsIndex_].data);
    std::string indexHeader = BuildIndexHeader(static_cast<std::uint32_t>(topics.size()), siteProperties,
                                               static_cast<std::uint32_t>(compileTime_), strings);
    TopicTables tables = BuildTopicTables(topics, strings);

    SystemSettings system;
    system.compatibility10 = project_.compatibility10;
    system.lcid = project_.lcid;
    system.fullTextSearch = project_.fullTextSearch;
    system.compileTime = compileTime_;
    if (!contentsFile_.empty()) system.contentsFile = contentsFile_;
    if (!indexFile_.empty()) system.indexFile = indexFile_;
    if (!defaultTopic_.empty()) system.defaultTopic = defaultTopic_;
    system.title = title_;
    system.defaultWindow = defaultWindowName_;
    system.compiledFileStem = project::ToLowerAscii(AnsiFileName(OutputPath().stem(), codePage_));
    system.defaultFont = project_.defaultFont;
    system.indexHeader = indexHeader;

    std::vector<InternalFile> internal;
    internal.reserve(files.size() + 16);
    // The contents file first, then the pages in the order they were found.
    if (contentsIndex_) internal.push_back({names[*contentsIndex_].internal, std::move(files[*contentsIndex_].data), Section::kCompressed});
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (contentsIndex_ && i == *contentsIndex_) continue;
        internal.push_back({names[i].internal, std::move(files[i].data), Section::kCompressed});
    }
    if (!windowsFile.empty()) internal.push_back({"/#WINDOWS", std::move(windowsFile), Section::kCompressed});
    internal.push_back({"/$WWKeywordLinks/Property", kEmptyProperty, Section::kCompressed});
    internal.push_back({"/$WWAssociativeLinks/Property", kEmptyProperty, Section::kCompressed});
    if (project_.fullTextSearch) {
        internal.push_back({"/$OBJINST", std::move(search.objInst), Section::kCompressed});
        internal.push_back({"/$FIftiMain", std::move(search.fiftiMain), Section::kCompressed});
    }
    internal.push_back({"/#IDXHDR", std::move(indexHeader), Section::kCompressed});
    internal.push_back({"/#TOPICS", std::move(tables.topics), Section::kCompressed});
    internal.push_back({"/#URLTBL", std::move(tables.urlTable), Section::kCompressed});
    internal.push_back({"/#URLSTR", std::move(tables.urlStrings), Section::kCompressed});
    internal.push_back({"/#STRINGS", strings.bytes(), Section::kCompressed});
    internal.push_back({"/#SYSTEM", BuildSystemFile(system), Section::kUncompressed});
    internal.push_back({"/#ITBITS", std::string(), Section::kUncompressed});
    topicCount_ = topics.size();
    return internal;
}

CompileSummary Compilation::Run() {
    projectName_ = os::Utf8FromPath(settings_.projectFile.filename());
    folder_ = settings_.projectFile.parent_path();
    if (folder_.empty()) folder_ = ".";
    project_ = project::ReadHelpProject(ReadProjectText(settings_.projectFile));
    for (const std::string& warning : project_.warnings) Warn(projectName_ + ": " + warning);
    codePage_ = project::CodePageForLcid(project_.lcid);
    compileTime_ = settings_.compileTime.value_or(CurrentUnixTime());
    Progress("Compiling " + os::Utf8FromPath(settings_.projectFile));

    ChooseWindowAndNames();
    if (project_.files.empty() && contentsFile_.empty()) {
        throw CompileError(projectName_ + ": the project names no file to compile ([FILES] is empty)");
    }
    CollectFiles();

    CompileSummary summary;
    summary.book = OutputPath();
    summary.files = collector_->files().size();
    summary.bytesIn = collector_->bytesRead();
    summary.externalLinks = collector_->externalLinks();
    summary.fullTextSearch = project_.fullTextSearch;

    std::string book;
    {
        std::vector<InternalFile> internal = BuildInternalFiles();
        Progress("Compressing " + std::to_string(internal.size()) + " files");
        container::ContainerOptions options;
        options.lcid = project_.lcid;
        options.timestamp = static_cast<std::uint32_t>(compileTime_);
        try {
            // Hands the data over: each file is freed once it is in the section.
            book = container::BuildContainer(std::move(internal), options);
        } catch (const std::exception& error) {
            throw CompileError(os::Utf8FromPath(summary.book) + ": " + error.what());
        }
    }
    collector_.reset();
    summary.topics = topicCount_;
    Progress("Writing " + os::Utf8FromPath(summary.book));
    WriteBookFile(summary.book, book);
    summary.bytesOut = book.size();
    return summary;
}

}  // namespace

CompileSummary CompileBook(const CompileSettings& settings, CompileListener& listener) {
    return Compilation(settings, listener).Run();
}

}  // namespace hhc::book
