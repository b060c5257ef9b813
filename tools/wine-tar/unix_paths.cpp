#include "tools/wine-tar/unix_paths.h"

#include <windows.h>

#include "plugin/unique_handles.h"

namespace quarn {
namespace {

// Wine hands both results over in blocks of the process heap.
struct ProcessHeapTraits {
    using Value = void*;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::HeapFree(::GetProcessHeap(), 0, value); }
};
using UniqueHeapBlock = UniqueResource<ProcessHeapTraits>;

using ToUnix = char*(__cdecl*)(const wchar_t*);
using ToWindows = wchar_t*(__cdecl*)(const char*);

struct WineConversions {
    ToUnix toUnix = nullptr;
    ToWindows toWindows = nullptr;
};

const WineConversions& Conversions() {
    static const WineConversions conversions = [] {
        WineConversions found;
        HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
        if (kernel32 != nullptr) {
            found.toUnix = reinterpret_cast<ToUnix>(
                reinterpret_cast<void*>(::GetProcAddress(kernel32, "wine_get_unix_file_name")));
            found.toWindows = reinterpret_cast<ToWindows>(
                reinterpret_cast<void*>(::GetProcAddress(kernel32, "wine_get_dos_file_name")));
        }
        return found;
    }();
    return conversions;
}

}  // namespace

bool CanConvertUnixPaths() {
    return Conversions().toUnix != nullptr && Conversions().toWindows != nullptr;
}

bool UnixPathFromWindows(const std::wstring& windowsPath, std::string& unixPath) {
    if (!CanConvertUnixPaths() || windowsPath.empty()) return false;
    UniqueHeapBlock block(Conversions().toUnix(windowsPath.c_str()));
    if (!block) return false;
    unixPath = static_cast<const char*>(block.get());
    return true;
}

bool WindowsPathFromUnix(const std::string& unixPath, std::wstring& windowsPath) {
    if (!CanConvertUnixPaths()) return false;
    UniqueHeapBlock block(Conversions().toWindows(unixPath.c_str()));
    if (!block) return false;
    windowsPath = static_cast<const wchar_t*>(block.get());
    return true;
}

}  // namespace quarn
