#include "common/mod_public.h"

#include "platform/platform.h"

namespace chmbook {

std::u16string FixPath(std::u16string path) {
    if (path.empty() || path.back() != platform::kPathSeparator) path += platform::kPathSeparator;
    return path;
}

}  // namespace chmbook
