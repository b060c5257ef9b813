// The shell script that runs bsdtar on the Unix side. Wine gives no usable
// handle to a Unix child, so the script itself leaves the streams in files
// and, last, the exit code in a marker that appears whole by a rename.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// File names relative to the folder the shell starts in.
struct ScriptFiles {
    std::string output;
    std::string error;
    std::string exitPart;  // the marker while it is being written
    std::string exit;
    std::string pid;  // the shell's process id, written first
};

// `text` as one word for /bin/sh, taken literally.
std::string QuoteForShell(std::string_view text);

// `bsdtarArguments` are UTF-8 (paths already in Unix form).
std::string BuildShellScript(const std::vector<std::string>& bsdtarArguments,
                             const ScriptFiles& files);

}  // namespace quarn
