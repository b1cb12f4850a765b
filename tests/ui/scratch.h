#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace chmbook::uitest {

class Scratch {
public:
    Scratch() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("chmbook-ui-") + info->test_suite_name() + "-" + info->name() + "-XXXXXX";
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        std::string pattern = (std::filesystem::temp_directory_path() / name).string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }
    std::u16string u16() const { return platform::FromUtf8(path_.string()); }

    // Writes a file below the folder, creating the folders on its way.
    std::filesystem::path Write(std::string_view name, std::string_view bytes) const {
        const std::filesystem::path file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

private:
    std::filesystem::path path_;
};

inline std::u16string U16(const std::filesystem::path& path) { return platform::FromUtf8(path.string()); }

}  // namespace chmbook::uitest
