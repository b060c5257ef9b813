#include "tools/spihost/plugin.h"

#include <vector>

#include "tools/spihost/code_page.h"
#include "tools/spihost/output.h"
#include "tools/spihost/text.h"

namespace quarn::spihost {
namespace {

// Large enough for any pattern list a viewer shows.
constexpr int kInfoBufferUnits = 4096;

template <typename Function>
void Resolve(HMODULE module, const char* name, Function& slot) {
    slot = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

PluginExports ResolveExports(HMODULE module) {
    PluginExports exports;
    Resolve(module, "GetPluginInfo", exports.GetPluginInfo);
    Resolve(module, "GetPluginInfoW", exports.GetPluginInfoW);
    Resolve(module, "IsSupported", exports.IsSupported);
    Resolve(module, "IsSupportedW", exports.IsSupportedW);
    Resolve(module, "GetArchiveInfo", exports.GetArchiveInfo);
    Resolve(module, "GetArchiveInfoW", exports.GetArchiveInfoW);
    Resolve(module, "GetFileInfo", exports.GetFileInfo);
    Resolve(module, "GetFileInfoW", exports.GetFileInfoW);
    Resolve(module, "GetFile", exports.GetFile);
    Resolve(module, "GetFileW", exports.GetFileW);
    return exports;
}

const char* CallName(Call call) {
    switch (call) {
        case Call::GetPluginInfo: return "GetPluginInfo";
        case Call::IsSupported: return "IsSupported";
        case Call::GetArchiveInfo: return "GetArchiveInfo";
        case Call::GetFileInfo: return "GetFileInfo";
        case Call::GetFile: return "GetFile";
    }
    return "?";
}

// Viewers pass a callback; a plug-in may call it without checking for null.
// Returning zero lets the work go on.
int WINAPI ContinueProgress(int /*done*/, int /*total*/, LONG_PTR /*data*/) { return 0; }

FARPROC ProgressCallback() {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&ContinueProgress));
}

}  // namespace

std::optional<Plugin> Plugin::Load(const std::wstring& path, bool narrow, std::string& error) {
    // A full path keeps LoadLibrary from searching, and lets the plug-in's
    // own dependencies resolve beside it.
    const DWORD units = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::vector<wchar_t> full(units > 0 ? units : 1, L'\0');
    if (units == 0 || ::GetFullPathNameW(path.c_str(), units, full.data(), nullptr) == 0) {
        error = "cannot use the path " + Utf8FromWide(path) + ": " + DescribeWindowsError(::GetLastError());
        return std::nullopt;
    }
    UniqueModule module(::LoadLibraryExW(full.data(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module) {
        error = "cannot load the plug-in " + Utf8FromWide(full.data()) + ": " +
                DescribeWindowsError(::GetLastError());
        return std::nullopt;
    }
    const PluginExports exports = ResolveExports(module.get());
    return Plugin(std::move(module), exports, narrow);
}

bool Plugin::Has(Call call) const {
    switch (call) {
        case Call::GetPluginInfo:
            return narrow_ ? exports_.GetPluginInfo != nullptr : exports_.GetPluginInfoW != nullptr;
        case Call::IsSupported:
            return narrow_ ? exports_.IsSupported != nullptr : exports_.IsSupportedW != nullptr;
        case Call::GetArchiveInfo:
            return narrow_ ? exports_.GetArchiveInfo != nullptr : exports_.GetArchiveInfoW != nullptr;
        case Call::GetFileInfo:
            return narrow_ ? exports_.GetFileInfo != nullptr : exports_.GetFileInfoW != nullptr;
        case Call::GetFile:
            return narrow_ ? exports_.GetFile != nullptr : exports_.GetFileW != nullptr;
    }
    return false;
}

std::vector<std::string> Plugin::MissingExports(std::initializer_list<Call> needed) const {
    std::vector<std::string> missing;
    for (Call call : needed) {
        if (!Has(call)) missing.push_back(std::string(CallName(call)) + (narrow_ ? "" : "W"));
    }
    return missing;
}

bool Plugin::PreparePath(const std::wstring& path, HostPath& out, std::string& error) const {
    out.wide = path;
    out.ansi.clear();
    if (!narrow_) return true;
    if (AnsiFromWide(path, out.ansi)) return true;
    error = "the path " + Utf8FromWide(path) + " has characters outside code page " +
            std::to_string(::GetACP()) + ", so the narrow exports cannot be given it";
    return false;
}

int Plugin::GetPluginInfo(int infono, std::wstring& text) const {
    if (narrow_) {
        std::vector<char> buffer(kInfoBufferUnits, '\0');
        const int result = exports_.GetPluginInfo(infono, buffer.data(), kInfoBufferUnits);
        text = WideFromAnsi(FieldText(buffer.data(), buffer.size()));
        return result;
    }
    std::vector<wchar_t> buffer(kInfoBufferUnits, L'\0');
    const int result = exports_.GetPluginInfoW(infono, buffer.data(), kInfoBufferUnits);
    text = std::wstring(FieldText(buffer.data(), buffer.size()));
    return result;
}

int Plugin::IsSupported(const HostPath& file, DWORD_PTR dw) const {
    return narrow_ ? exports_.IsSupported(file.ansi.c_str(), dw) : exports_.IsSupportedW(file.wide.c_str(), dw);
}

int Plugin::GetArchiveInfo(const HostPath& archive, Listing& listing, size_t& blockBytes) const {
    listing = Listing();
    blockBytes = 0;
    HLOCAL received = nullptr;
    const int result = narrow_ ? exports_.GetArchiveInfo(archive.ansi.c_str(), 0, 0, &received)
                               : exports_.GetArchiveInfoW(archive.wide.c_str(), 0, 0, &received);
    // Only a successful call hands a block over; whatever a failing plug-in
    // left in the variable may already be freed.
    if (result != 0) return result;
    const UniqueLocalBlock block(received);
    if (!block) return result;
    const LockedLocalBlock bytes(block.get());
    blockBytes = bytes.size();
    if (bytes.data() == nullptr) return result;
    listing = narrow_ ? ReadNarrowListing(bytes.data(), bytes.size()) : ReadWideListing(bytes.data(), bytes.size());
    return result;
}

int Plugin::GetFileToMemory(const HostPath& archive, uint32_t position, UniqueLocalBlock& block) const {
    block.reset();
    HLOCAL received = nullptr;
    const int result =
        narrow_ ? exports_.GetFile(archive.ansi.c_str(), static_cast<LONG_PTR>(position),
                                   reinterpret_cast<LPSTR>(&received), kOutputToMemory, ProgressCallback(), 0)
                : exports_.GetFileW(archive.wide.c_str(), static_cast<LONG_PTR>(position),
                                    reinterpret_cast<LPWSTR>(&received), kOutputToMemory, ProgressCallback(), 0);
    if (result == 0) block.reset(received);
    return result;
}

int Plugin::GetFileToFolder(const HostPath& archive, uint32_t position, const HostPath& folder) const {
    if (narrow_) {
        std::string destination = folder.ansi;  // the export takes a writable pointer
        return exports_.GetFile(archive.ansi.c_str(), static_cast<LONG_PTR>(position), destination.data(), 0,
                                ProgressCallback(), 0);
    }
    std::wstring destination = folder.wide;
    return exports_.GetFileW(archive.wide.c_str(), static_cast<LONG_PTR>(position), destination.data(), 0,
                             ProgressCallback(), 0);
}

}  // namespace quarn::spihost
