#pragma once
#include <stdexcept>
#include <string>

namespace hhc::book {

// A compilation that cannot produce a book. The message names the file and
// the problem ("Temp.hhp: [FILES] entry \"a.htm\" not found").
class CompileError : public std::runtime_error {
public:
    explicit CompileError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace hhc::book
