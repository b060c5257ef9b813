#include "bridge/entry_names.h"

namespace quarn {
namespace {

bool IsSeparator(wchar_t unit) { return unit == L'/' || unit == L'\\'; }

}  // namespace

bool IsContainedNameLine(std::wstring_view nameLine) {
    if (nameLine.empty() || IsSeparator(nameLine.front())) return false;
    if (nameLine.find(L':') != std::wstring_view::npos) return false;
    size_t start = 0;
    while (start <= nameLine.size()) {
        size_t end = start;
        while (end < nameLine.size() && !IsSeparator(nameLine[end])) ++end;
        if (nameLine.substr(start, end - start) == L"..") return false;
        start = end + 1;
    }
    return true;
}

std::wstring RelativePathFromNameLine(std::wstring_view nameLine) {
    std::wstring path(nameLine);
    for (wchar_t& unit : path) {
        switch (unit) {
        case L'/': unit = L'\\'; break;
        case L'*': case L'?': case L'"': case L'<': case L'>': case L'|': unit = L'_'; break;
        default: break;
        }
    }
    return path;
}

bool IsPlainFileName(std::wstring_view filename) {
    if (filename.empty() || filename == L"." || filename == L"..") return false;
    return filename.find_first_of(L"\\/:") == std::wstring_view::npos;
}

}  // namespace quarn
