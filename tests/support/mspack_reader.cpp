// libmspack as a CHM reader: the full open lists and extracts every file; the
// fast open looks names up through the index chunks and the quick-reference
// words, a path the full open never takes.
#include "test_support/chm_readers.h"

#ifdef TEST_SUPPORT_HAVE_MSPACK

#include <mspack.h>

#include <cstdint>

namespace test_support {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxReported = 30;

struct Location {
    unsigned section;
    std::int64_t offset;
    std::int64_t length;
};
using Listing = std::map<std::string, Location>;

void Report(Problems& problems, std::string problem) {
    if (problems.size() < kMaxReported) problems.push_back(std::move(problem));
    else if (problems.size() == kMaxReported) problems.push_back("... more problems left out");
}

std::string AsciiUpper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool IsFolderEntry(const mschmd_file& f) {
    const std::string_view name = f.filename;
    return f.length == 0 && !name.empty() && name.back() == '/';
}

void ExtractListed(mschm_decompressor* chmd, mschmd_header* chm, const fs::path& target, BookFiles& files,
                   Listing& listed, Problems& problems) {
    for (mschmd_file* f = chm->files; f; f = f->next) {
        if (IsFolderEntry(*f)) continue;
        const std::string name = f->filename;
        listed[name] = {f->section->id, f->offset, f->length};
        if (const int err = chmd->extract(chmd, f, target.c_str()); err != MSPACK_ERR_OK) {
            Report(problems, "libmspack cannot extract \"" + name + "\" (error " + std::to_string(err) + ")");
            continue;
        }
        files[name] = ReadBytes(target);
    }
}

bool SameEntry(const mschmd_file& found, const Location& where) {
    return found.section->id == where.section && found.offset == where.offset && found.length == where.length;
}

void CheckFastFind(mschm_decompressor* chmd, const fs::path& book, const Listing& listed, Problems& problems) {
    mschmd_header* fast = chmd->fast_open(chmd, book.c_str());
    if (!fast) {
        Report(problems, "libmspack fast_open fails (error " + std::to_string(chmd->last_error(chmd)) + ")");
        return;
    }
    // Lookups ignore case: an upper-cased name may also find a file whose
    // name differs from it in case alone.
    std::multimap<std::string, Location> byUpperName;
    for (const auto& [name, where] : listed) byUpperName.emplace(AsciiUpper(name), where);
    for (const auto& [name, where] : listed) {
        for (const std::string& lookup : {name, AsciiUpper(name)}) {
            mschmd_file found{};
            if (chmd->fast_find(chmd, fast, lookup.c_str(), &found, sizeof found) != MSPACK_ERR_OK ||
                !found.section) {
                Report(problems, "libmspack fast_find misses \"" + lookup + "\"");
                continue;
            }
            bool same = SameEntry(found, where);
            if (lookup != name) {
                const auto [first, last] = byUpperName.equal_range(lookup);
                for (auto it = first; it != last && !same; ++it) same = SameEntry(found, it->second);
            }
            if (!same)
                Report(problems, "libmspack fast_find of \"" + lookup + "\" gives another entry than the listing");
        }
        mschmd_file absent{};
        const std::string missing = name + "~absent";
        if (!listed.count(missing) &&
            chmd->fast_find(chmd, fast, missing.c_str(), &absent, sizeof absent) == MSPACK_ERR_OK && absent.section)
            Report(problems, "libmspack fast_find finds absent \"" + missing + "\"");
    }
    chmd->close(chmd, fast);
}

}  // namespace

std::optional<BookFiles> ExtractWithMspack(const fs::path& book, const fs::path& scratch, std::string* problem) {
    mschm_decompressor* chmd = mspack_create_chm_decompressor(nullptr);
    if (!chmd) {
        *problem = "libmspack: cannot create a CHM decompressor";
        return std::nullopt;
    }
    mschmd_header* chm = chmd->open(chmd, book.c_str());
    if (!chm) {
        *problem = "libmspack cannot open the book (error " + std::to_string(chmd->last_error(chmd)) + ")";
        mspack_destroy_chm_decompressor(chmd);
        return std::nullopt;
    }
    BookFiles files;
    Listing listed;
    Problems problems;
    const fs::path target = scratch / "mspack-extracted";
    ExtractListed(chmd, chm, target, files, listed, problems);
    chmd->close(chmd, chm);
    CheckFastFind(chmd, book, listed, problems);
    mspack_destroy_chm_decompressor(chmd);
    std::error_code ignored;
    fs::remove(target, ignored);
    if (!problems.empty()) {
        *problem = Joined(problems);
        return std::nullopt;
    }
    return files;
}

}  // namespace test_support

#else

namespace test_support {

std::optional<BookFiles> ExtractWithMspack(const std::filesystem::path&, const std::filesystem::path&,
                                           std::string* problem) {
    *problem = "libmspack was not found when the tests were built: install the Debian package libmspack-dev";
    return std::nullopt;
}

}  // namespace test_support

#endif
