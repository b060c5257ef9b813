// bsdtar's output turned into what the Windows tool prints.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// A path given on the command line, in both forms, UTF-8.
struct PathForms {
    std::string unixForm;
    std::string windowsForm;
};

// From bsdtar's UTF-8 to `codePage`, where characters the code page lacks
// become its default character, and LF line ends become CR LF.
std::string WindowsToolText(std::string_view bsdtarText, UINT codePage);

// The same for bsdtar's messages, which also begin with its own name, here
// "tar.exe: " as the Windows tool has it, and name the paths it was given
// ("Failed to open '...'"): those are put back in the form the caller used.
std::string WindowsToolMessages(std::string_view bsdtarText, UINT codePage,
                                const std::vector<PathForms>& paths);

}  // namespace quarn
