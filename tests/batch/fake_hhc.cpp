// A stand-in for the help compiler, for the tests of the book build.
//
// Started as `hhc <project>`, it first copies the project's folder into
// `seen/` in its own folder (the pages as the build wrote them, before it
// empties its work folder), then writes `Temp.chm` beside the project: a
// container (made by our compiler's container writer) whose directory lists
// every file of the project's folder, empty, followed by "FAKE-CHM " and the
// project's path. The file `hhc-mode.txt` in its own folder steers it
// (absent: "ok"):
//   ok              write the book, exit 0
//   fail            no book, exit 3
//   sleep           wait 20 seconds, then as "ok"
//   crash           write half a book, then die by a signal
// With "drop=<name>" after the mode the directory leaves that file out, as a
// compiler that missed a page would. Its process number goes to
// `hhc-pid.txt` in its own folder.
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include "container/itsf_writer.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    const fs::path folder = fs::absolute(fs::path(argv[0])).parent_path();
    std::ofstream(folder / "hhc-pid.txt") << getpid();
    std::ifstream control(folder / "hhc-mode.txt");
    std::string mode = "ok", dropped;
    control >> mode;
    if (control >> dropped && dropped.rfind("drop=", 0) == 0) dropped.erase(0, 5);
    if (argc != 2) return 2;
    const fs::path project = argv[1], projectFolder = project.parent_path();
    fs::remove_all(folder / "seen");
    fs::create_directories(folder / "seen");
    std::vector<hhc::container::InternalFile> files;
    for (const auto& entry : fs::directory_iterator(projectFolder)) {
        if (!entry.is_regular_file()) continue;
        fs::copy_file(entry.path(), folder / "seen" / entry.path().filename());
        if (entry.path().filename() != dropped) files.push_back({"/" + entry.path().filename().string(), ""});
    }
    if (mode == "fail") return 3;
    if (mode == "sleep") std::this_thread::sleep_for(std::chrono::seconds(20));
    std::ofstream book(projectFolder / "Temp.chm", std::ios::binary);
    if (mode == "crash") {
        book << "FAKE-" << std::flush;
#ifdef _WIN32
        TerminateProcess(GetCurrentProcess(), 0xC0000005);  // ends as an access violation does
#else
        std::raise(SIGKILL);  // no core file
#endif
    }
    book << hhc::container::BuildContainer(files, {}) << "FAKE-CHM " << project.string();
    return 0;
}
