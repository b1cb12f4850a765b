#pragma once
// The two conditions a build needs before it starts, checked by the window's
// Generate command and by the command line alike.
#include <cstddef>
#include <string_view>

#include "common/window_state.h"

namespace chmbook {

// What stops a build from starting, in the order the checks run: the title
// first, so that with both missing only the title is asked for.
enum class MissingInput { kNone, kTitle, kFiles };

// A title is any text but the empty one: blanks count as a title.
inline bool HasTitle(std::u16string_view title) { return !title.empty(); }
// The file list must hold at least one entry; the files themselves are not looked at.
inline bool HasFiles(std::size_t entryCount) { return entryCount > 0; }

inline MissingInput FindMissingInput(const WindowState& frm) {
    if (!HasTitle(frm.txtTitleName())) return MissingInput::kTitle;
    if (!HasFiles(frm.List1ListCount())) return MissingInput::kFiles;
    return MissingInput::kNone;
}

}  // namespace chmbook
