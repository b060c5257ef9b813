#include "tests/support/folder_contents.h"

#include <windows.h>

#include "plugin/unique_handles.h"

namespace quarn::test {
namespace {

// Calls `visit(found)` for every item of `folder` but "." and "..".
template <typename Visit>
void ForEachItemIn(const std::wstring& folder, Visit visit) {
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) return;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") visit(found);
    } while (::FindNextFileW(find.get(), &found));
}

void CollectFilesBelow(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>& files) {
    ForEachItemIn(folder, [&](const WIN32_FIND_DATAW& found) {
        const std::wstring name = found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CollectFilesBelow(folder + L"\\" + name, prefix + name + L"\\", files);
        } else {
            files.push_back(prefix + name);
        }
    });
}

}  // namespace

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    ForEachItemIn(folder, [&](const WIN32_FIND_DATAW& found) { names.push_back(found.cFileName); });
    return names;
}

std::vector<std::wstring> FilesBelow(const std::wstring& folder) {
    std::vector<std::wstring> files;
    CollectFilesBelow(folder, L"", files);
    return files;
}

}  // namespace quarn::test
