#pragma once
#include <string>

namespace chmbook {

// The path with exactly one folder separator at its end: unchanged when it
// already ends in one, else followed by one; an empty path gives the separator.
std::u16string FixPath(std::u16string path);

}  // namespace chmbook
