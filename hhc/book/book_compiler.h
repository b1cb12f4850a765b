#pragma once
// Compiles a help project (.hhp) into a book (.chm).
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "book/compile_error.h"

namespace hhc::book {

struct CompileSettings {
    std::filesystem::path projectFile;
    // Compile time written into the book (Unix seconds); the clock when unset.
    std::optional<std::int64_t> compileTime;
};

// Receives what a compilation has to say besides its result.
class CompileListener {
public:
    virtual ~CompileListener() = default;
    // Progress lines, sent only when the project asks for them.
    virtual void Progress(const std::string& line) = 0;
    virtual void Warning(const std::string& message) = 0;
};

struct CompileSummary {
    std::filesystem::path book;
    std::size_t files = 0;         // source files taken into the book
    std::size_t topics = 0;        // pages in #TOPICS
    std::uint64_t bytesIn = 0;     // their total size
    std::uint64_t bytesOut = 0;    // size of the book
    std::size_t externalLinks = 0; // links to other sites and programs, left as written
    bool fullTextSearch = false;
};

// Throws CompileError when no book can be written; an existing book is then
// left as it was.
CompileSummary CompileBook(const CompileSettings& settings, CompileListener& listener);

}  // namespace hhc::book
