// Text as a host hands it to the narrow exports.
#pragma once

#include <windows.h>

#include <string>

namespace quarn::e2e {

// `text` in the ANSI code page by the system's default conversion, which
// takes a near character (best fit) for one the code page lacks.
inline std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    out.resize(bytes - 1);
    return out;
}

}  // namespace quarn::e2e
