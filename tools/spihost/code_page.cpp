#include "tools/spihost/code_page.h"

#include <windows.h>

namespace quarn::spihost {

std::wstring WideFromAnsi(std::string_view text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, out.data(), units);
    return out;
}

bool AnsiFromWide(std::wstring_view text, std::string& out) {
    out.clear();
    if (text.empty()) return true;
    const int size = static_cast<int>(text.size());
    // UTF-8 as the ANSI code page takes neither flag nor default character.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int bytes = ::WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, usedDefaultOut);
    if (bytes <= 0 || usedDefault) return false;
    out.resize(static_cast<size_t>(bytes));
    ::WideCharToMultiByte(CP_ACP, flags, text.data(), size, out.data(), bytes, nullptr, nullptr);
    return true;
}

}  // namespace quarn::spihost
