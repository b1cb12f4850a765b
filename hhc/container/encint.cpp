#include "container/encint.h"

namespace hhc::container {

std::size_t EncintSize(std::uint64_t value) {
    std::size_t n = 1;
    while (value >>= 7) ++n;
    return n;
}

void AppendEncint(std::string& out, std::uint64_t value) {
    const std::size_t n = EncintSize(value);
    for (std::size_t i = n; i-- > 0;) {
        auto group = static_cast<std::uint8_t>((value >> (7 * i)) & 0x7F);
        if (i != 0) group |= 0x80;
        out.push_back(static_cast<char>(group));
    }
}

}  // namespace hhc::container
