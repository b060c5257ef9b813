// tar.exe for Wine: takes the Windows tool's command line, runs the system's
// bsdtar on the Unix side, and hands back its output, messages and exit code
// as the Windows tool would give them.
#include <windows.h>

#include <string>
#include <vector>

#include "tools/common/command_line.h"
#include "tools/common/program_path.h"
#include "tools/common/standard_streams.h"
#include "tools/common/tar_arguments.h"
#include "tools/common/utf8.h"
#include "tools/common/whole_file.h"
#include "tools/wine-tar/relay.h"
#include "tools/wine-tar/shell_run.h"
#include "tools/wine-tar/unix_paths.h"
#include "tools/wine-tar/work_files.h"

namespace quarn {
namespace {

constexpr int kFailure = 1;

int Fail(const std::string& message) {
    WriteToStandard(STD_ERROR_HANDLE, "tar.exe: " + message + "\r\n");
    return kFailure;
}

// Each argument in UTF-8, with the Windows path inside it in Unix form; each
// path turned goes into `paths`. A path Wine cannot map goes as it is, for
// bsdtar to report.
std::vector<std::string> BsdtarArguments(const std::vector<std::wstring>& arguments,
                                         std::vector<PathForms>& paths) {
    TarArguments read = ReadTarArguments(arguments);
    std::vector<std::string> converted;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        size_t start = read.pathStarts[i];
        std::string unixPath;
        if (start != kNoPath && UnixPathFromWindows(argument.substr(start), unixPath)) {
            converted.push_back(Utf8FromWide(argument.substr(0, start)) + unixPath);
            paths.push_back({unixPath, Utf8FromWide(argument.substr(start))});
        } else {
            converted.push_back(Utf8FromWide(argument));
        }
    }
    return converted;
}

// The Windows tool writes a member whose name holds a character Windows
// forbids in file names as "_" in its place; bsdtar on the Unix side would
// keep it, and the file would then not be where a Windows caller looks.
// The substitution goes right after the first argument's values
// ("xf archive"), where bsdtar still reads options.
void ReplaceForbiddenCharactersOnExtraction(const std::vector<std::wstring>& arguments,
                                            std::vector<std::string>& converted) {
    TarArguments read = ReadTarArguments(arguments);
    if (!HasLetter(read, L'x') || arguments.empty() || arguments[0].empty() || arguments[0][0] == L'-') return;
    size_t values = 0;
    for (wchar_t letter : arguments[0]) values += (letter == L'f' || letter == L'C') ? 1 : 0;
    size_t at = 1 + values < converted.size() ? 1 + values : converted.size();
    converted.insert(converted.begin() + static_cast<std::ptrdiff_t>(at), {"-s", ",[*?:\"<>|],_,g"});
}

// A missing capture is an empty one: bsdtar said nothing there.
std::string Captured(const std::wstring& path) {
    std::string text;
    ReadWholeFile(path, text);
    return text;
}

int Run() {
    if (!CanConvertUnixPaths()) return Fail("bsdtar can only be run under Wine");
    std::vector<std::wstring> arguments = SplitCommandLine(::GetCommandLineW(), ProgramPath());
    arguments.erase(arguments.begin());

    WorkFiles files;
    if (!files.Create()) return Fail("cannot create work files in the temp folder");
    std::vector<PathForms> paths;
    std::vector<std::string> bsdtarArguments = BsdtarArguments(arguments, paths);
    ReplaceForbiddenCharactersOnExtraction(arguments, bsdtarArguments);
    std::string script = BuildShellScript(bsdtarArguments, files.ForScript());
    if (!WriteWholeFile(files.Script(), script)) {
        return Fail("cannot write work files in the temp folder");
    }

    int exitCode = kFailure;
    if (!RunShellScript(files, exitCode)) return Fail("/bin/sh running bsdtar could not start or ended early");
    // Output first, then messages, each whole: a parent that captures both in
    // one file gets whole lines, never a message inside a listed name.
    UINT codePage = ::GetACP();
    WriteToStandard(STD_OUTPUT_HANDLE, WindowsToolText(Captured(files.Output()), codePage));
    WriteToStandard(STD_ERROR_HANDLE, WindowsToolMessages(Captured(files.Error()), codePage, paths));
    return exitCode;
}

}  // namespace
}  // namespace quarn

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return quarn::Run(); }
