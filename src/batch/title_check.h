#pragma once
// Whether a title can name the book's file: Release/<title>.chm.
#include <string>
#include <string_view>

#include "batch/messages.h"

namespace chmbook {

// Empty when "<title>.chm" is a plain file name on the running system;
// otherwise what is wrong, naming the offending character, in `language`.
// Refused everywhere: path separators, "." and "..", control characters, a
// name too long for the file system. On Windows also the characters it forbids
// in file names (\ / : * ? " < > |), the device names it reserves (CON, PRN,
// AUX, NUL, COM1-9, LPT1-9, with or without an extension) and trailing dots or
// blanks. The empty title is the caller's own check.
std::u16string TitleProblem(std::u16string_view title, Language language);

}  // namespace chmbook
