#include "book_fixture.h"

#include "batch/book_inputs.h"
#include "batch/write_chm.h"

namespace chmbook::testing {

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    return names;
}

void InstallStandInCompiler(const fs::path& app) {
    fs::copy_file(CHMBOOK_FAKE_HHC, app / CompilerFileName(), fs::copy_options::overwrite_existing);
}

void SetCompilerMode(const fs::path& app, const std::string& mode) { WriteBytes(app / "hhc-mode.txt", mode); }

void BookTest::SetUp() {
    fs::create_directories(app_);  // the work folder is left to every build to make
    fs::create_directories(sources_);
    InstallStandInCompiler(app_);

    frm_.appPath = U16(app_);
    frm_.paperFoot = u"PF";  // a content page's text ends where its foot's table starts
    frm_.titleName = u"Notes";
    ASSERT_TRUE(EnsureOutputFolder(frm_.appPath));
    frm_.file = OutputPathForTitle(frm_.appPath, frm_.titleName);

    options_.language = Language::kEnglish;
    options_.openDocument = [this](const std::u16string& path) { opened_.push_back(path); return true; };
}

fs::path BookTest::AddSource(const std::string& name, const std::string& bytes) {
    const fs::path path = sources_ / name;
    WriteBytes(path, bytes);
    frm_.list1.push_back(U16(path));
    return path;
}

}  // namespace chmbook::testing
