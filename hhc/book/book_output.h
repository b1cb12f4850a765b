#pragma once
// Puts a finished book in place: written in full under a temporary name in
// the destination folder, then renamed over the destination. A failure leaves
// no partial file and does not touch an existing book.
#include <filesystem>
#include <string_view>

namespace hhc::book {

// Throws CompileError naming the file and the reason.
void WriteBookFile(const std::filesystem::path& destination, std::string_view bytes);

}  // namespace hhc::book
