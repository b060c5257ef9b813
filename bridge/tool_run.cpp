#include "bridge/tool_run.h"

#include <vector>

#include "plugin/unique_handles.h"

namespace quarn {

bool RunTool(const std::wstring& commandLine, HANDLE capture, ErrorStream errors, DWORD* exitCode) {
    // CreateProcessW may write into the command line: it needs its own copy.
    std::vector<wchar_t> command(commandLine.begin(), commandLine.end());
    command.push_back(L'\0');

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;
    startup.hStdOutput = capture;
    startup.hStdError = errors == ErrorStream::IntoCapture ? capture : nullptr;

    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessW(nullptr, command.data(), &inheritable, &inheritable, TRUE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &startup, &started)) {
        return false;
    }
    UniqueHandle thread(started.hThread);
    UniqueHandle process(started.hProcess);
    ::WaitForSingleObject(process.get(), INFINITE);
    if (exitCode != nullptr && !::GetExitCodeProcess(process.get(), exitCode)) *exitCode = STILL_ACTIVE;
    return true;
}

}  // namespace quarn
