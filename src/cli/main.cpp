#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "platform/platform.h"

namespace {

// Collects UTF-8 text and hands it to the console a line at a time (and when
// flushed), never cutting a character in two.
class StandardTextBuffer : public std::streambuf {
public:
    explicit StandardTextBuffer(chmbook::platform::StandardStream stream) : stream_(stream) {}
    ~StandardTextBuffer() override { Flush(true); }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        pending_ += traits_type::to_char_type(c);
        if (c == '\n') Flush(false);
        return c;
    }
    std::streamsize xsputn(const char* data, std::streamsize size) override {
        pending_.append(data, static_cast<std::size_t>(size));
        if (pending_.find('\n') != std::string::npos) Flush(false);
        return size;
    }
    int sync() override {
        Flush(false);
        return 0;
    }

private:
    // The length of `pending_` without an unfinished character at its end.
    std::size_t CompleteLength() const {
        std::size_t start = pending_.size();
        for (int back = 0; back < 4 && start > 0; ++back) {
            const auto byte = static_cast<unsigned char>(pending_[start - 1]);
            if ((byte & 0xC0) != 0x80) {
                const std::size_t need = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
                return pending_.size() - (start - 1) >= need ? pending_.size() : start - 1;
            }
            --start;
        }
        return pending_.size();
    }
    void Flush(bool all) {
        const std::size_t size = all ? pending_.size() : CompleteLength();
        if (size == 0) return;
        chmbook::platform::WriteStandardText(stream_, std::string_view(pending_).substr(0, size));
        pending_.erase(0, size);
    }

    chmbook::platform::StandardStream stream_;
    std::string pending_;
};

int RunWith(const std::vector<std::u16string>& arguments) {
    StandardTextBuffer outBuffer(chmbook::platform::StandardStream::kOutput);
    StandardTextBuffer errBuffer(chmbook::platform::StandardStream::kError);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    const std::string locale = chmbook::platform::UserLocaleName();
    const chmbook::cli::Environment environment{chmbook::platform::ProgramFolder(), {},
                                                chmbook::LanguageOfLocale(locale.c_str(), nullptr, nullptr)};
    const int status = chmbook::cli::Run(arguments, environment, out, err);
    out.flush();
    err.flush();
    return status;
}

}  // namespace

#ifdef _WIN32
// Windows hands the command line over as wide characters; the narrow `argv`
// would be in the ANSI code page and lose every character outside it.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    return RunWith(arguments);
}
#else
int main(int argc, char** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(chmbook::platform::FromUtf8(argv[i]));
    return RunWith(arguments);
}
#endif
