#include "bridge/tool_lock.h"

#include <windows.h>

#include <cstdint>

namespace quarn {
namespace {

// "Local\quarn-" and a hash of the folder's path: the path itself may not
// fit a kernel object's name, and it holds backslashes, which a name may not.
// The session namespace and the per-user folder make it per user.
void MutexName(const wchar_t* workDirectory, wchar_t (&name)[32]) {
    uint64_t hash = 14695981039346656037ULL;  // FNV-1a, over the upper-cased path
    for (const wchar_t* p = workDirectory; *p != L'\0'; ++p) {
        wchar_t unit = *p;
        if (unit >= L'a' && unit <= L'z') unit = static_cast<wchar_t>(unit - L'a' + L'A');
        hash = (hash ^ static_cast<uint16_t>(unit)) * 1099511628211ULL;
    }
    const wchar_t prefix[] = L"Local\\quarn-";
    size_t length = 0;
    for (; prefix[length] != L'\0'; ++length) name[length] = prefix[length];
    for (int shift = 60; shift >= 0; shift -= 4) {
        name[length++] = L"0123456789abcdef"[(hash >> shift) & 0xF];
    }
    name[length] = L'\0';
}

UniqueHandle OpenToolMutex(const wchar_t* workDirectory) {
    wchar_t name[32];
    MutexName(workDirectory, name);
    return UniqueHandle(::CreateMutexW(nullptr, FALSE, name));
}

bool Acquired(DWORD wait) { return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED; }

}  // namespace

ToolRunLock::ToolRunLock(const wchar_t* workDirectory) : mutex_(OpenToolMutex(workDirectory)) {
    if (mutex_) owned_ = Acquired(::WaitForSingleObject(mutex_.get(), INFINITE));
}

ToolRunLock::~ToolRunLock() {
    if (owned_) ::ReleaseMutex(mutex_.get());
}

bool ToolRunLock::IsFree(const wchar_t* workDirectory) {
    UniqueHandle mutex = OpenToolMutex(workDirectory);
    if (!mutex) return true;
    if (!Acquired(::WaitForSingleObject(mutex.get(), 0))) return false;
    ::ReleaseMutex(mutex.get());
    return true;
}

}  // namespace quarn
