#include <iconv.h>

#include "os/os.h"

namespace hhc::os {
namespace {

// The converter's name for a Windows code page: most are "CP" and the number,
// the Unicode and ISO ones go by their own names.
std::string IconvName(std::uint32_t codePage) {
    if (codePage == 65001) return "UTF-8";
    if (codePage == 54936) return "GB18030";
    if (codePage == 51932) return "EUC-JP";
    if (codePage == 20866) return "KOI8-R";
    if (codePage == 21866) return "KOI8-U";
    if (codePage > 28590 && codePage <= 28605) return "ISO-8859-" + std::to_string(codePage - 28590);
    return "CP" + std::to_string(codePage);
}

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
