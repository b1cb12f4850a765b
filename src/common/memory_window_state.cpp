#include "common/memory_window_state.h"

namespace chmbook {

std::u16string MemoryWindowState::List1List(std::size_t index) const {
    return index < list1.size() ? list1[index] : std::u16string();
}

void MemoryWindowState::SetMousePointer(int pointer) {
    mousePointer = pointer;
    pointerHistory.push_back(pointer);
}

}  // namespace chmbook
