#include "bridge/work_directory.h"

#include <windows.h>
#include <shlwapi.h>

namespace quarn {

bool JoinPath(const wchar_t* folder, const wchar_t* name, wchar_t (&path)[kPathUnits]) {
    if (::PathCombineW(path, folder, name) == nullptr) {
        path[0] = L'\0';
        return false;
    }
    return true;
}

bool WorkDirectory(wchar_t (&path)[kPathUnits]) {
    wchar_t temp[kPathUnits];
    DWORD length = ::GetTempPathW(kPathUnits, temp);
    if (length == 0 || length >= kPathUnits) {
        path[0] = L'\0';
        return false;
    }
    return JoinPath(temp, L"quarn", path);
}

bool EnsureWorkDirectory(wchar_t (&path)[kPathUnits]) {
    if (!WorkDirectory(path)) return false;
    if (!::PathIsDirectoryW(path)) ::CreateDirectoryW(path, nullptr);
    return true;
}

bool DeleteWorkFile(const wchar_t* path) {
    DWORD attributes = ::GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ::SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    return ::DeleteFileW(path) != 0;
}

bool PrepareWorkPaths(WorkPaths& paths) {
    return EnsureWorkDirectory(paths.workDirectory) &&
           JoinPath(paths.workDirectory, kNameCaptureFile, paths.nameCapture) &&
           JoinPath(paths.workDirectory, kVerboseCaptureFile, paths.verboseCapture);
}

}  // namespace quarn
