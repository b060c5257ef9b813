#include "tools/common/utf8.h"

#include <windows.h>

namespace quarn {

std::string Utf8FromWide(std::wstring_view text) {
    if (text.empty()) return {};
    int units = static_cast<int>(text.size());
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    std::string result(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), units, result.data(), bytes, nullptr, nullptr);
    }
    return result;
}

std::wstring WideFromUtf8(std::string_view text) {
    if (text.empty()) return {};
    int bytes = static_cast<int>(text.size());
    int units = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, nullptr, 0);
    std::wstring result(units > 0 ? units : 0, L'\0');
    if (units > 0) ::MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, result.data(), units);
    return result;
}

}  // namespace quarn
