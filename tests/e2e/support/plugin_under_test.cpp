#include "tests/e2e/support/plugin_under_test.h"

#include <type_traits>

#include "plugin/unique_handles.h"
#include "tests/e2e/support/build_outputs.h"
#include "tests/support/folder_contents.h"

namespace quarn::e2e {
namespace {

using test::Utf8;

std::string LastErrorText(const char* what) {
    return std::string(what) + " (error " + std::to_string(::GetLastError()) + ")";
}

template <typename Proc>
Proc ExportNamed(HMODULE module, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

// %TMP% and %TEMP% both, since either may be the one the system reads first.
class PluginUnderTest::TemporaryFolderRedirect {
public:
    explicit TemporaryFolderRedirect(const std::wstring& folder) : tmp_(L"TMP", folder), temp_(L"TEMP", folder) {}

private:
    ScopedEnvironmentVariable tmp_;
    ScopedEnvironmentVariable temp_;
};

PluginUnderTest::PluginUnderTest() : PluginUnderTest(Options{}) {}

PluginUnderTest::PluginUnderTest(const Options& options) {
    if (options.privateTemp) {
        const std::wstring temp = root_ / L"temp";
        ::CreateDirectoryW(temp.c_str(), nullptr);
        temp_ = std::make_unique<TemporaryFolderRedirect>(temp);
    }
    const bool shared = !options.sharedToolFolder.empty();
    tool_ = std::make_unique<ToolDouble>(shared ? options.sharedToolFolder : root_ / L"tool", !shared);
    if (!tool_->ready()) setupError_ += tool_->error() + "; ";

    ::CreateDirectoryW((root_ / L"plugin").c_str(), nullptr);
    ::CreateDirectoryW((root_ / L"archives").c_str(), nullptr);
    if (!::CopyFileW(BuiltPlugin().c_str(), pluginPath().c_str(), FALSE)) {
        setupError_ += LastErrorText(("cannot copy the plug-in from " + Utf8(BuiltPlugin())).c_str()) + "; ";
    }
    WriteSettings({});
    Load();
}

PluginUnderTest::~PluginUnderTest() { Unload(); }

std::string PluginUnderTest::error() const { return setupError_ + loadError_; }

bool PluginUnderTest::Load() {
    if (module_ != nullptr) return true;
    loadError_.clear();
    module_ = ::LoadLibraryW(pluginPath().c_str());
    if (module_ == nullptr) {
        loadError_ = LastErrorText(("LoadLibraryW of " + Utf8(pluginPath()) + " failed").c_str());
        return false;
    }
    exports_ = PluginExports{};
    const auto require = [&](auto& slot, const char* name) {
        slot = ExportNamed<std::remove_reference_t<decltype(slot)>>(module_, name);
        if (slot == nullptr) loadError_ += std::string("export ") + name + " missing; ";
    };
    require(exports_.GetPluginInfo, "GetPluginInfo");
    require(exports_.GetPluginInfoW, "GetPluginInfoW");
    require(exports_.IsSupported, "IsSupported");
    require(exports_.IsSupportedW, "IsSupportedW");
    require(exports_.GetArchiveInfo, "GetArchiveInfo");
    require(exports_.GetArchiveInfoW, "GetArchiveInfoW");
    require(exports_.GetFileInfo, "GetFileInfo");
    require(exports_.GetFileInfoW, "GetFileInfoW");
    exports_.GetFile = ExportNamed<GetFileProc>(module_, "GetFile");
    exports_.GetFileW = ExportNamed<GetFileWProc>(module_, "GetFileW");
    return loadError_.empty();
}

void PluginUnderTest::Unload() {
    if (module_ == nullptr) return;
    ::FreeLibrary(module_);
    module_ = nullptr;
    exports_ = PluginExports{};
}

void PluginUnderTest::WriteSettings(const PluginSettings& settings) const {
    std::wstring text = L"[UserSetting]\r\n";
    text += L"dir=" + settings.dir.value_or(tool_->folder()) + L"\r\n";
    if (settings.maxMB) text += L"maxMB=" + *settings.maxMB + L"\r\n";
    if (settings.ext) text += L"ext=" + *settings.ext + L"\r\n";
    WriteSettingsText(text);
}

void PluginUnderTest::WriteSettingsText(const std::wstring& text) const {
    // UTF-16 with its byte-order mark: the profile reader takes any character
    // so, whatever the ANSI code page.
    std::string bytes = "\xFF\xFE";
    for (wchar_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    test::WriteFileBytes(settingsPath(), bytes);
}

std::wstring PluginUnderTest::WriteArchive(const std::wstring& name, const std::string& bytes,
                                           int64_t lastWrite) const {
    const std::wstring path = ArchivePath(name);
    test::WriteFileBytes(path, bytes);
    SetLastWriteTime(path, lastWrite);
    return path;
}

std::wstring PluginUnderTest::OutputFolder() const {
    const std::wstring folder = root_ / L"output";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring PluginUnderTest::WorkFolder() {
    wchar_t temp[MAX_PATH];
    DWORD length = ::GetTempPathW(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(temp) + L"quarn";
}

std::vector<std::wstring> PluginUnderTest::WorkFolderEntries() { return test::NamesIn(WorkFolder()); }

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::wstring name, const std::wstring& value)
    : name_(std::move(name)), previous_(EnvironmentVariable(name_)) {
    ::SetEnvironmentVariableW(name_.c_str(), value.c_str());
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
    ::SetEnvironmentVariableW(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}

std::optional<std::wstring> EnvironmentVariable(const std::wstring& name) {
    DWORD units = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (units == 0) return std::nullopt;
    std::wstring value(units, L'\0');
    units = ::GetEnvironmentVariableW(name.c_str(), &value[0], units);
    value.resize(units);
    return value;
}

FILETIME FileTimeFromUnix(int64_t seconds) {
    const uint64_t ticks = static_cast<uint64_t>(seconds * 10000000LL + 116444736000000000LL);
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

bool SetLastWriteTime(const std::wstring& path, int64_t seconds) {
    UniqueFile file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const FILETIME time = FileTimeFromUnix(seconds);
    return file && ::SetFileTime(file.get(), nullptr, nullptr, &time);
}

}  // namespace quarn::e2e
