// Child processes on POSIX systems.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
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

// The child being waited for, for the termination handler below.
volatile sig_atomic_t g_runningChild = 0;

// A child never outlives the build that started it. SIGTERM, SIGINT or SIGHUP
// to this process first ends the running child, then this process as the
// signal would have. (SIGKILL cannot be caught: on Linux the child asks the
// kernel for its own death when its parent dies, in Spawn.)
void EndChildThenDie(int signal) {
    const pid_t child = static_cast<pid_t>(g_runningChild);
    if (child > 0) ::kill(child, SIGKILL);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void EndChildrenWithThisProcess() {
    static const bool installed = [] {
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
            struct sigaction current {};
            // A signal that someone ignores or handles keeps its handling.
            if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
            struct sigaction action {};
            action.sa_handler = EndChildThenDie;
            ::sigemptyset(&action.sa_mask);
            ::sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

// Forks and executes `path`; the child's pid, or minus the reason it could not
// be started (the child reports a failed exec through a pipe closed on exec).
pid_t Spawn(const std::string& path, char* const* argv, int output) {
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return -errno;
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls from here to exec.
#ifdef __linux__
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127);  // the parent died before the request took effect
#endif
        ::close(report[0]);
        if (output >= 0 && (::dup2(output, STDOUT_FILENO) < 0 || ::dup2(output, STDERR_FILENO) < 0)) {
            const int reason = errno;
            (void)!::write(report[1], &reason, sizeof reason);
            ::_exit(127);
        }
        ::execve(path.c_str(), argv, environ);
        const int reason = errno;
        (void)!::write(report[1], &reason, sizeof reason);
        ::_exit(127);
    }
    const int forkError = errno;
    ::close(report[1]);
    if (pid < 0) {
        ::close(report[0]);
        return -forkError;
    }
    int reason = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &reason, sizeof reason);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof reason)) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return -reason;
    }
    return pid;
}

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
    int output = -1;
    if (!outputFile.empty()) {
        output = ::open(ToUtf8(outputFile).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (output < 0) return fail(errno);
    }
    EndChildrenWithThisProcess();
    const pid_t pid = Spawn(path, argv.data(), output);
    const int reason = pid < 0 ? static_cast<int>(-pid) : 0;
    if (output >= 0) ::close(output);
    if (reason != 0) return fail(reason);
    g_runningChild = pid;
    return ChildProcess{static_cast<std::intptr_t>(pid)};
}

int WaitForExit(ChildProcess& child) {
    if (child.handle <= 0) return -1;
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(static_cast<pid_t>(child.handle), &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (g_runningChild == static_cast<pid_t>(child.handle)) g_runningChild = 0;
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
        if (g_runningChild == static_cast<pid_t>(child.handle)) g_runningChild = 0;
    }
    child.handle = 0;
}

}  // namespace chmbook::platform
