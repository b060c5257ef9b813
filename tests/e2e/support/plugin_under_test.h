// The built plug-in as a host meets it: a copy in a plug-in folder of its own
// with quarn.ini beside it, the tool double as the configured tool, loaded
// with LoadLibraryW and reached only through the exports it names.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plugin/records.h"
#include "tests/e2e/support/tool_double.h"
#include "tests/support/temp_folder.h"

namespace quarn::e2e {

// The exports as a host declares them.
using GetPluginInfoProc = int(WINAPI*)(int infono, LPSTR buf, int buflen);
using GetPluginInfoWProc = int(WINAPI*)(int infono, LPWSTR buf, int buflen);
using IsSupportedProc = int(WINAPI*)(LPCSTR filename, DWORD_PTR dw);
using IsSupportedWProc = int(WINAPI*)(LPCWSTR filename, DWORD_PTR dw);
using GetArchiveInfoProc = int(WINAPI*)(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf);
using GetArchiveInfoWProc = int(WINAPI*)(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf);
using GetFileInfoProc = int(WINAPI*)(LPCSTR buf, LONG_PTR len, LPCSTR filename, unsigned int flag,
                                     fileInfo* lpInfo);
using GetFileInfoWProc = int(WINAPI*)(LPCWSTR buf, LONG_PTR len, LPCWSTR filename, unsigned int flag,
                                      fileInfoW* lpInfo);
using ProgressCallback = int(WINAPI*)(int nNum, int nDenom, LONG_PTR lData);
using GetFileProc = int(WINAPI*)(LPCSTR src, LONG_PTR len, LPSTR dest, unsigned int flag,
                                 FARPROC progressCallback, LONG_PTR lData);
using GetFileWProc = int(WINAPI*)(LPCWSTR src, LONG_PTR len, LPWSTR dest, unsigned int flag,
                                  FARPROC progressCallback, LONG_PTR lData);

struct PluginExports {
    GetPluginInfoProc GetPluginInfo = nullptr;
    GetPluginInfoWProc GetPluginInfoW = nullptr;
    IsSupportedProc IsSupported = nullptr;
    IsSupportedWProc IsSupportedW = nullptr;
    GetArchiveInfoProc GetArchiveInfo = nullptr;
    GetArchiveInfoWProc GetArchiveInfoW = nullptr;
    GetFileInfoProc GetFileInfo = nullptr;
    GetFileInfoWProc GetFileInfoW = nullptr;
    // Null when the loaded build does not export them (yet).
    GetFileProc GetFile = nullptr;
    GetFileWProc GetFileW = nullptr;
};

// The [UserSetting] keys written to quarn.ini; a key left empty here is left
// out of the file.
struct PluginSettings {
    std::optional<std::wstring> dir;  // the fixture's tool folder when not given
    std::optional<std::wstring> maxMB;
    std::optional<std::wstring> ext;
};

// Last-write time given to archives unless a test says otherwise:
// 2023-11-14 22:13:20 UTC.
constexpr int64_t kArchiveTime = 1700000000;
// Bytes of an archive file: the plug-in reads only that eight are there.
constexpr char kArchiveBytes[] = "archive bytes for the tool double";

class PluginUnderTest {
public:
    struct Options {
        // Points %TEMP% (and so the plug-in's work folder) at a folder of this
        // fixture for its lifetime, so what is left there is this test's alone.
        // A child process of a test keeps the temporary folder it inherited.
        bool privateTemp = true;
        // A tool folder set up by another process, used as it is; empty: a
        // folder of this fixture with a fresh copy of the double.
        std::wstring sharedToolFolder;
    };

    PluginUnderTest();
    explicit PluginUnderTest(const Options& options);
    ~PluginUnderTest();
    PluginUnderTest(const PluginUnderTest&) = delete;
    PluginUnderTest& operator=(const PluginUnderTest&) = delete;

    // True once folders, settings and double are in place and the copy is
    // loaded with all eight query exports; `error()` says what failed.
    bool loaded() const { return module_ != nullptr && error().empty(); }
    std::string error() const;

    const PluginExports* operator->() const { return &exports_; }
    const PluginExports& exports() const { return exports_; }
    HMODULE module() const { return module_; }

    // Loads the copy (again) and resolves the exports, false when it cannot
    // be loaded or lacks one of the eight; Unload frees it.
    bool Load();
    void Unload();

    ToolDouble& tool() { return *tool_; }
    const ToolDouble& tool() const { return *tool_; }
    const std::wstring& root() const { return root_.path(); }
    std::wstring pluginPath() const { return root_ / L"plugin\\quarn.spi"; }
    std::wstring settingsPath() const { return root_ / L"plugin\\quarn.ini"; }

    // Rewrites quarn.ini; the plug-in reads it afresh at every use.
    void WriteSettings(const PluginSettings& settings) const;
    void WriteSettingsText(const std::wstring& text) const;

    // An archive file in this fixture's archive folder, last written at
    // `lastWrite` (Unix seconds); returns its path.
    std::wstring WriteArchive(const std::wstring& name, const std::string& bytes = kArchiveBytes,
                              int64_t lastWrite = kArchiveTime) const;
    std::wstring ArchivePath(const std::wstring& name) const { return root_ / (L"archives\\" + name); }
    // A folder of this fixture for files a test has the plug-in write.
    std::wstring OutputFolder() const;

    // The plug-in's work folder, %TEMP%\quarn, and the names of what is in it.
    static std::wstring WorkFolder();
    static std::vector<std::wstring> WorkFolderEntries();

private:
    class TemporaryFolderRedirect;

    test::TempFolder root_;
    std::unique_ptr<TemporaryFolderRedirect> temp_;
    std::unique_ptr<ToolDouble> tool_;
    HMODULE module_ = nullptr;
    PluginExports exports_;
    std::string setupError_;
    std::string loadError_;
};

// Sets a process environment variable for a scope, restoring the old value
// (or its absence) afterwards; child processes started meanwhile inherit it.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(std::wstring name, const std::wstring& value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    std::wstring name_;
    std::optional<std::wstring> previous_;
};

// Reads a process environment variable; nullopt when it is not set.
std::optional<std::wstring> EnvironmentVariable(const std::wstring& name);

// Unix seconds as a FILETIME, and the last-write time of a file so.
FILETIME FileTimeFromUnix(int64_t seconds);
bool SetLastWriteTime(const std::wstring& path, int64_t seconds);

}  // namespace quarn::e2e
