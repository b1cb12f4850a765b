#pragma once
// A fresh, empty folder for one test, removed with everything in it afterwards.
// Only tests/render still includes this header (through its include path);
// every other suite uses the shared ScratchFolder of tests/support, which
// render can switch to by linking chmbook_test_support. Remove this file then.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace chmbook::testing {

class ScratchFolder {
public:
    ScratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("chmbook-") + info->test_suite_name() + "-" + info->name() + "-XXXXXX";
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        std::string tmpl = (std::filesystem::temp_directory_path() / name).string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a scratch folder in " + tmpl);
        path_ = tmpl;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as the platform layer takes it: UTF-16, no trailing separator.
    std::u16string u16() const { return platform::FromUtf8(path_.string()); }
    std::u16string u16(std::string_view name) const { return platform::FromUtf8((path_ / name).string()); }

    void Write(std::string_view name, std::string_view bytes) const {
        std::ofstream out(path_ / name, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::filesystem::path path_;
};

}  // namespace chmbook::testing
