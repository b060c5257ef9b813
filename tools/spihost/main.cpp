// spihost: loads a Susie archive plug-in and drives it as a viewer does.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "tools/spihost/arguments.h"
#include "tools/spihost/commands.h"
#include "tools/spihost/local_block.h"
#include "tools/spihost/output.h"
#include "tools/spihost/text.h"

namespace {

using namespace quarn::spihost;

// The words after the program's name, in UTF-16 whatever the code page.
std::vector<std::wstring> CommandLineWords() {
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const UniqueLocalBlock owner(reinterpret_cast<HLOCAL>(words));
    std::vector<std::wstring> result;
    for (int i = 1; words != nullptr && i < count; ++i) result.emplace_back(words[i]);
    return result;
}

int Run(const Arguments& arguments) {
    switch (arguments.command) {
        case Command::Help: WriteOutput(UsageText()); return kExitSuccess;
        case Command::Info: return RunInfo(arguments);
        case Command::Supported: return RunSupported(arguments);
        case Command::List: return RunList(arguments);
        case Command::Extract: return RunExtract(arguments);
    }
    return kExitUsage;
}

}  // namespace

int main() {
    // A plug-in that fails to find a dependency must not stop on a dialog.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    const ParsedArguments parsed = ParseArguments(CommandLineWords());
    if (!parsed.ok) {
        ReportError(Utf8FromWide(parsed.error));
        ReportError("try spihost --help");
        return kExitUsage;
    }
    const int status = Run(parsed.arguments);
    if (status == kExitSuccess && OutputFailed()) {
        ReportError("cannot write to standard output");
        return kExitFailure;
    }
    return status;
}
