// A stand-in for the help compiler, for the tests of the book build.
//
// Started as `hhc <project>`, it writes `Temp.chm` beside the project: a
// container (made by our compiler's container writer) whose directory lists
// every file of the project's folder, empty, followed by "FAKE-CHM " and the
// project's path. What it does is
// steered by the file
// `hhc-mode.txt` in its own folder (absent: "ok"):
//   ok              write the book, exit 0
//   fail            write errors to stdout and stderr, no book, exit 3
//   silent          write nothing at all, exit 0
//   sleep <ms>      wait that long, then as "ok"
//   crash           write half a book, then die by a signal
// With the word "drop=<name>" after the mode, the directory leaves that file
// out, as a compiler that missed a page would. With the word "snapshot",
// every file of the project's folder is first copied into `seen/` in its own
// folder, so that tests can read the pages the build wrote before it empties
// its work folder. Its arguments go to `hhc-args.txt` in its own folder, one
// a line, after their count, and its process number to `hhc-pid.txt`.
#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "container/itsf_writer.h"

namespace fs = std::filesystem;

namespace {

std::string ReadControl(const fs::path& folder) {
    std::ifstream in(folder / "hhc-mode.txt");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text.empty() ? "ok" : text;
}

void RecordProcess(const fs::path& folder) {
#ifdef _WIN32
    std::ofstream(folder / "hhc-pid.txt") << _getpid();
#else
    std::ofstream(folder / "hhc-pid.txt") << getpid();
#endif
}

void RecordArguments(const fs::path& folder, int argc, char** argv) {
    std::ofstream out(folder / "hhc-args.txt", std::ios::binary);
    out << argc - 1 << '\n';
    for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
}

void Snapshot(const fs::path& projectFolder, const fs::path& folder) {
    const fs::path seen = folder / "seen";
    fs::remove_all(seen);
    fs::create_directories(seen);
    for (const auto& entry : fs::directory_iterator(projectFolder))
        if (entry.is_regular_file()) fs::copy_file(entry.path(), seen / entry.path().filename());
}

void WriteBook(const fs::path& project, bool half, const std::string& dropped) {
    std::ofstream out(project.parent_path() / "Temp.chm", std::ios::binary);
    if (half) {
        out << "FAKE-";
        return;
    }
    std::vector<hhc::container::InternalFile> files;
    for (const auto& entry : fs::directory_iterator(project.parent_path()))
        if (entry.is_regular_file() && entry.path().filename() != "Temp.chm" && entry.path().filename() != dropped)
            files.push_back({"/" + entry.path().filename().string(), ""});
    out << hhc::container::BuildContainer(files, {}) << "FAKE-CHM " << project.string();
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path folder = fs::absolute(fs::path(argv[0])).parent_path();
    RecordArguments(folder, argc, argv);
    RecordProcess(folder);
    std::istringstream control(ReadControl(folder));
    std::string mode, word;
    control >> mode;
    long milliseconds = 0;
    if (mode == "sleep") control >> milliseconds;
    bool snapshot = false;
    std::string dropped;
    while (control >> word) {
        snapshot = snapshot || word == "snapshot";
        if (word.rfind("drop=", 0) == 0) dropped = word.substr(5);
    }

    if (argc != 2) {
        std::cerr << "usage: hhc <project>\n";
        return 2;
    }
    const fs::path project = argv[1];
    if (snapshot) Snapshot(project.parent_path(), folder);
    if (mode == "silent") return 0;
    std::cout << "Compiling " << project.string() << std::endl;
    if (mode == "fail") {
        std::cout << "line one of the report\n";
        std::cerr << "error: the stand-in compiler was told to fail" << std::endl;
        return 3;
    }
    if (mode == "crash") {
        WriteBook(project, true, dropped);
#ifdef _WIN32
        TerminateProcess(GetCurrentProcess(), 0xC0000005);  // ends as an access violation does
#else
        std::raise(SIGKILL);  // no core file
#endif
    }
    if (mode == "sleep") std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    WriteBook(project, false, dropped);
    std::cout << "Compiled " << (project.parent_path() / "Temp.chm").string() << std::endl;
    return 0;
}
