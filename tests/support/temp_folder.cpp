#include "tests/support/temp_folder.h"

#include <windows.h>

#include <atomic>

#include "plugin/unique_handles.h"

namespace quarn::test {
namespace {

std::atomic<unsigned> g_counter{0};

void CreateParents(const std::wstring& path) {
    for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1)) {
        ::CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    }
}

}  // namespace

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    for (;;) {
        path_ = std::wstring(temp) + L"quarn-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(++g_counter);
        if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() { RemoveTreeForTest(path_); }

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    CreateParents(path);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file && !bytes.empty()) {
        ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

std::string ReadFileBytes(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    std::string bytes(::GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ::ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveTreeForTest(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW item;
    UniqueFind find(::FindFirstFileW((path + L"\\*").c_str(), &item));
    if (find) {
        do {
            std::wstring name = item.cFileName;
            if (name != L"." && name != L"..") RemoveTreeForTest(path + L"\\" + name);
        } while (::FindNextFileW(find.get(), &item));
    }
    find.reset();
    ::RemoveDirectoryW(path.c_str());
}

std::string Utf8(const std::wstring& text) {
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(bytes, '\0');
    if (bytes > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], bytes, nullptr,
                              nullptr);
    }
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    int units = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(units, L'\0');
    if (units > 0) {
        ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], units);
    }
    return out;
}

}  // namespace quarn::test
