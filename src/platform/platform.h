#pragma once
// The layer that stands in for the Windows interfaces the program relies on.
// Everything above it is portable; only the two implementations of this
// header (posix/ and win32/) talk to the operating system.
//
// Paths are UTF-16 like all text in memory; each implementation converts them
// to the form its file system uses (UTF-8 on POSIX, wide names on Windows).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chmbook::platform {

#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// ---- Text ---------------------------------------------------------------

// Decodes bytes in the ANSI code page (code page 936, on every system: the
// pages declare gb2312 whatever the system's own ANSI code page) into UTF-16.
std::u16string AnsiToUnicode(std::string_view bytes);
// Encodes UTF-16 into the ANSI code page.
std::string UnicodeToAnsi(std::u16string_view text);

// UTF-8 <-> UTF-16, for the console, command-line arguments and file names.
// A byte that is not part of valid UTF-8 (a file name written in another
// encoding, say) becomes the lone surrogate U+DC00 + byte, and ToUtf8 turns
// that back into the byte, so every file name survives the round trip.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view bytes);
// True when every byte belongs to a well-formed UTF-8 sequence (no overlong
// forms, no surrogates, nothing above U+10FFFF, no sequence cut off at the end).
bool IsValidUtf8(std::string_view bytes);

// ---- Console ------------------------------------------------------------

enum class StandardStream { kOutput, kError };

// Writes UTF-8 text to standard output or error so that the user sees it as
// written: on a Windows console as wide characters, redirected there in the
// console's code page (UTF-8 without a console); as the bytes given elsewhere.
void WriteStandardText(StandardStream stream, std::string_view utf8);

// The name of the locale whose language the user reads ("zh_CN.UTF-8",
// "zh-CN", "en_US"): on POSIX systems the first of LC_ALL, LC_MESSAGES and
// LANG that is set, on Windows the user's display language. Empty when none.
std::string UserLocaleName();

// ---- The program --------------------------------------------------------

// The folder that holds the running executable, without a trailing separator
// except at the root of a file system.
std::u16string ProgramFolder();

// The folder where programs keep the current user's own data: $XDG_DATA_HOME
// (when set to an absolute path) or ~/.local/share on POSIX, the local
// application data folder on Windows. Empty when the system reports none.
std::u16string UserDataFolder();

// ---- File system --------------------------------------------------------

enum class EntryKind { kNone, kFile, kFolder };

// What stands at `path`: nothing, a file (of any kind but a folder) or a folder.
EntryKind LookUp(const std::u16string& path);
// True for an ordinary file: not a folder, not hidden, not a system file.
bool IsOrdinaryFile(const std::u16string& path);
// Creates one folder level. False when it could not be created.
bool CreateFolder(const std::u16string& path);
// Creates the folder and any missing folders above it. True when the folder
// exists afterwards.
bool CreateFolders(const std::u16string& path);
// True when a new file can be created in the folder right now. Found out by
// creating (and deleting at once) a file there, so that read-only file
// systems, access lists and the administrator's rights all count. A folder on
// a full disk counts as writable: the build then says that the disk is full.
bool IsWritableFolder(const std::u16string& path);
// Reads the whole file in one read into `bytes` (exact size). False on any
// failure, with `bytes` left empty.
bool ReadWholeFile(const std::u16string& path, std::string& bytes);
// Creates or replaces the file and writes `bytes` in one piece.
bool WriteWholeFile(const std::u16string& path, std::string_view bytes);
bool DeleteOneFile(const std::u16string& path);
// Deletes every file directly inside `folder` (subfolders stay). Returns the
// number of files that could not be deleted.
std::size_t DeleteFilesIn(const std::u16string& folder);
// Copies `from` to `to`, replacing a file there.
bool CopyFileReplacing(const std::u16string& from, const std::u16string& to);

// Why the last of CreateFolder, WriteWholeFile and CopyFileReplacing that
// failed on this thread failed: the system's words, and whether the disk (or
// the user's quota on it) was full.
struct FileFailure {
    bool diskFull = false;
    std::u16string text;
};
FileFailure LastFileFailure();
// The names (not paths) of the ordinary files directly in `folder` whose
// names match `pattern` ("*.txt"-style: '*' and '?' wildcards, without
// regard to case). Folders, hidden and system files are left out. The order
// is the one NTFS gives: ordinal comparison of the upper-cased names.
std::vector<std::u16string> FindFiles(const std::u16string& folder, std::u16string_view pattern);

// ---- Locks ----------------------------------------------------------------

// An exclusive lock on a file, held by this process until UnlockFile or until
// the process ends in any way (the system drops it then, so a build that was
// killed never leaves a lock behind).
struct FileLock {
    std::intptr_t handle = -1;  // descriptor on POSIX, HANDLE on Windows; -1: none
};

enum class LockResult {
    kLocked,    // the lock is now held
    kBusy,      // another holder has it (only without waiting)
    kFailed,    // the lock file could not be opened or locked; reason in `error`
};

// Opens (creating when missing) the file `path` and locks it exclusively.
// With `wait`, waits without time limit for another holder to let go.
// The lock is not handed on to child processes.
LockResult LockFile(const std::u16string& path, bool wait, FileLock& lock, std::u16string* error);
// Lets go of the lock and closes the file; the file itself stays. Safe to call twice.
void UnlockFile(FileLock& lock);

// ---- Processes ----------------------------------------------------------

struct ChildProcess {
    std::intptr_t handle = 0;  // pid on POSIX, process HANDLE on Windows
};

// Starts `program` with `arguments` kept apart from each other (never joined
// into one unquoted command line). With a non-empty `outputFile`, the child's
// standard output and error go to that file. On failure returns nothing and
// puts the system's reason into `error`.
std::optional<ChildProcess> StartProcess(const std::u16string& program,
                                         const std::vector<std::u16string>& arguments,
                                         const std::u16string& outputFile,
                                         std::u16string* error);
// Waits without time limit for the child to end; returns its exit code, or
// -1 when it did not end normally (killed by a signal, or could not be waited for).
int WaitForExit(ChildProcess& child);
// Releases what StartProcess holds for the child. Safe to call twice.
void ReleaseProcess(ChildProcess& child);

// ---- Desktop ------------------------------------------------------------

// Opens the document with the desktop's default application, detached. False
// when the desktop has no application for the document's type, or the opening
// failed at once; true when it was handed over (an application that fails
// later, on its own, is not seen).
bool OpenDocument(const std::u16string& path);

}  // namespace chmbook::platform
