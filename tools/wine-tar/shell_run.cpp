#include "tools/wine-tar/shell_run.h"

#include <windows.h>

#include <string>

#include "plugin/unique_handles.h"
#include "tools/common/whole_file.h"
#include "tools/wine-tar/unix_paths.h"

namespace quarn {
namespace {

bool StartShell(const WorkFiles& files) {
    std::wstring shell;
    if (!WindowsPathFromUnix("/bin/sh", shell)) return false;
    // The script's name is plain ASCII and the shell starts in its folder, so
    // the command line needs no quoting and survives any Unix code page.
    std::wstring commandLine = L"sh " + files.ScriptName();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION process{};
    // No CREATE_NO_WINDOW: with it Wine does not hand the standard handles to
    // a Unix child. The script redirects everything itself anyway.
    if (!::CreateProcessW(shell.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, files.Folder().c_str(), &startup, &process)) {
        return false;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    return true;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The marker appears by a rename, so once it is there it is whole.
void WaitForMarker(const std::wstring& marker) {
    // bsdtar answers a listing in a few milliseconds: poll closely at first.
    for (int polls = 0; !Exists(marker); ++polls) ::Sleep(polls < 200 ? 1 : 10);
}

int ParseExitCode(const std::string& text) {
    int code = 0;
    size_t at = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && code < 100000) {
        code = code * 10 + (text[at++] - '0');
    }
    return at == 0 ? 1 : code;
}

}  // namespace

bool RunShellScript(const WorkFiles& files, int& exitCode) {
    if (!StartShell(files)) return false;
    WaitForMarker(files.Exit());
    std::string marker;
    ReadWholeFile(files.Exit(), marker);
    exitCode = ParseExitCode(marker);
    return true;
}

}  // namespace quarn
