// Child processes on POSIX systems.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <type_traits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

extern char** environ;

namespace chmbook::platform {
namespace {

std::u16string ErrorText(int error) {
    char buffer[256];
    // The GNU strerror_r returns its text; the XSI one fills the buffer.
    auto result = ::strerror_r(error, buffer, sizeof buffer);
    if constexpr (std::is_same_v<decltype(result), char*>) {
        return FromUtf8(result);
    } else {
        return result == 0 ? FromUtf8(buffer) : u"error " + FromUtf8(std::to_string(error));
    }
}

// 0 when `path` is a file that this process may execute, else the reason.
int CheckExecutable(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return errno;
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if (::access(path.c_str(), X_OK) != 0) return errno;
    return 0;
}

// Finds a program named without a folder along PATH, the way a shell would.
std::string SearchPath(const std::string& name) {
    if (name.find('/') != std::string::npos) return name;
    const char* path = ::getenv("PATH");
    const std::string_view folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = folders.find(':', start);
        const std::string_view folder = folders.substr(start, end - start);
        std::string candidate(folder.empty() ? std::string_view(".") : folder);
        candidate += '/';
        candidate += name;
        if (CheckExecutable(candidate) == 0) return candidate;
        if (end == std::string_view::npos) return name;
        start = end + 1;
    }
}

class SpawnActions {
public:
    SpawnActions() { ::posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

}  // namespace

std::optional<ChildProcess> StartProcess(const std::u16string& program,
                                         const std::vector<std::u16string>& arguments,
                                         const std::u16string& outputFile, std::u16string* error) {
    auto fail = [error](int code) -> std::optional<ChildProcess> {
        if (error) *error = ErrorText(code);
        return std::nullopt;
    };
    const std::string path = SearchPath(ToUtf8(program));
    if (const int reason = CheckExecutable(path); reason != 0) return fail(reason);

    std::vector<std::string> args;
    args.reserve(arguments.size() + 1);
    args.push_back(ToUtf8(program));
    for (const auto& argument : arguments) args.push_back(ToUtf8(argument));
    std::vector<char*> argv;
    for (auto& argument : args) argv.push_back(argument.data());
    argv.push_back(nullptr);

    // The output file is opened here, not in the child, so that a failure to
    // open it is reported as a failure to start.
    SpawnActions actions;
    int output = -1;
    if (!outputFile.empty()) {
        output = ::open(ToUtf8(outputFile).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (output < 0) return fail(errno);
        ::posix_spawn_file_actions_adddup2(actions.get(), output, STDOUT_FILENO);
        ::posix_spawn_file_actions_adddup2(actions.get(), output, STDERR_FILENO);
    }
    pid_t pid = 0;
    const int result = ::posix_spawn(&pid, path.c_str(), actions.get(), nullptr, argv.data(), environ);
    if (output >= 0) ::close(output);
    if (result != 0) return fail(result);
    return ChildProcess{static_cast<std::intptr_t>(pid)};
}

int WaitForExit(ChildProcess& child) {
    if (child.handle <= 0) return -1;
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(static_cast<pid_t>(child.handle), &status, 0);
    } while (waited < 0 && errno == EINTR);
    child.handle = 0;  // reaped (or not ours): nothing left to release
    if (waited < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// A child that was waited for is already gone. One that was not is reaped here
// if it has ended; one still running is left to run.
void ReleaseProcess(ChildProcess& child) {
    if (child.handle > 0) {
        int status = 0;
        ::waitpid(static_cast<pid_t>(child.handle), &status, WNOHANG);
    }
    child.handle = 0;
}

}  // namespace chmbook::platform
