#pragma once
// The order of names in the directory. Readers binary-search the listing with
// an ASCII case-insensitive comparison that folds 'A'-'Z' to 'a'-'z' and then
// compares unsigned bytes; a shorter name sorts before any longer name it is a
// prefix of. Folding to lower case (not upper) matters for '[', '\', ']', '^',
// '_' and '`', which sit between 'Z' and 'a'.
#include <string_view>

namespace hhc::container {

// Negative, zero or positive as `a` sorts before, equal to or after `b`.
// Zero means the names are the same to a reader's lookup.
int CompareNames(std::string_view a, std::string_view b);

inline bool NameLess(std::string_view a, std::string_view b) { return CompareNames(a, b) < 0; }

}  // namespace hhc::container
