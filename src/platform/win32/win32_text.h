#pragma once
// Small helpers shared by the Win32 implementation files.
#include <windows.h>

#include <string>

namespace chmbook::platform::win32 {

// On Windows wchar_t is a UTF-16 unit, so the two string types share a layout.
inline std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string FromWide(const wchar_t* text, std::size_t size) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), size);
}

// The system's message for an error code, without its trailing line break.
inline std::u16string ErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD size = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (size) {
        text = FromWide(buffer, size);
    } else {
        const std::wstring number = std::to_wstring(error);
        text = u"error " + FromWide(number.data(), number.size());
    }
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) text.pop_back();
    return text;
}

// Closes a kernel handle when it leaves scope.
class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    bool Close() {
        const HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return h != INVALID_HANDLE_VALUE && h != nullptr && CloseHandle(h);
    }
    void Reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (ok()) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_;
};

// Writes all `size` bytes to a file or pipe, in pieces WriteFile takes.
inline bool WriteAll(HANDLE handle, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD piece = static_cast<DWORD>(size < (1u << 30) ? size : (1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, data, piece, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

}  // namespace chmbook::platform::win32
