// chmbook_bench_build [count=1000] [bytes=20000]
// Times the book build's own work on a generated corpus: the list page and
// the content pages, rendered and written into the work folder. The compiler
// is left out: the scratch program folder has none, so the build stops after
// writing the project files, and the time is taken up to that point.
// Creating a thousand new files costs much more on some disks than the
// rendering does: set TMPDIR to a memory file system to see the build's own
// share, and compare the processor time with the wall time.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "batch/book_inputs.h"
#include "batch/make_chm.h"
#include "common/memory_window_state.h"
#include "test_data.h"
#include "platform/platform.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

struct Timing {
    double listPage = 0, contentPages = 0, total = 0;  // seconds of wall time
    double processor = 0;                              // seconds of this process's processor time
};

Timing TimeOneBuild(chmbook::MemoryWindowState& frm) {
    Timing timing;
    const Clock::time_point start = Clock::now();
    const std::clock_t processorStart = std::clock();
    std::clock_t processorEnd = processorStart;
    Clock::time_point listStart = start, contentStart = start, projectStart = start;
    chmbook::BuildOptions options;
    options.openBook = false;
    options.language = chmbook::Language::kEnglish;  // the stages below are matched by their English text
    options.progress = [&](std::u16string_view stage, std::size_t) {
        if (stage == u"Writing the list page") listStart = Clock::now();
        if (stage == u"Writing the content pages" && contentStart == start) contentStart = Clock::now();
        if (stage == u"Writing the project files") {
            projectStart = Clock::now();
            processorEnd = std::clock();
        }
    };
    const chmbook::BuildOutcome outcome = chmbook::MakeChm(frm, options);
    if (outcome.pagesWritten != frm.list1.size() + 1) {
        std::cerr << "chmbook_bench_build: only " << outcome.pagesWritten << " pages written: "
                  << chmbook::platform::ToUtf8(outcome.Message()) << "\n";
        std::exit(1);
    }
    timing.listPage = std::chrono::duration<double>(contentStart - listStart).count();
    timing.contentPages = std::chrono::duration<double>(projectStart - contentStart).count();
    timing.total = std::chrono::duration<double>(projectStart - start).count();
    timing.processor = static_cast<double>(processorEnd - processorStart) / CLOCKS_PER_SEC;
    return timing;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace chmbook;
    const std::size_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000;
    const std::size_t bytes = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20000;
    if (count == 0 || bytes < 2) {
        std::cerr << "Usage: chmbook_bench_build [count=1000] [bytes=20000]\n";
        return 2;
    }

    const fs::path root = fs::temp_directory_path() / ("chmbook bench build " + std::to_string(count));
    fs::remove_all(root);
    fs::create_directories(root / "app");
    fs::create_directories(root / "sources");
    for (std::size_t i = 0; i < count; ++i)
        platform::WriteWholeFile((root / "sources" / test_data::CorpusFileName(i, count)).u16string(),
                                 test_data::CorpusText(i, bytes));

    MemoryWindowState frm;
    frm.appPath = (root / "app").u16string();
    frm.ad = NoticeText();
    frm.titleDemo = StatementText();
    frm.footDemo = StatementTextInFourLines();
    frm.paperFoot = StatementText();
    frm.titleName = u"Benchmark";
    EnsureOutputFolder(frm.appPath);
    frm.file = OutputPathForTitle(frm.appPath, frm.titleName);
    frm.text1 = (root / "sources").u16string();
    frm.list1 = ListSourceFiles(frm.text1);

    constexpr int kRuns = 5;
    Timing best{1e9, 1e9, 1e9, 1e9};
    for (int run = 0; run < kRuns; ++run) {
        const Timing timing = TimeOneBuild(frm);
        best.listPage = std::min(best.listPage, timing.listPage);
        best.contentPages = std::min(best.contentPages, timing.contentPages);
        best.total = std::min(best.total, timing.total);
        best.processor = std::min(best.processor, timing.processor);
    }
    std::cout << "Pages of " << count << " files of " << bytes << " bytes (best of " << kRuns << "):\n"
              << "  list page      " << best.listPage * 1000 << " ms\n"
              << "  content pages  " << best.contentPages * 1000 << " ms\n"
              << "  total          " << best.total * 1000 << " ms (target: under 500 ms for 1000 x 20000)\n"
              << "  processor time " << best.processor * 1000 << " ms\n"
              << "The scratch folder lies in the system's temporary folder (TMPDIR).\n";
    fs::remove_all(root);
    return 0;
}
