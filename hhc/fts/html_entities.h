#pragma once
// Named character references of HTML 4 (and &apos;).
#include <string_view>

namespace hhc::fts {

// The character `name` (without '&' and ';') stands for, or 0 when the name
// is unknown. Names are case-sensitive (&Eacute; is not &eacute;).
char32_t LookUpNamedEntity(std::string_view name);

}  // namespace hhc::fts
