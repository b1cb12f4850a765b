// A stand-in for the help compiler, for the tests of the book build.
//
// Started as `hhc <project>`, it writes `Temp.chm` beside the project: a
// container whose directory lists every file of the project's folder (with no
// content), followed by "FAKE-CHM " and the project's path. What it does is
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
// its work folder. Its arguments go
// to `hhc-args.txt` in its own folder, one a line, after their count, and its
// process number to `hhc-pid.txt`.
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

void PutLe(std::string& out, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutEncInt(std::string& out, std::uint64_t value) {
    std::string groups(1, static_cast<char>(value & 0x7F));
    while (value >>= 7) groups.insert(groups.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    out += groups;
}

// Listing chunks of 4096 bytes holding "/<name>" entries of length 0, then
// the headers that lead to them; enough for a reader of the directory.
std::string Container(const std::vector<std::string>& names, const std::string& tail) {
    constexpr std::size_t kChunk = 4096;
    std::vector<std::string> chunks;
    std::string entries;
    std::size_t count = 0;
    auto close = [&] {
        std::string chunk = "PMGL";
        PutLe(chunk, kChunk - 0x14 - entries.size(), 4);
        PutLe(chunk, 0, 4);
        PutLe(chunk, chunks.empty() ? 0xFFFFFFFFu : chunks.size() - 1, 4);
        PutLe(chunk, 0xFFFFFFFFu, 4);  // next: patched below
        chunk += entries;
        chunk.resize(kChunk - 2, '\0');
        PutLe(chunk, count, 2);
        chunks.push_back(chunk);
        entries.clear();
        count = 0;
    };
    for (const std::string& name : names) {
        std::string entry;
        PutEncInt(entry, name.size() + 1);
        entry += "/" + name;
        PutEncInt(entry, 0);
        PutEncInt(entry, 0);
        PutEncInt(entry, 0);
        if (0x14 + entries.size() + entry.size() + 2 > kChunk) close();
        entries += entry;
        ++count;
    }
    close();
    for (std::size_t k = 0; k + 1 < chunks.size(); ++k) {
        std::string next;
        PutLe(next, k + 1, 4);
        chunks[k].replace(0x10, 4, next);
    }
    const std::uint64_t directoryLength = 0x54 + chunks.size() * kChunk;
    std::string out = "ITSF";
    PutLe(out, 3, 4);
    PutLe(out, 0x60, 4);
    PutLe(out, 1, 4);
    PutLe(out, 0, 8);
    out.append(32, '\0');  // the two GUIDs
    PutLe(out, 0x60, 8);
    PutLe(out, 0x18, 8);
    PutLe(out, 0x78, 8);
    PutLe(out, directoryLength, 8);
    PutLe(out, 0x78 + directoryLength, 8);
    PutLe(out, 0x1FE, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0x78 + directoryLength + tail.size(), 8);
    PutLe(out, 0, 8);
    out += "ITSP";
    for (std::uint64_t field : {1u, 0x54u, 0x0Au, 4096u, 2u, 1u, 0xFFFFFFFFu, 0u}) PutLe(out, field, 4);
    PutLe(out, chunks.size() - 1, 4);
    PutLe(out, 0xFFFFFFFFu, 4);
    PutLe(out, chunks.size(), 4);
    PutLe(out, 0x0409, 4);
    out.append(16, '\0');
    PutLe(out, 0x54, 4);
    for (int i = 0; i < 3; ++i) PutLe(out, 0xFFFFFFFFu, 4);
    for (const std::string& chunk : chunks) out += chunk;
    return out + tail;
}

void WriteBook(const fs::path& project, bool half, const std::string& dropped) {
    std::ofstream out(project.parent_path() / "Temp.chm", std::ios::binary);
    if (half) {
        out << "FAKE-";
        return;
    }
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(project.parent_path()))
        if (entry.is_regular_file() && entry.path().filename() != "Temp.chm" && entry.path().filename() != dropped)
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    out << Container(names, "FAKE-CHM " + project.string());
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
