// Opening a document with the desktop's default application on POSIX systems.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/platform.h"

extern char** environ;

namespace chmbook::platform {
namespace {

// Run by /bin/sh with the document as $1. Exits with 3 when the desktop names
// no application for the document's type (xdg-open would then fall back to a
// web browser or do nothing at all); otherwise starts xdg-open in the
// background and gives it two seconds: its exit status when it ends by then,
// else 0, since xdg-open waits for the application on plain desktops. An
// xdg-open still running then lives on by itself.
constexpr char kOpenScript[] = R"sh(
command -v xdg-open >/dev/null 2>&1 || exit 3
if command -v xdg-mime >/dev/null 2>&1; then
  type=$(xdg-mime query filetype "$1" 2>/dev/null)
  type=${type%%;*}
  if [ -n "$type" ] && [ -z "$(xdg-mime query default "$type" 2>/dev/null)" ]; then exit 3; fi
fi
xdg-open "$1" </dev/null >/dev/null 2>&1 &
pid=$!
tries=0
while kill -0 "$pid" 2>/dev/null; do
  tries=$((tries + 1))
  [ "$tries" -gt 20 ] && exit 0
  sleep 0.1
done
wait "$pid"
)sh";

}  // namespace

// The shell runs in a session of its own, with no terminal and its output
// discarded, so that the application it starts is not tied to ours.
bool OpenDocument(const std::u16string& path) {
    std::string shell = "/bin/sh";
    std::string dashC = "-c";
    std::string script = kOpenScript;
    std::string name = "chmbook-open";
    std::string native = ToUtf8(path);
    char* argv[] = {shell.data(), dashC.data(), script.data(), name.data(), native.data(), nullptr};

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
#ifdef POSIX_SPAWN_SETSID
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
#endif
    pid_t pid = 0;
    const bool started = ::posix_spawn(&pid, shell.c_str(), &actions, &attributes, argv, environ) == 0;
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&actions);
    if (!started) return false;
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    return waited == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace chmbook::platform
