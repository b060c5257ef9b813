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

int ParseExitCode(const std::string& text);

// Whether the shell that wrote `pidFile` is still running. Wine starts a Unix
// program detached, so a shell that has ended leaves no entry in /proc. A
// shell that has not written its id yet counts as running.
bool ShellRunning(const std::wstring& pidFile) {
    std::string pid;
    if (!ReadWholeFile(pidFile, pid) || pid.empty() || pid[0] < '0' || pid[0] > '9') return true;
    std::wstring process;
    return !WindowsPathFromUnix("/proc/" + std::to_string(ParseExitCode(pid)), process) || Exists(process);
}

// The marker appears by a rename, so once it is there it is whole. False
// when the shell ended without writing it (killed, or out of resources):
// waiting on would never end.
bool WaitForMarker(const WorkFiles& files) {
    // bsdtar answers a listing in a few milliseconds: poll closely at first.
    for (int polls = 0; !Exists(files.Exit()); ++polls) {
        ::Sleep(polls < 200 ? 1 : 10);
        if (polls % 50 == 49 && !ShellRunning(files.Pid())) return Exists(files.Exit());
    }
    return true;
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
    if (!WaitForMarker(files)) return false;
    std::string marker;
    ReadWholeFile(files.Exit(), marker);
    exitCode = ParseExitCode(marker);
    return true;
}

}  // namespace quarn
