// The ten functions a host calls, exported by their undecorated names with
// the standard calling convention.
#pragma once

#include <windows.h>

#include "plugin/records.h"

extern "C" {

int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) noexcept;
int WINAPI GetPluginInfoW(int infono, LPWSTR buf, int buflen) noexcept;
int WINAPI IsSupported(LPCSTR filename, DWORD_PTR dw) noexcept;
int WINAPI IsSupportedW(LPCWSTR filename, DWORD_PTR dw) noexcept;

int WINAPI GetArchiveInfo(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf) noexcept;
int WINAPI GetArchiveInfoW(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf) noexcept;
int WINAPI GetFileInfo(LPCSTR buf, LONG_PTR len, LPCSTR filename, unsigned int flag,
                       quarn::fileInfo* lpInfo) noexcept;
int WINAPI GetFileInfoW(LPCWSTR buf, LONG_PTR len, LPCWSTR filename, unsigned int flag,
                        quarn::fileInfoW* lpInfo) noexcept;

int WINAPI GetFile(LPCSTR src, LONG_PTR len, LPSTR dest, unsigned int flag, FARPROC progressCallback,
                   LONG_PTR lData) noexcept;
int WINAPI GetFileW(LPCWSTR src, LONG_PTR len, LPWSTR dest, unsigned int flag, FARPROC progressCallback,
                    LONG_PTR lData) noexcept;
}

namespace quarn {

// Runs an export's body so that nothing thrown inside (the only thing that
// can be thrown is an allocation failure of the standard library) crosses
// into the host: it becomes `onFailure`.
template <typename Body>
int Guarded(int onFailure, Body body) noexcept {
    try {
        return body();
    } catch (...) {
        return onFailure;
    }
}

}  // namespace quarn
