// tar-double: plays the archive tool from scenario files beside itself.
//   tf / tvf: A.tf / A.tvf to standard output, A.tf.err / A.tvf.err to
//             standard error;
//   xf:       each named member copied from the folder A.xf into -C's folder;
//   always:   the command line appended to log.txt, A.delay waited out, and
//             A.exit's code given back.
// An archive without any scenario file is answered as the tool answers a
// file that is no archive.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/doubles/tar-double/call_log.h"
#include "tests/doubles/tar-double/extraction.h"
#include "tests/doubles/tar-double/scenario.h"
#include "tools/common/command_line.h"
#include "tools/common/program_path.h"
#include "tools/common/standard_streams.h"
#include "tools/common/tar_arguments.h"

namespace quarn {
namespace {

constexpr int kFailure = 1;

// Messages go out in the ANSI code page, as the Windows tool prints them.
void WriteMessage(const std::wstring& message) {
    std::wstring line = L"tar.exe: " + message + L"\r\n";
    int units = static_cast<int>(line.size());
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, line.data(), units, nullptr, 0, nullptr, nullptr);
    std::string narrow(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, line.data(), units, narrow.data(), bytes, nullptr, nullptr);
    }
    WriteToStandard(STD_ERROR_HANDLE, narrow);
}

void PlayListing(const Scenario& scenario, bool verbose) {
    WriteToStandard(STD_OUTPUT_HANDLE, scenario.Bytes(verbose ? L"tvf" : L"tf"));
    WriteToStandard(STD_ERROR_HANDLE, scenario.Bytes(verbose ? L"tvf.err" : L"tf.err"));
}

int PlayExtraction(const Scenario& scenario, const TarArguments& arguments, int exitCode) {
    std::wstring source = scenario.PathOf(L"xf");
    if (::GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES) return exitCode;
    std::wstring target = arguments.directory.empty() ? L"." : arguments.directory;
    for (const std::wstring& member : arguments.operands) {
        if (!ExtractMember(source, target, member)) {
            WriteMessage(member + L": Not found in archive");
            exitCode = kFailure;
        }
    }
    return exitCode;
}

int Run() {
    std::wstring folder = ProgramFolder();
    AppendToCallLog(folder + L"\\log.txt", ::GetCommandLineW());

    std::vector<std::wstring> words = SplitCommandLine(::GetCommandLineW(), ProgramPath());
    words.erase(words.begin());
    TarArguments arguments = ReadTarArguments(words);
    Scenario scenario(folder, arguments.archive);
    if (!scenario.Exists()) {
        WriteMessage(L"Error opening archive: Unrecognized archive format");
        return kFailure;
    }
    ::Sleep(scenario.DelayMilliseconds());
    int exitCode = scenario.ExitCode();
    if (HasLetter(arguments, L'x')) return PlayExtraction(scenario, arguments, exitCode);
    if (HasLetter(arguments, L't')) PlayListing(scenario, HasLetter(arguments, L'v'));
    return exitCode;
}

}  // namespace
}  // namespace quarn

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return quarn::Run(); }
