// Fuzz target for everything that reads untrusted text: the .hhp reader and
// its window definitions, the link and title scanner, link resolution, and the
// system files built from what they return. Arbitrary bytes must neither crash
// nor hang any of them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "book/string_pool.h"
#include "book/system_file.h"
#include "book/topic_tables.h"
#include "book/windows_file.h"
#include "fts/code_page.h"
#include "fts/page_title.h"
#include "project/code_page.h"
#include "project/help_project.h"
#include "project/html_scanner.h"
#include "project/link_resolver.h"

namespace {

void ReadAsProject(std::string_view text) {
    using namespace hhc;
    const project::HelpProject project = project::ReadHelpProject(text);
    const std::uint32_t codePage = project::CodePageForLcid(project.lcid);
    book::StringPool strings(codePage);
    book::BuildWindowsFile(project.windows, {project.compatibility10, project.fullTextSearch}, strings);
    for (const std::string& file : project.files) project::NormalizeProjectPath(file, codePage);
    book::SystemSettings settings;
    settings.lcid = project.lcid;
    settings.title = project.title;
    settings.defaultFont = project.defaultFont;
    settings.defaultWindow = project.defaultWindow;
    settings.defaultTopic = project.defaultTopic;
    book::BuildSystemFile(settings);
    if (!project.windows.empty()) project.FindDefaultWindow();
}

void ReadAsPage(std::string_view text) {
    using namespace hhc;
    book::StringPool strings(936);
    std::vector<book::Topic> topics;
    for (const std::string& link : project::FindPageLinks(text)) {
        for (std::uint32_t codePage : {936u, 1252u}) {
            const project::ResolvedLink resolved = project::ResolveLink("sub/page.htm", link, codePage);
            if (resolved.kind == project::LinkKind::kLocal) {
                project::AnsiToUtf8(resolved.path, codePage);
                topics.push_back({std::string(project::TruncateText(resolved.path, 100, codePage)), resolved.path});
            }
        }
    }
    for (const std::string& link : project::FindStylesheetLinks(text)) project::ResolveLink("a.css", link, 936);
    for (std::uint32_t codePage : {936u, 1252u}) {
        fts::CodePage book(codePage);
        topics.push_back({fts::BookTitle(text, book), "page.htm"});
    }
    book::BuildTopicTables(topics, strings);
    project::FindSiteProperties(text);
    project::ParseWindowDefinition("w", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ReadAsProject(text);
    ReadAsPage(text);
    return 0;
}
