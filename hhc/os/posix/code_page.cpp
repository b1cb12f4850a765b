#include <iconv.h>

#include "os/os.h"

namespace hhc::os {
namespace {

std::string IconvName(std::uint32_t codePage) { return "CP" + std::to_string(codePage); }

std::optional<std::string> Convert(std::string_view text, const std::string& from, const std::string& to) {
    iconv_t converter = iconv_open(to.c_str(), from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string output(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

}  // namespace

std::optional<std::string> AnsiToUtf8(std::string_view text, std::uint32_t codePage) {
    return Convert(text, IconvName(codePage), "UTF-8");
}

std::optional<std::string> Utf8ToAnsi(std::string_view text, std::uint32_t codePage) {
    return Convert(text, "UTF-8", IconvName(codePage));
}

}  // namespace hhc::os
