#include "module/lifecycle.h"

#include <shlwapi.h>

#include "bridge/settings.h"
#include "bridge/tool_lock.h"
#include "bridge/work_directory.h"
#include "cache/listing_cache.h"
#include "plugin/unique_handles.h"

namespace quarn {
namespace {

HINSTANCE firstNotificationMarker = nullptr;

bool IsDotEntry(const wchar_t* name) { return ::lstrcmpiW(name, L".") == 0 || ::lstrcmpiW(name, L"..") == 0; }

}  // namespace

void RemoveTree(const wchar_t* folder) {
    wchar_t pattern[kPathUnits];
    if (!JoinPath(folder, L"*.*", pattern)) return;
    WIN32_FIND_DATAW item;
    UniqueFind find(::FindFirstFileW(pattern, &item));
    if (!find) return;
    do {
        wchar_t path[kPathUnits];
        // A path that does not fit would name another place than the item.
        if (IsDotEntry(item.cFileName) || !JoinPath(folder, item.cFileName, path)) continue;
        const DWORD attributes = item.dwFileAttributes;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            DeleteWorkFile(path);
        } else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            ::RemoveDirectoryW(path);  // the link goes, what it points to stays
        } else if (!::PathIsSystemFolderW(path, 0)) {
            RemoveTree(path);
            ::RemoveDirectoryW(path);
        }
    } while (::FindNextFileW(find.get(), &item));
}

void CleanUpAtUnload() {
    wchar_t workDirectory[kPathUnits];
    if (WorkDirectory(workDirectory) && ::PathIsDirectoryW(workDirectory) &&
        ToolRunLock::IsFree(workDirectory)) {
        RemoveTree(workDirectory);
        ::RemoveDirectoryW(workDirectory);
    }
    listingCache.Clear();
}

void HandleLoaderNotification(HINSTANCE module, DWORD reason) {
    if (firstNotificationMarker == nullptr) {
        wchar_t workDirectory[kPathUnits];
        EnsureWorkDirectory(workDirectory);
    }
    firstNotificationMarker = module;
    if (reason == DLL_PROCESS_DETACH) CleanUpAtUnload();
    moduleHandle = module;
}

}  // namespace quarn
