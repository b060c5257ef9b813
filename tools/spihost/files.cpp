#include "tools/spihost/files.h"

#include <shlobj.h>

#include <vector>

#include "plugin/unique_handles.h"

namespace quarn::spihost {

bool CreateFolders(const std::wstring& folder, DWORD& error) {
    // SHCreateDirectoryExW wants a full path.
    const DWORD units = ::GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
    if (units == 0) {
        error = ::GetLastError();
        return false;
    }
    std::vector<wchar_t> full(units);
    if (::GetFullPathNameW(folder.c_str(), units, full.data(), nullptr) == 0) {
        error = ::GetLastError();
        return false;
    }
    const int result = ::SHCreateDirectoryExW(nullptr, full.data(), nullptr);
    if (result == ERROR_SUCCESS) return true;
    const DWORD attributes = ::GetFileAttributesW(full.data());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return true;
    error = static_cast<DWORD>(result);
    return false;
}

bool WriteWholeFile(const std::wstring& path, const void* data, size_t size, DWORD& error) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = ::GetLastError();
        return false;
    }
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes, chunk, &written, nullptr)) {
            error = ::GetLastError();
            return false;
        }
        if (written == 0) {
            error = ERROR_WRITE_FAULT;
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

bool GetSizeOfFile(const std::wstring& path, uint64_t& size, DWORD& error) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes)) {
        error = ::GetLastError();
        return false;
    }
    size = (static_cast<uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    return true;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    const wchar_t last = folder.back();
    if (last == L'\\' || last == L'/') return folder + name;
    return folder + L'\\' + name;
}

}  // namespace quarn::spihost
