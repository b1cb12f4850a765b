#include "cli/command_line.h"

#include <optional>

#include "app/input_checks.h"
#include "batch/book_inputs.h"
#include "batch/title_check.h"
#include "common/memory_window_state.h"
#include "platform/platform.h"

namespace chmbook::cli {
namespace {

constexpr char kUsage[] =
    "Usage: chmbook-cli --title TITLE [options] FOLDER\n"
    "\n"
    "Makes one compiled HTML Help book (.chm) from the *.txt files in FOLDER\n"
    "(text in code page 936, UTF-8 or UTF-16): a list page that links every\n"
    "file and shows the start of its text, and one page per file, in the order\n"
    "of the file names.\n"
    "The book is written to the folder Release beside this program and named\n"
    "after the title: Release/TITLE.chm. When this program's folder may not be\n"
    "written (an installed copy), Release lies in the user's data folder instead:\n"
    "$XDG_DATA_HOME/chmbook/Release, by default ~/.local/share/chmbook/Release.\n"
    "The help compiler hhc must lie beside this program.\n"
    "\n"
    "Options:\n"
    "  --title TITLE       the book's title, used as typed (required, not empty; it\n"
    "                      names the book's file, so it must be a plain file name:\n"
    "                      no path separator or control character, not . or ..)\n"
    "  --delete-sources    delete the .txt files once the book is made\n"
    "  --open              open the finished book with the desktop's default program\n"
    "                      (when there is none, says where the book is)\n"
    "  --title-demo TEXT   HTML at the top of the list page (default: the statement)\n"
    "  --foot-demo TEXT    HTML at the foot of the list page (default: the statement\n"
    "                      in four lines)\n"
    "  --paper-top TEXT    HTML at the top of every content page (default: none)\n"
    "  --paper-foot TEXT   HTML at the foot of every content page (default: the\n"
    "                      statement)\n"
    "  --source-encoding auto|gbk|utf-8|utf-16\n"
    "                      how the .txt files are read (default: auto, which reads\n"
    "                      a file with a byte-order mark by its mark, a file in\n"
    "                      valid UTF-8 holding a character of 3 or 4 bytes as\n"
    "                      UTF-8, and any other file as code page 936)\n"
    "  -h, --help          show this help and exit\n"
    "An option's value may also follow an equals sign: --title=Notes.\n"
    "Line breaks in a value become CR LF, as in the window's text boxes.\n"
    "\n"
    "Prints one line per stage of the build with the number of pages written so\n"
    "far, then the path of the book.\n"
    "A second build from the same program folder waits until the first has ended.\n"
    "Messages are in Chinese when LC_ALL, LC_MESSAGES or LANG names the language zh.\n"
    "Exit status: 0 when the book was made, 1 when it was not, 2 for a usage error.\n";

struct Request {
    std::optional<std::u16string> title;
    std::optional<std::u16string> titleDemo, footDemo, paperTop, paperFoot;
    std::optional<std::u16string> sourceEncoding;
    bool deleteSources = false;
    bool open = false;
    bool help = false;
    std::optional<std::u16string> folder;
};

// Lines in the window's text boxes end in CR LF; a lone LF typed in a shell becomes one.
std::u16string WithCrLf(const std::u16string& text) {
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) result += u'\r';
        result += text[i];
    }
    return result;
}

std::optional<SourceEncoding> EncodingNamed(const std::u16string& name) {
    if (name == u"auto") return SourceEncoding::kAuto;
    if (name == u"gbk") return SourceEncoding::kGbk;
    if (name == u"utf-8") return SourceEncoding::kUtf8;
    if (name == u"utf-16") return SourceEncoding::kUtf16;
    return std::nullopt;
}

class Parser {
public:
    explicit Parser(const std::vector<std::u16string>& arguments) : arguments_(arguments) {}

    // The request, or nothing with the reason in `error`.
    std::optional<Request> Parse(std::u16string& error) {
        Request request;
        bool optionsEnded = false;
        while (next_ < arguments_.size()) {
            const std::u16string argument = arguments_[next_++];
            if (!optionsEnded && argument == u"-h") {
                request.help = true;
                continue;
            }
            if (optionsEnded || argument.size() < 2 || argument.compare(0, 2, u"--") != 0) {
                if (request.folder) return Fail(error, u"only one FOLDER may be given, not also \"" + argument + u"\"");
                request.folder = argument;
                continue;
            }
            if (argument == u"--") {
                optionsEnded = true;
                continue;
            }
            const std::size_t equals = argument.find(u'=');
            const std::u16string name = argument.substr(0, equals);
            std::optional<std::u16string> inlineValue;
            if (equals != std::u16string::npos) inlineValue = argument.substr(equals + 1);

            if (name == u"--help" || name == u"--delete-sources" || name == u"--open") {
                if (inlineValue) return Fail(error, name + u" takes no value");
                if (name == u"--help") request.help = true;
                if (name == u"--delete-sources") request.deleteSources = true;
                if (name == u"--open") request.open = true;
                continue;
            }
            std::optional<std::u16string>* target = ValueTarget(request, name);
            if (!target) return Fail(error, u"unknown option \"" + name + u"\"");
            if (!inlineValue) {
                if (next_ == arguments_.size()) return Fail(error, name + u" needs a value");
                inlineValue = arguments_[next_++];
            }
            *target = *inlineValue;
        }
        if (request.help) return request;
        if (!request.title) return Fail(error, u"--title is required");
        if (!HasTitle(*request.title)) return Fail(error, u"the title must not be empty");
        if (!request.folder) return Fail(error, u"FOLDER, the folder of the .txt files, is required");
        if (request.sourceEncoding && !EncodingNamed(*request.sourceEncoding))
            return Fail(error, u"--source-encoding is auto, gbk, utf-8 or utf-16, not \"" + *request.sourceEncoding +
                                   u"\"");
        return request;
    }

private:
    static std::optional<std::u16string>* ValueTarget(Request& request, const std::u16string& name) {
        if (name == u"--title") return &request.title;
        if (name == u"--title-demo") return &request.titleDemo;
        if (name == u"--foot-demo") return &request.footDemo;
        if (name == u"--paper-top") return &request.paperTop;
        if (name == u"--paper-foot") return &request.paperFoot;
        if (name == u"--source-encoding") return &request.sourceEncoding;
        return nullptr;
    }

    static std::optional<Request> Fail(std::u16string& error, std::u16string reason) {
        error = std::move(reason);
        return std::nullopt;
    }

    const std::vector<std::u16string>& arguments_;
    std::size_t next_ = 0;
};

std::string Utf8(std::u16string_view text) { return platform::ToUtf8(text); }

// The window's state at start (its defaults), then as the user would change it.
MemoryWindowState FillWindowState(const Request& request, const std::u16string& appPath) {
    MemoryWindowState frm;
    frm.appPath = appPath;
    frm.ad = NoticeText();
    frm.titleDemo = request.titleDemo ? WithCrLf(*request.titleDemo) : StatementText();
    frm.footDemo = request.footDemo ? WithCrLf(*request.footDemo) : StatementTextInFourLines();
    frm.paperTop = request.paperTop ? WithCrLf(*request.paperTop) : std::u16string();
    frm.paperFoot = request.paperFoot ? WithCrLf(*request.paperFoot) : StatementText();
    frm.file = DefaultOutputPath(appPath);
    frm.titleName = *request.title;
    frm.file = OutputPathForTitle(appPath, frm.titleName);
    frm.text1 = *request.folder;
    frm.list1 = ListSourceFiles(frm.text1);
    frm.check1 = request.deleteSources ? 1 : 0;
    return frm;
}

std::string PagesText(std::size_t pages, Language language) {
    const std::string count = std::to_string(pages);
    return Utf8(pages == 1 ? Text(MessageId::kCliOnePageWritten, language)
                           : Text(MessageId::kCliPagesWritten, language, {std::u16string(count.begin(), count.end())}));
}

}  // namespace

int Run(const std::vector<std::u16string>& arguments, const Environment& environment, std::ostream& out,
        std::ostream& err) {
    const Language language = environment.language;
    std::u16string error;
    std::optional<Request> request = Parser(arguments).Parse(error);
    // A title that cannot name the book's file is refused before anything is touched.
    if (request && !request->help) {
        error = TitleProblem(*request->title, language);
        if (!error.empty()) request.reset();
    }
    if (!request) {
        err << "chmbook-cli: " << Utf8(error) << "\nTry 'chmbook-cli --help' for more information.\n";
        return kExitUsage;
    }
    if (request->help) {
        out << kUsage;
        return kExitProduced;
    }
    if (platform::LookUp(*request->folder) != platform::EntryKind::kFolder) {
        err << "chmbook-cli: " << Utf8(Text(MessageId::kCliNoFolder, language, {*request->folder})) << "\n";
        return kExitFailed;
    }
    if (!EnsureOutputFolder(environment.appPath)) {
        err << "chmbook-cli: "
            << Utf8(Text(MessageId::kCliNoOutputFolder, language, {OutputFolder(environment.appPath)})) << "\n";
        return kExitFailed;
    }
    MemoryWindowState frm = FillWindowState(*request, environment.appPath);
    if (FindMissingInput(frm) == MissingInput::kFiles) {
        err << "chmbook-cli: " << Utf8(Text(MessageId::kCliNoTextFiles, language, {*request->folder})) << "\n";
        return kExitFailed;
    }

    BuildOptions options;
    options.openBook = request->open;
    options.openDocument = environment.openDocument;
    if (request->sourceEncoding) options.sourceEncoding = *EncodingNamed(*request->sourceEncoding);
    options.language = language;
    std::u16string lastStage;
    options.progress = [&](std::u16string_view stage, std::size_t pagesWritten) {
        if (stage == lastStage) return;
        lastStage = stage;
        out << Utf8(stage) << " (" << PagesText(pagesWritten, language) << ")\n" << std::flush;
    };
    const BuildOutcome outcome = MakeChm(frm, options);
    if (!outcome.produced) {
        err << "chmbook-cli: " << Utf8(outcome.Message(language)) << "\n";
        return kExitFailed;
    }
    if (outcome.Failed())
        err << "chmbook-cli: " << Utf8(Text(MessageId::kCliWarning, language, {outcome.Message(language)})) << "\n";
    const std::u16string pages = platform::FromUtf8(PagesText(outcome.pagesWritten, language));
    if (!outcome.StandInNote().empty()) err << "chmbook-cli: " << Utf8(outcome.StandInNote(language)) << "\n";
    out << Utf8(Text(MessageId::kCliDone, language, {pages})) << "\n";
    out << Utf8(frm.txtFile()) << "\n";
    if (outcome.bookNotOpened) err << "chmbook-cli: " << Utf8(BookNotOpenedText(frm.txtFile(), language)) << "\n";
    return kExitProduced;
}

}  // namespace chmbook::cli
