#include "tools/common/program_path.h"

#include <windows.h>

namespace quarn {

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    // The buffer grows until the path fits: a long tool folder is not cut.
    while (path.size() <= 0x8000) {
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

std::wstring ProgramFolder() {
    std::wstring path = ProgramPath();
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace quarn
