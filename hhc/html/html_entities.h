#pragma once
// Character references of HTML: "&name;" (the names of HTML 4 and &apos;),
// "&#ddd;" and "&#xhh;". The page text of the index and the titles of the
// topic table both decode them here.
#include <cstddef>
#include <string_view>

namespace hhc::html {

// The character `name` (without '&' and ';') stands for, or 0 when the name
// is unknown. Names are case-sensitive (&Eacute; is not &eacute;).
char32_t LookUpNamedEntity(std::string_view name);

// Reads the reference that starts at text[pos] ('&'). On success moves `pos`
// past it and returns its character: U+FFFD for "&#0;", a surrogate or a
// number beyond U+10FFFF. Numeric references may lack their ';', and so may
// the oldest names (amp, lt, gt, quot, nbsp), as browsers accept them.
// Anything else is no reference: returns 0 and leaves `pos` alone.
char32_t ReadCharacterReference(std::string_view text, std::size_t& pos);

}  // namespace hhc::html
