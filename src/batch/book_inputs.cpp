#include "batch/book_inputs.h"

#include <map>
#include <mutex>

#include "batch/messages.h"
#include "common/mod_public.h"
#include "platform/platform.h"

namespace chmbook {

std::u16string StatementText() {
    return u"本文件部分文章来源于网络，文章版权归原作者所有，如果本站转载的文章侵犯了您的权益请及时联系我们，"
           u"我们将尽快妥善处理。本站除部分特别声明禁止转载的专稿外，其他文章可以自由转载，但请务必注明原出处和作者。"
           u"\r\n";
}

std::u16string StatementTextInFourLines() {
    return u"本文件部分文章来源于网络，文章版权归原作者所有，如果本\r\n"
           u"站转载的文章侵犯了您的权益请及时联系我们，我们将尽快妥\r\n"
           u"善处理。本站除部分特别声明禁止转载的专稿外，其他文章可\r\n"
           u"以自由转载，但请务必注明原出处和作者。\r\n";
}

std::u16string NoticeText() {
    return u"更多原创资源以及原创软件请访问："
           u"<a href='http://www.example.com/' target='_blank'>http://www.example.com/</a>"
           u"\r\n";
}

namespace {

// Whether the program's folder takes new files, found once per folder: the
// probe writes a file, and the answer must not change in the middle of a build.
bool ProgramFolderIsReadOnly(const std::u16string& appPath) {
    static std::mutex mutex;
    static std::map<std::u16string, bool> readOnly;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto known = readOnly.find(appPath);
    if (known != readOnly.end()) return known->second;
    const bool answer =
        platform::LookUp(appPath) == platform::EntryKind::kFolder && !platform::IsWritableFolder(appPath);
    readOnly.emplace(appPath, answer);
    return answer;
}

// The folder that holds both: the program's own, or the user's "chmbook".
std::u16string BookFoldersBase(const std::u16string& appPath) {
    if (appPath.empty() || !ProgramFolderIsReadOnly(appPath)) return appPath;
    const std::u16string data = platform::UserDataFolder();
    return data.empty() ? appPath : FixPath(data) + u"chmbook";
}

}  // namespace

// FixPath keeps a root such as "/" or "C:\" from getting a doubled separator.
BookFolders BookFoldersFor(const std::u16string& appPath) {
    const std::u16string base = BookFoldersBase(appPath);
    return BookFolders{base, FixPath(base) + u"Temp", FixPath(base) + u"Release"};
}

std::u16string OutputFolder(const std::u16string& appPath) { return BookFoldersFor(appPath).output; }

std::u16string DefaultOutputPath(const std::u16string& appPath) {
    return OutputPathForTitle(appPath, u"test");
}

std::u16string OutputPathForTitle(const std::u16string& appPath, const std::u16string& title) {
    return FixPath(OutputFolder(appPath)) + title + u".chm";
}

bool EnsureOutputFolder(const std::u16string& appPath) {
    const std::u16string folder = OutputFolder(appPath);
    if (platform::LookUp(folder) == platform::EntryKind::kNone) platform::CreateFolders(folder);
    return platform::LookUp(folder) == platform::EntryKind::kFolder;
}

std::u16string BookNotOpenedCaption(Language language) { return Text(MessageId::kNoteBookNotOpenedCaption, language); }

std::u16string BookNotOpenedText(const std::u16string& bookPath, Language language) {
    return Text(MessageId::kNoteBookNotOpened, language, {bookPath});
}

std::vector<std::u16string> ListSourceFiles(std::u16string folder) {
    folder = FixPath(std::move(folder));
    std::vector<std::u16string> entries;
    for (const std::u16string& name : platform::FindFiles(folder, u"*.txt")) entries.push_back(folder + name);
    return entries;
}

}  // namespace chmbook
