#include "tools/common/whole_file.h"

#include <windows.h>

#include "plugin/unique_handles.h"

namespace quarn {

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    // Everything here is read whole into memory; 1 GiB is far past any
    // listing and keeps the count within a DWORD.
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > (1LL << 30)) return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                        &read, nullptr)) {
            bytes.clear();
            return false;
        }
        if (read == 0) break;
        done += read;
    }
    bytes.resize(done);
    return true;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data() + done,
                         static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
            written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

}  // namespace quarn
