#pragma once
// "/$OBJINST": the persisted state of the viewer's word breaker (settings and
// per-byte character table), so that a query is cut the way the pages were.
#include <cstdint>
#include <string>

namespace hhc::fts {

// The 2715-byte object file for `codePage` and `lcid`. The character table is
// the one known to work with the viewer for code page 936 (double-byte lead
// bytes 0xA1-0xFE); for other code pages only the code page and language
// fields change.
std::string BuildObjInst(std::uint32_t codePage, std::uint32_t lcid);

}  // namespace hhc::fts
