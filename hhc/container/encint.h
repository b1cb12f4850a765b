#pragma once
// ENCINT: the directory's variable-length integer. Seven bits per byte, most
// significant group first, bit 7 set on every byte but the last.
#include <cstddef>
#include <cstdint>
#include <string>

namespace hhc::container {

// Bytes needed for the shortest encoding of `value` (1 to 10).
std::size_t EncintSize(std::uint64_t value);

// Appends the shortest encoding of `value` to `out`.
void AppendEncint(std::string& out, std::uint64_t value);

}  // namespace hhc::container
