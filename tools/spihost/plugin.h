// A loaded plug-in: its module, the table of its exports, and calls that
// take and give UTF-16 whichever form of the exports is in use.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "tools/spihost/listing.h"
#include "tools/spihost/local_block.h"

namespace quarn::spihost {

// Bit 8 of GetFile's flag word: deliver into a local block, not a file.
constexpr unsigned kOutputToMemory = 0x100;

// The kinds of call; each exists as a narrow and a W export.
enum class Call { GetPluginInfo, IsSupported, GetArchiveInfo, GetFileInfo, GetFile };

struct PluginExports {
    int(WINAPI* GetPluginInfo)(int infono, LPSTR buf, int buflen) = nullptr;
    int(WINAPI* GetPluginInfoW)(int infono, LPWSTR buf, int buflen) = nullptr;
    int(WINAPI* IsSupported)(LPCSTR filename, DWORD_PTR dw) = nullptr;
    int(WINAPI* IsSupportedW)(LPCWSTR filename, DWORD_PTR dw) = nullptr;
    int(WINAPI* GetArchiveInfo)(LPCSTR path, LONG_PTR offset, unsigned flag, HLOCAL* listing) = nullptr;
    int(WINAPI* GetArchiveInfoW)(LPCWSTR path, LONG_PTR offset, unsigned flag, HLOCAL* listing) = nullptr;
    int(WINAPI* GetFileInfo)(LPCSTR path, LONG_PTR offset, LPCSTR name, unsigned flag, fileInfo* info) = nullptr;
    int(WINAPI* GetFileInfoW)(LPCWSTR path, LONG_PTR offset, LPCWSTR name, unsigned flag, fileInfoW* info) = nullptr;
    int(WINAPI* GetFile)(LPCSTR src, LONG_PTR position, LPSTR dest, unsigned flag, FARPROC progress,
                         LONG_PTR lData) = nullptr;
    int(WINAPI* GetFileW)(LPCWSTR src, LONG_PTR position, LPWSTR dest, unsigned flag, FARPROC progress,
                          LONG_PTR lData) = nullptr;
};

// A path in both forms; the narrow form exists only for the narrow exports.
struct HostPath {
    std::wstring wide;
    std::string ansi;
};

class Plugin {
public:
    // Loads the module at `path` and looks up all ten exports. Empty, with
    // `error` set, when the module cannot be loaded.
    static std::optional<Plugin> Load(const std::wstring& path, bool narrow, std::string& error);

    bool narrow() const { return narrow_; }

    // Export names among `needed`, in the form in use, that the module lacks.
    std::vector<std::string> MissingExports(std::initializer_list<Call> needed) const;

    // `path` as the exports in use take it; false, with `error` set, when
    // the ANSI code page cannot spell it.
    bool PreparePath(const std::wstring& path, HostPath& out, std::string& error) const;

    // The plug-in's return value; `text` holds the string it wrote, read no
    // further than the buffer it was given.
    int GetPluginInfo(int infono, std::wstring& text) const;

    int IsSupported(const HostPath& file, DWORD_PTR dw) const;

    // The result code; on success `listing` holds the block's records and
    // `blockBytes` its size. The block is freed before this returns.
    int GetArchiveInfo(const HostPath& archive, Listing& listing, size_t& blockBytes) const;

    // Memory output: on success `block` owns what the plug-in allocated.
    int GetFileToMemory(const HostPath& archive, uint32_t position, UniqueLocalBlock& block) const;

    // File output: the plug-in creates `folder`\<filename>.
    int GetFileToFolder(const HostPath& archive, uint32_t position, const HostPath& folder) const;

private:
    Plugin(UniqueModule module, PluginExports exports, bool narrow)
        : module_(std::move(module)), exports_(exports), narrow_(narrow) {}

    bool Has(Call call) const;

    UniqueModule module_;
    PluginExports exports_;
    bool narrow_;
};

}  // namespace quarn::spihost
