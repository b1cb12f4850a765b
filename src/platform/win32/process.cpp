// Child processes and the desktop on Windows.
#include <windows.h>
#include <shellapi.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_text.h"

namespace chmbook::platform {
namespace {

using win32::ErrorText;
using win32::Handle;
using win32::Wide;

// Appends one argument so that the child's command-line parser
// (CommandLineToArgvW and the C runtime) gives it back unchanged.
void AppendQuoted(std::wstring& line, const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            line.append(backslashes * 2 + 1, L'\\');
        } else {
            line.append(backslashes, L'\\');
        }
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

// Every child goes into one job that closes with this process and takes its
// children with it: a build that is killed does not leave its compiler
// running. The job's handle is held until the process ends.
HANDLE ChildrenJob() {
    static const HANDLE job = [] {
        const HANDLE created = CreateJobObjectW(nullptr, nullptr);
        if (!created) return HANDLE{nullptr};
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return created;
    }();
    return job;
}

// The child's inheritable handles: only those named here reach it, not every
// inheritable handle this process happens to hold.
class InheritedHandles {
public:
    ~InheritedHandles() {
        if (list_) DeleteProcThreadAttributeList(list_);
    }
    bool Set(std::vector<HANDLE> handles) {
        handles_ = std::move(handles);
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        if (!InitializeProcThreadAttributeList(list_, 1, 0, &size)) {
            list_ = nullptr;
            return false;
        }
        return UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                         handles_.size() * sizeof(HANDLE), nullptr, nullptr) != 0;
    }
    LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

private:
    std::vector<HANDLE> handles_;
    std::vector<char> storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// The output files of running children, by process handle. A process counts
// as ended once its copy of the file's handle is closed too: Wine signals the
// end before that, and until then the work folder cannot really be emptied
// (a deleted file stays until its last handle goes, and its name stays taken).
std::mutex outputFilesMutex;
std::map<HANDLE, std::wstring> outputFiles;

void RememberOutputFile(HANDLE process, std::wstring path) {
    const std::lock_guard lock(outputFilesMutex);
    outputFiles[process] = std::move(path);
}

std::wstring ForgetOutputFile(HANDLE process) {
    const std::lock_guard lock(outputFilesMutex);
    const auto found = outputFiles.find(process);
    if (found == outputFiles.end()) return std::wstring();
    std::wstring path = std::move(found->second);
    outputFiles.erase(found);
    return path;
}

// Waits (a few seconds at most: a grandchild may hold the file) until no
// handle to the file is open any more, which an open that shares nothing
// shows.
void WaitUntilClosed(const std::wstring& path) {
    for (int waited = 0; waited < 5000; waited += 2) {
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION) return;
        Sleep(2);
    }
}

// Exit codes from 0xC0000000 up are NTSTATUS errors: the process crashed
// (access violation, stack overflow, ...) or was ended that way.
bool EndedByError(DWORD code) { return code >= 0xC0000000u; }

}  // namespace

std::optional<ChildProcess> StartProcess(const std::u16string& program,
                                         const std::vector<std::u16string>& arguments,
                                         const std::u16string& outputFile, std::u16string* error) {
    auto fail = [error](DWORD code) -> std::optional<ChildProcess> {
        if (error) *error = ErrorText(code);
        return std::nullopt;
    };
    const std::wstring application = Wide(program);
    std::wstring line = L"\"" + application + L"\"";
    for (const auto& argument : arguments) {
        line += L' ';
        AppendQuoted(line, Wide(argument));
    }

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    DWORD flags = CREATE_NO_WINDOW | CREATE_SUSPENDED;
    Handle output, input;
    InheritedHandles inherited;
    if (!outputFile.empty()) {
        // Shared for deletion, so that the work folder can be emptied at once
        // even while the ended child's copy of the handle is still being
        // closed (Wine reports the end before that).
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        output.Reset(CreateFileW(Wide(outputFile).c_str(), GENERIC_WRITE, kShareAll, &inherit, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!output.ok()) return fail(GetLastError());
        // The compiler reads nothing: its input is the null device.
        input.Reset(CreateFileW(L"NUL", GENERIC_READ, kShareAll, &inherit, OPEN_EXISTING, 0, nullptr));
        if (!input.ok()) return fail(GetLastError());
        startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = input.get();
        startup.StartupInfo.hStdOutput = output.get();
        startup.StartupInfo.hStdError = output.get();
        if (!inherited.Set({output.get(), input.get()})) return fail(GetLastError());
        startup.lpAttributeList = inherited.get();
        flags |= EXTENDED_STARTUPINFO_PRESENT;
    }
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, output.ok(), flags, nullptr, nullptr,
                        &startup.StartupInfo, &info))
        return fail(GetLastError());
    // Without a job (this process may sit in one that forbids another) the
    // child still runs; it just does not end with this process.
    if (const HANDLE job = ChildrenJob()) AssignProcessToJobObject(job, info.hProcess);
    if (output.ok()) RememberOutputFile(info.hProcess, Wide(outputFile));
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    return ChildProcess{reinterpret_cast<std::intptr_t>(info.hProcess)};
}

int WaitForExit(ChildProcess& child) {
    const auto process = reinterpret_cast<HANDLE>(child.handle);
    if (!process || WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0) return -1;
    if (const std::wstring output = ForgetOutputFile(process); !output.empty()) WaitUntilClosed(output);
    DWORD code = 0;
    if (!GetExitCodeProcess(process, &code) || EndedByError(code)) return -1;
    return static_cast<int>(code);
}

void ReleaseProcess(ChildProcess& child) {
    if (child.handle) {
        ForgetOutputFile(reinterpret_cast<HANDLE>(child.handle));
        CloseHandle(reinterpret_cast<HANDLE>(child.handle));
    }
    child.handle = 0;
}

void OpenDocument(const std::u16string& path) {
    ShellExecuteW(nullptr, L"open", Wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace chmbook::platform
