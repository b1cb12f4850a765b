#pragma once
#include "book/book_compiler.h"

namespace hhc::tool {

// Progress lines go to standard output, warnings to standard error.
class ConsoleListener : public book::CompileListener {
public:
    void Progress(const std::string& line) override;
    void Warning(const std::string& message) override;
    std::size_t warnings() const { return warnings_; }

private:
    std::size_t warnings_ = 0;
};

std::string FormatSummary(const book::CompileSummary& summary, double seconds, std::size_t warnings);

}  // namespace hhc::tool
