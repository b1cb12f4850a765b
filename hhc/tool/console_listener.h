#pragma once
#include <string>
#include <unordered_set>

#include "book/book_compiler.h"

namespace hhc::tool {

// Progress lines go to standard output, warnings to standard error.
class ConsoleListener : public book::CompileListener {
public:
    void Progress(const std::string& line) override;
    void Warning(const std::string& message) override;
    // Distinct warnings: one said twice is shown and counted once.
    std::size_t warnings() const { return said_.size(); }

private:
    std::unordered_set<std::string> said_;
};

std::string FormatSummary(const book::CompileSummary& summary, double seconds, std::size_t warnings);

}  // namespace hhc::tool
