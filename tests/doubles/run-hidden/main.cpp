// run-hidden [--repeat N] OUT ERR COMMAND-LINE|@FILE
//
// Starts COMMAND-LINE as the plug-in starts the archive tool: hidden
// (CREATE_NO_WINDOW), standard input null, standard output into the file OUT,
// standard error into the file ERR, or null for "-", or into OUT itself for
// "=". Waits, then prints the exit code and how long the run took.
// @FILE reads the command line from a UTF-8 file instead: Wine builds this
// program's own command line in the Unix locale's code page, which under the
// C locale loses every character outside ASCII.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "plugin/unique_handles.h"
#include "tools/common/command_line.h"
#include "tools/common/utf8.h"
#include "tools/common/whole_file.h"

namespace quarn {
namespace {

UniqueFile CreateCapture(const std::wstring& path) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    return UniqueFile(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

struct Outcome {
    DWORD exitCode = 0;
    double milliseconds = 0;
};

bool RunOnce(const std::wstring& output, const std::wstring& error, std::wstring commandLine,
             Outcome& outcome) {
    UniqueFile outputFile = CreateCapture(output);
    if (!outputFile) return false;
    UniqueFile errorFile;
    HANDLE errorHandle = nullptr;
    if (error == L"=") {
        errorHandle = outputFile.get();
    } else if (error != L"-") {
        errorFile = CreateCapture(error);
        if (!errorFile) return false;
        errorHandle = errorFile.get();
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = outputFile.get();
    startup.hStdError = errorHandle;
    PROCESS_INFORMATION started{};
    LARGE_INTEGER frequency, begin, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&begin);
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &startup, &started)) {
        std::fprintf(stderr, "CreateProcessW failed: %lu\n", ::GetLastError());
        return false;
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    ::QueryPerformanceCounter(&end);
    ::GetExitCodeProcess(process.get(), &outcome.exitCode);
    outcome.milliseconds = 1000.0 * (end.QuadPart - begin.QuadPart) / frequency.QuadPart;
    return true;
}

int Run() {
    std::vector<std::wstring> arguments = SplitCommandLine(::GetCommandLineW());
    size_t next = 1;
    int repeat = 1;
    if (arguments.size() > next + 1 && arguments[next] == L"--repeat") {
        repeat = _wtoi(arguments[next + 1].c_str());
        next += 2;
    }
    if (arguments.size() != next + 3 || repeat < 1) {
        std::fprintf(stderr, "usage: run-hidden [--repeat N] OUT ERR|-|= COMMAND-LINE|@FILE\n");
        return 2;
    }
    std::wstring commandLine = arguments[next + 2];
    if (!commandLine.empty() && commandLine[0] == L'@') {
        std::string bytes;
        if (!ReadWholeFile(commandLine.substr(1), bytes)) {
            std::fprintf(stderr, "cannot read the command line file\n");
            return 2;
        }
        while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.pop_back();
        commandLine = WideFromUtf8(bytes);
    }
    double total = 0;
    double fastest = 1e30;
    Outcome outcome;
    for (int i = 0; i < repeat; ++i) {
        if (!RunOnce(arguments[next], arguments[next + 1], commandLine, outcome)) return 2;
        total += outcome.milliseconds;
        if (outcome.milliseconds < fastest) fastest = outcome.milliseconds;
    }
    std::printf("exit %lu, %d run(s), %.1f ms each on average, fastest %.1f ms\n",
                outcome.exitCode, repeat, total / repeat, fastest);
    return 0;
}

}  // namespace
}  // namespace quarn

int main() { return quarn::Run(); }
