#include "tests/doubles/tar-double/extraction.h"

#include <windows.h>

namespace quarn {
namespace {

std::wstring WindowsSeparators(std::wstring path) {
    for (wchar_t& unit : path) {
        if (unit == L'/') unit = L'\\';
    }
    return path;
}

void MakeFoldersOnTheWay(const std::wstring& targetFolder, const std::wstring& relative) {
    for (size_t slash = relative.find(L'\\'); slash != std::wstring::npos;
         slash = relative.find(L'\\', slash + 1)) {
        ::CreateDirectoryW((targetFolder + L"\\" + relative.substr(0, slash)).c_str(), nullptr);
    }
}

}  // namespace

std::wstring UnescapeMember(const std::wstring& pattern) {
    std::wstring member;
    for (size_t at = 0; at < pattern.size(); ++at) {
        if (pattern[at] == L'\\' && at + 1 < pattern.size()) ++at;
        member.push_back(pattern[at]);
    }
    return member;
}

bool ExtractMember(const std::wstring& sourceFolder, const std::wstring& targetFolder,
                   const std::wstring& pattern) {
    std::wstring relative = WindowsSeparators(UnescapeMember(pattern));
    std::wstring source = sourceFolder + L"\\" + relative;
    DWORD attributes = ::GetFileAttributesW(source.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    MakeFoldersOnTheWay(targetFolder, relative);
    std::wstring target = targetFolder + L"\\" + relative;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return ::CreateDirectoryW(target.c_str(), nullptr) ||
               ::GetLastError() == ERROR_ALREADY_EXISTS;
    }
    // The tool replaces what is there, read-only or not.
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::CopyFileW(source.c_str(), target.c_str(), FALSE)) return false;
    return ::SetFileAttributesW(target.c_str(), attributes);
}

}  // namespace quarn
